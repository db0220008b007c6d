// Shared by the settings and match tests: a fresh working directory per test,
// raw file access, and a clean slate for the headless dialogs.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "shell/platform/headless/headless.h"
#include "shell/platform/platform.h"

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

// Forgets every answer still queued and every box recorded, using only the
// dialog controls of the headless backend.
inline void ForgetDialogs() {
    while (platform::headless::PendingMessageBoxAnswers() > 0) {
        platform::MessageBox(nullptr, "", "", platform::MB_OK);
    }
    platform::headless::TakeShownMessageBoxes();
    platform::headless::TakeUnscriptedMessageBox();
}

// Each test runs in its own empty working directory, removed afterwards, and
// must answer every dialog it causes.
class FileTest : public testing::Test {
protected:
    void SetUp() override {
        ForgetDialogs();
        previous_ = std::filesystem::current_path();
        std::string pattern = (std::filesystem::temp_directory_path() / "wolby-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        directory_ = pattern;
        std::filesystem::current_path(directory_);
    }

    void TearDown() override {
        EXPECT_FALSE(platform::headless::TakeUnscriptedMessageBox()) << "a dialog nobody answered";
        EXPECT_EQ(platform::headless::PendingMessageBoxAnswers(), 0)
            << "an expected dialog never came";
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
    }

    std::filesystem::path previous_;
    std::filesystem::path directory_;
};

}  // namespace test_support
