// Shared by the settings and match tests: a fresh working directory per test,
// raw file access, and scripted dialogs.
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
#include <fstream>
#include <iterator>
#include <functional>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "tests/support/scripted_dialogs.h"

namespace test_support {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

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
        const bool saved = values.Save(dialogs);
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
        previous_ = std::filesystem::current_path();
        std::string pattern = (std::filesystem::temp_directory_path() / "wolby-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        directory_ = pattern;
        std::filesystem::current_path(directory_);
    }

    void TearDown() override {
        EXPECT_FALSE(dialogs.AskedUnscripted()) << "a dialog nobody answered";
        EXPECT_EQ(dialogs.PendingAnswers(), 0u) << "an expected dialog never came";
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
    }

    wolby_test::ScriptedDialogs dialogs;
    std::filesystem::path previous_;
    std::filesystem::path directory_;
};

}  // namespace test_support
