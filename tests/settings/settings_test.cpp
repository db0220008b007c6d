#include "settings/settings.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/text_mode.h"
#include "tests/settings/test_support.h"

namespace {

namespace fs = std::filesystem;
using test_support::Bytes;
using test_support::ReadFile;
using test_support::WriteFile;

struct Values {
    int colour1, colour2, size, seconds, humans;
    bool operator==(const Values&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Values& v) {
    return out << "(" << v.colour1 << ", " << v.colour2 << ", " << v.size << ", " << v.seconds
               << ", " << v.humans << ")";
}

Values Read(const Settings& s) {
    return {s.DiscColour(0), s.DiscColour(1), s.BoardSize(), s.MoveSeconds(), s.HumanPlayers()};
}

void Set(Settings& s, const Values& v) {
    s.discColour1 = static_cast<std::int8_t>(v.colour1);
    s.discColour2 = static_cast<std::int8_t>(v.colour2);
    s.boardSize = static_cast<std::int8_t>(v.size);
    s.moveSeconds = static_cast<std::int8_t>(v.seconds);
    s.humanPlayers = static_cast<std::int8_t>(v.humans);
}

constexpr Values kDefaults{1, 2, 6, 0, 2};
// Values no load should leave behind, so that a field the load forgot shows.
constexpr Values kStale{7, 7, 7, 7, 1};
const Bytes kTag{0x90, 0xE1, 0x40, 0x00};

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(SettingsTest, DiscColourTellsPlayerOneFromEveryOtherValue) {
    Settings s;
    Set(s, {3, 8, 6, 0, 2});
    EXPECT_EQ(s.DiscColour(0), 3);
    for (const std::int32_t player : {1, 2, 9, -1, INT_MIN, INT_MAX})
        EXPECT_EQ(s.DiscColour(player), 8);
}

TEST(SettingsTest, EveryCombinationInRangeSurvivesTheStoredImage) {
    Settings out, in;
    for (int c1 = 1; c1 <= 9; ++c1)
        for (int c2 = 1; c2 <= 9; ++c2)
            for (int size = 5; size <= 8; ++size)
                for (int seconds = 0; seconds <= 9; ++seconds)
                    for (int humans = 0; humans <= 2; ++humans) {
                        const Values v{c1, c2, size, seconds, humans};
                        Set(out, v);
                        Set(in, kStale);
                        const Bytes stored = EncodeTextMode(out.Image());
                        ASSERT_EQ(stored.size(), 12u) << v;
                        in.TakeImage(DecodeTextMode(stored, Settings::kImageSize));
                        ASSERT_EQ(Read(in), v);
                    }
}

class SettingsFileTest : public test_support::FileTest {};

TEST_F(SettingsFileTest, SaveWritesTheExactTwelveBytes) {
    WriteFile(Settings::kFileName, Bytes(40, 0x55));  // an older, longer file goes
    Settings s;
    Set(s, {3, 9, 8, 5, 1});
    ASSERT_TRUE(s.Save(dialogs));
    EXPECT_EQ(ReadFile(Settings::kFileName),
              (Bytes{0x90, 0xE1, 0x40, 0x00, 3, 9, 8, 5, 1, 0, 0, 0}));
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1)
        << "a temporary file was left behind";
    EXPECT_TRUE(dialogs.TakeShown().empty());
}

TEST_F(SettingsFileTest, SaveThenLoadThroughTheFileRestoresEveryValueOfEachField) {
    // Each field takes each of its values while the others cycle through theirs.
    std::vector<Values> cases;
    for (int i = 0; i < 9; ++i) cases.push_back({1 + i, 9 - i, 5 + i % 4, i % 10, i % 3});
    for (int i = 0; i < 9; ++i) cases.push_back({9 - i, 1 + i, 8 - i % 4, 9 - i, 2 - i % 3});
    for (int i = 0; i < 10; ++i) cases.push_back({1 + i % 9, 1, 5 + i % 4, i, i % 3});
    for (const Values& v : cases) {
        Settings out, in;
        Set(out, v);
        Set(in, kStale);
        ASSERT_TRUE(out.Save(dialogs));
        ASSERT_TRUE(in.Load(dialogs));
        EXPECT_EQ(Read(in), v);
    }
    EXPECT_TRUE(dialogs.TakeShown().empty());
}

struct HandWritten {
    const char* what;
    Bytes stored;
    Values expected;
};

TEST_F(SettingsFileTest, HandWrittenFilesLoadAsTextModeReadsThem) {
    const std::vector<HandWritten> files = {
        {"line feeds stored as pairs in the tag",
         Join({{0x0D, 0x0A, 0x0D, 0x0A, 0x0D, 0x0A, 0x0D, 0x0A}, {3, 4, 7, 5, 1, 0, 0, 0}}),
         {3, 4, 7, 5, 1}},
        {"lone returns are data bytes",
         Join({{0x0D, 0x0D, 0x0A, 0x0D, 0x0D}, {3, 4, 7, 5, 1}}),
         {3, 4, 7, 5, 1}},
        {"a field 10 stored as a pair reads as one byte (then held to 9)",
         Join({kTag, {0x0D, 0x0A, 4, 7, 5, 1, 0, 0, 0}}),
         {9, 4, 7, 5, 1}},
        {"end of file inside the fields",
         Join({kTag, {3, 4, 0x1A, 7, 5, 1, 0, 0, 0}}),
         {3, 4, 6, 0, 2}},
        {"end of file inside the tag", Join({{0x90, 0x1A, 0x40, 0x00}, {3, 4, 7, 5, 1}}),
         kDefaults},
        {"end of file in the padding", Join({kTag, {3, 4, 7, 5, 1, 0x1A, 9, 9}}), {3, 4, 7, 5, 1}},
        {"a foreign tag is ignored",
         Join({{'a', 'b', 'c', 'd'}, {3, 4, 7, 5, 1, 0, 0, 0}}),
         {3, 4, 7, 5, 1}},
        {"a short file", Join({kTag, {3, 4}}), {3, 4, 6, 0, 2}},
        {"a long file", Join({kTag, {3, 4, 7, 5, 1, 0, 0, 0}, Bytes(100, 2)}), {3, 4, 7, 5, 1}},
        {"an empty file", {}, kDefaults},
        {"values below their ranges",
         Join({kTag, {0, 0x80, 4, 0xFF, 0xFF, 0, 0, 0}}),
         {1, 1, 5, 0, 0}},
        {"values above their ranges",
         Join({kTag, {10, 0x7F, 9, 0x0A, 3, 0, 0, 0}}),
         {9, 9, 8, 9, 2}},
    };
    for (const HandWritten& file : files) {
        WriteFile(Settings::kFileName, file.stored);
        Settings s;
        Set(s, kStale);
        EXPECT_TRUE(s.Load(dialogs)) << file.what;
        EXPECT_EQ(Read(s), file.expected) << file.what;
        EXPECT_EQ(ReadFile(Settings::kFileName), file.stored) << "loading changed the file";
    }
    EXPECT_TRUE(dialogs.TakeShown().empty()) << "a damaged file is used without complaint";
}

void ExpectOneDialog(wolby_test::ScriptedDialogs& dialogs, const char* text, bool question) {
    const auto shown = dialogs.TakeShown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, text);
    EXPECT_EQ(shown[0].caption, settings_text::kCaption);
    EXPECT_EQ(shown[0].question, question);
}

TEST_F(SettingsFileTest, MissingFileAnsweredYesGivesTheDefaultsAndWritesNothing) {
    dialogs.Answer(true);
    Settings s;
    Set(s, kStale);
    EXPECT_TRUE(s.Load(dialogs));
    EXPECT_EQ(Read(s), kDefaults);
    ExpectOneDialog(dialogs, settings_text::kCannotOpen, true);
    EXPECT_FALSE(fs::exists(Settings::kFileName));
}

TEST_F(SettingsFileTest, MissingFileAnsweredNoFails) {
    dialogs.Answer(false);
    Settings s;
    EXPECT_FALSE(s.Load(dialogs));
    ExpectOneDialog(dialogs, settings_text::kCannotOpen, true);
}

TEST_F(SettingsFileTest, ADirectoryInPlaceOfTheFileCannotBeOpened) {
    fs::create_directory(Settings::kFileName);
    dialogs.Answer(false);
    Settings s;
    EXPECT_FALSE(s.Load(dialogs));
    ExpectOneDialog(dialogs, settings_text::kCannotOpen, true);
}

// The old file, as the original program wrote it.
const Bytes kOldFile{0x90, 0xE1, 0x40, 0x00, 4, 5, 7, 3, 1, 0, 0, 0};

void ExpectFailedSave(wolby_test::ScriptedDialogs& dialogs) {
    Settings s;
    Set(s, {9, 9, 5, 9, 0});
    EXPECT_FALSE(s.Save(dialogs));
    ExpectOneDialog(dialogs, settings_text::kCannotSave, false);
    EXPECT_EQ(Read(s), (Values{9, 9, 5, 9, 0})) << "the record in memory is unchanged";
}

TEST_F(SettingsFileTest, SaveThatCannotCreateItsFileKeepsTheOldOne) {
    WriteFile(Settings::kFileName, kOldFile);
    fs::create_directory(std::string(Settings::kFileName) + ".tmp");
    ExpectFailedSave(dialogs);
    EXPECT_EQ(ReadFile(Settings::kFileName), kOldFile);
}

TEST_F(SettingsFileTest, SaveThatCannotReplaceTheFileRemovesItsTemporary) {
    fs::create_directories(fs::path(Settings::kFileName) / "inside");
    ExpectFailedSave(dialogs);
    EXPECT_TRUE(fs::is_directory(fs::path(Settings::kFileName) / "inside"));
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1)
        << "the temporary file was left behind";
}

TEST_F(SettingsFileTest, SaveWhoseWriteFailsKeepsTheOldFile) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full to make a write fail";
    WriteFile(Settings::kFileName, kOldFile);
    // The temporary opens, but nothing can be written into it.
    fs::create_symlink("/dev/full", std::string(Settings::kFileName) + ".tmp");
    ExpectFailedSave(dialogs);
    EXPECT_EQ(ReadFile(Settings::kFileName), kOldFile);
    EXPECT_TRUE(fs::exists("/dev/full"));
    EXPECT_FALSE(fs::is_symlink(std::string(Settings::kFileName) + ".tmp"));
}

}  // namespace
