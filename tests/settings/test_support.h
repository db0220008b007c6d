// Shared by the settings and match tests: a fresh working directory per test,
// raw file access, and scripted dialogs.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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
