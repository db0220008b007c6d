// For the settings and match tests: a fresh working directory per test,
// scripted dialogs, and saves made as another user or under a limit.
#pragma once

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/work_folder.h"
#include "tests/support/platform_files.h"

namespace test_support {

// The names in a folder, sorted.
inline std::vector<std::string> Listing(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A player who is not root: root may write any file, whatever its mode.
constexpr uid_t kPlayer = 65534;  // nobody

// Makes this process act as a player: `kPlayer` when it runs as root, else
// the user it is. False when that cannot be done.
inline bool BecomePlayer() {
    if (geteuid() != 0) return true;
    return setgroups(0, nullptr) == 0 && setgid(kPlayer) == 0 && setuid(kPlayer) == 0;
}

// Outcomes of SaveInChild.
enum SaveOutcome { kSaved = 0, kRefused = 1, kOther = 2, kNotPrepared = 3, kBlocked = 4 };

// Saves `values` in a child process once `prepare` has set it up (a limit,
// another user), giving up after 5 seconds (a save that waits forever is
// kBlocked): kSaved when saved without a word, kRefused when refused with its
// one message.
inline SaveOutcome SaveInChild(const Settings& values, const std::function<bool()>& prepare) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        alarm(5);
        if (!prepare()) _exit(kNotPrepared);
        wolby_test::ScriptedDialogs dialogs;
        const bool saved = values.Save(wolby_test::kFiles, dialogs);
        const auto shown = dialogs.TakeShown();
        if (saved && shown.empty()) _exit(kSaved);
        if (!saved && shown.size() == 1 && shown[0].text == settings_text::kCannotSave) _exit(kRefused);
        _exit(kOther);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) return kBlocked;
    return WIFEXITED(status) ? static_cast<SaveOutcome>(WEXITSTATUS(status)) : kOther;
}

// Each test runs in its own empty working directory, removed afterwards, and
// must answer every dialog it causes.
class FileTest : public testing::Test {
protected:
    void SetUp() override {
        folder_.emplace("wolby");
        ASSERT_TRUE(folder_->Enter());
        directory_ = folder_->Path();
    }

    void TearDown() override {
        EXPECT_FALSE(dialogs.AskedUnscripted()) << "a dialog nobody answered";
        EXPECT_EQ(dialogs.PendingAnswers(), 0u) << "an expected dialog never came";
        folder_.reset();
    }

    wolby_test::ScriptedDialogs dialogs;
    std::filesystem::path directory_;

private:
    std::optional<wolby_test::WorkFolder> folder_;
};

}  // namespace test_support
