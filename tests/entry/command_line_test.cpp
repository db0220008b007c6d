#include "shell/entry/command_line.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace {

entry::CommandLine Read(std::initializer_list<const char*> arguments) {
    const std::vector<const char*> list(arguments);
    return entry::ReadCommandLine(list);
}

// The usage names every option the program takes.
void ExpectUsage(const std::string& text) {
    EXPECT_TRUE(text.starts_with("usage: wolby ")) << text;
    for (const char* option : {"--window", "--help", "--version"}) {
        EXPECT_NE(text.find(option), std::string::npos) << option << " missing from\n" << text;
    }
}

TEST(CommandLine, WithoutArgumentsOrWithWindowTheGameStartsSilently) {
    const entry::CommandLine plain = Read({});
    EXPECT_TRUE(plain.run);
    EXPECT_FALSE(plain.windowed);
    const entry::CommandLine windowed = Read({"--window"});
    EXPECT_TRUE(windowed.run);
    EXPECT_TRUE(windowed.windowed);
    const entry::CommandLine twice = Read({"--window", "--window"});
    EXPECT_TRUE(twice.run);
    EXPECT_TRUE(twice.windowed);
    for (const auto& line : {plain, windowed, twice}) {
        EXPECT_EQ(line.out, "");
        EXPECT_EQ(line.err, "");
    }
}

TEST(CommandLine, HelpGoesToStandardOutputWithStatusZero) {
    const entry::CommandLine line = Read({"--help"});
    EXPECT_FALSE(line.run);
    EXPECT_EQ(line.status, 0);
    ExpectUsage(line.out);
    EXPECT_EQ(line.err, "");
}

TEST(CommandLine, VersionIsTheProjectsVersionAndOneLineAboutTheGame) {
    const entry::CommandLine line = Read({"--version"});
    EXPECT_FALSE(line.run);
    EXPECT_EQ(line.status, 0);
    EXPECT_EQ(line.err, "");
    const std::string first = std::string("wolby ") + WOLBY_TEST_VERSION + "\n";
    ASSERT_TRUE(line.out.starts_with(first)) << line.out;
    const std::string about = line.out.substr(first.size());
    EXPECT_GT(about.size(), 10u);
    EXPECT_EQ(about.find('\n'), about.size() - 1) << "not exactly one more line: " << about;
}

TEST(CommandLine, AnythingElseIsRefusedWithTheUsageOnStandardErrorAndStatusTwo) {
    // Options match exactly: no abbreviations, no values, no single dash forms.
    for (const char* argument : {"--bogus", "-h", "--windows", "--window=1", "--help=x", "-", "--", ""}) {
        const entry::CommandLine line = Read({argument});
        EXPECT_FALSE(line.run) << argument;
        EXPECT_EQ(line.status, 2) << argument;
        EXPECT_EQ(line.out, "") << argument;
        EXPECT_NE(line.err.find(std::string("'") + argument + "'"), std::string::npos) << line.err;
        ExpectUsage(line.err.substr(line.err.find('\n') + 1));
    }
    EXPECT_TRUE(Read({"--bogus"}).err.starts_with("wolby: unknown option '--bogus'\n"));
    EXPECT_TRUE(Read({"board"}).err.starts_with("wolby: unexpected argument 'board'\n"));
}

TEST(CommandLine, TheFirstArgumentThatEndsTheProgramDecides) {
    const entry::CommandLine helpFirst = Read({"--window", "--help", "--bogus"});
    EXPECT_EQ(helpFirst.status, 0);
    EXPECT_EQ(helpFirst.err, "");
    ExpectUsage(helpFirst.out);

    const entry::CommandLine unknownFirst = Read({"--bogus", "--help"});
    EXPECT_EQ(unknownFirst.status, 2);
    EXPECT_EQ(unknownFirst.out, "");

    const entry::CommandLine versionFirst = Read({"--version", "--help"});
    EXPECT_EQ(versionFirst.status, 0);
    EXPECT_TRUE(versionFirst.out.starts_with("wolby ")) << versionFirst.out;

    // An unknown argument after --window still stops the game from starting.
    const entry::CommandLine windowThenUnknown = Read({"--window", "x"});
    EXPECT_FALSE(windowThenUnknown.run);
    EXPECT_EQ(windowThenUnknown.status, 2);
}

}  // namespace
