#include "settings/settings.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "settings/text_mode.h"
#include "tests/support/byte_file.h"
#include "tests/support/file_test.h"
#include "tests/support/platform_files.h"

namespace {

namespace fs = std::filesystem;
using wolby_test::Bytes;
using test_support::Listing;
using wolby_test::ReadBytes;
using wolby_test::WriteBytes;

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

// Line feeds as text mode stores them: each one two bytes.
Bytes LineFeedPairs(int count) {
    Bytes pairs;
    for (int i = 0; i < count; ++i) pairs.insert(pairs.end(), {0x0D, 0x0A});
    return pairs;
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

class SettingsFileTest : public test_support::FileTest {
protected:
    // A folder closed to writing is opened again, so that it can be removed.
    void TearDown() override {
        if (!lockedFolder_.empty()) fs::permissions(lockedFolder_, fs::perms::owner_all, fs::perm_options::add);
        test_support::FileTest::TearDown();
    }
    fs::path lockedFolder_;
};

TEST_F(SettingsFileTest, SaveWritesTheExactTwelveBytes) {
    ASSERT_TRUE(WriteBytes(Settings::kFileName, Bytes(40, 0x55)));  // an older, longer file goes
    Settings s;
    Set(s, {3, 9, 8, 5, 1});
    ASSERT_TRUE(s.Save(wolby_test::kFiles, dialogs));
    EXPECT_EQ(ReadBytes(Settings::kFileName),
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
        ASSERT_TRUE(out.Save(wolby_test::kFiles, dialogs));
        ASSERT_TRUE(in.Load(wolby_test::kFiles, dialogs));
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
        {"every byte before the last field a line feed stored as a pair (held to its range)",
         Join({LineFeedPairs(8), {1}, LineFeedPairs(3)}),
         {9, 9, 8, 9, 1}},
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
        ASSERT_TRUE(WriteBytes(Settings::kFileName, file.stored));
        Settings s;
        Set(s, kStale);
        EXPECT_TRUE(s.Load(wolby_test::kFiles, dialogs)) << file.what;
        EXPECT_EQ(Read(s), file.expected) << file.what;
        EXPECT_EQ(ReadBytes(Settings::kFileName), file.stored) << "loading changed the file";
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
    EXPECT_TRUE(s.Load(wolby_test::kFiles, dialogs));
    EXPECT_EQ(Read(s), kDefaults);
    ExpectOneDialog(dialogs, settings_text::kCannotOpen, true);
    EXPECT_FALSE(fs::exists(Settings::kFileName));
}

TEST_F(SettingsFileTest, MissingFileAnsweredNoFails) {
    dialogs.Answer(false);
    Settings s;
    EXPECT_FALSE(s.Load(wolby_test::kFiles, dialogs));
    ExpectOneDialog(dialogs, settings_text::kCannotOpen, true);
}

TEST_F(SettingsFileTest, ADirectoryInPlaceOfTheFileCannotBeOpened) {
    fs::create_directory(Settings::kFileName);
    dialogs.Answer(false);
    Settings s;
    EXPECT_FALSE(s.Load(wolby_test::kFiles, dialogs));
    ExpectOneDialog(dialogs, settings_text::kCannotOpen, true);
}

// A file from an earlier session, with no default among its values.
const Bytes kOldFile{0x90, 0xE1, 0x40, 0x00, 4, 5, 7, 3, 1, 0, 0, 0};
const Values kNext{9, 9, 5, 9, 0};
const Bytes kNextFile{0x90, 0xE1, 0x40, 0x00, 9, 9, 5, 9, 0, 0, 0, 0};

void ExpectFailedSave(wolby_test::ScriptedDialogs& dialogs) {
    Settings s;
    Set(s, kNext);
    EXPECT_FALSE(s.Save(wolby_test::kFiles, dialogs));
    ExpectOneDialog(dialogs, settings_text::kCannotSave, false);
    EXPECT_EQ(Read(s), kNext) << "the record in memory is unchanged";
}

// Saves kNext in a child process once `prepare` has set it up.
test_support::SaveOutcome SaveInChild(const std::function<bool()>& prepare) {
    Settings s;
    Set(s, kNext);
    return test_support::SaveInChild(s, prepare);
}

TEST_F(SettingsFileTest, SaveThatCannotReplaceTheFileRemovesItsTemporary) {
    fs::create_directories(fs::path(Settings::kFileName) / "inside");
    ExpectFailedSave(dialogs);
    EXPECT_TRUE(fs::is_directory(fs::path(Settings::kFileName) / "inside"));
    EXPECT_EQ(Listing("."), std::vector<std::string>{Settings::kFileName})
        << "the temporary file was left behind";
}

TEST_F(SettingsFileTest, SaveWhoseWriteFailsKeepsTheOldFile) {
    ASSERT_TRUE(WriteBytes(Settings::kFileName, kOldFile));
    // The temporary is created, but no more than 5 bytes can go into any file.
    const int status = SaveInChild([] {
        const rlimit limit{5, 5};
        std::signal(SIGXFSZ, SIG_IGN);
        return setrlimit(RLIMIT_FSIZE, &limit) == 0;
    });
    EXPECT_EQ(status, 1);
    EXPECT_EQ(ReadBytes(Settings::kFileName), kOldFile);
    EXPECT_EQ(Listing("."), std::vector<std::string>{Settings::kFileName});
}

TEST_F(SettingsFileTest, SaveThroughSymbolicLinksReplacesTheFileTheyLeadTo) {
    fs::create_directory("elsewhere");
    ASSERT_TRUE(WriteBytes("elsewhere/mine.dat", kOldFile));
    fs::create_symlink("elsewhere/mine.dat", "link");
    fs::create_symlink("link", Settings::kFileName);
    for (const bool fileThere : {true, false}) {
        SCOPED_TRACE(fileThere ? "over the file" : "a link to no file yet");
        if (!fileThere) fs::remove("elsewhere/mine.dat");
        Settings s;
        Set(s, kNext);
        ASSERT_TRUE(s.Save(wolby_test::kFiles, dialogs));
        EXPECT_EQ(fs::read_symlink(Settings::kFileName), "link");
        EXPECT_EQ(fs::read_symlink("link"), "elsewhere/mine.dat");
        EXPECT_EQ(ReadBytes("elsewhere/mine.dat"), kNextFile);
        EXPECT_EQ(Listing("elsewhere"), std::vector<std::string>{"mine.dat"});
        EXPECT_EQ(Listing("."), (std::vector<std::string>{"elsewhere", "link", Settings::kFileName}));
    }
    Settings loaded;
    ASSERT_TRUE(loaded.Load(wolby_test::kFiles, dialogs));
    EXPECT_EQ(Read(loaded), kNext);
    EXPECT_TRUE(dialogs.TakeShown().empty());
}

TEST_F(SettingsFileTest, SaveKeepsTheFilesModeAndOwner) {
    constexpr uid_t kOtherUser = 65534;  // nobody
    for (const fs::perms mode : {fs::perms::owner_read | fs::perms::owner_write,
                                 fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                     fs::perms::others_read | fs::perms::others_write}) {
        ASSERT_TRUE(WriteBytes(Settings::kFileName, kOldFile));
        fs::permissions(Settings::kFileName, mode);
        // Only root may give the file away; the owner is then kept as well.
        const bool givenAway = geteuid() == 0 && chown(Settings::kFileName, kOtherUser, kOtherUser) == 0;
        Settings s;
        Set(s, kNext);
        ASSERT_TRUE(s.Save(wolby_test::kFiles, dialogs));
        struct stat after {};
        ASSERT_EQ(stat(Settings::kFileName, &after), 0);
        EXPECT_EQ(fs::status(Settings::kFileName).permissions(), mode);
        if (givenAway) {
            EXPECT_EQ(after.st_uid, kOtherUser);
            EXPECT_EQ(after.st_gid, kOtherUser);
        }
        EXPECT_EQ(ReadBytes(Settings::kFileName), kNextFile);
        fs::remove(Settings::kFileName);
    }
}

// The player may write setting.dat but not its folder: no temporary can be made
// there, and the file is rewritten where it is. Run as a user who is not root
// (root may write any folder); a root test process lets a child become nobody.
TEST_F(SettingsFileTest, InAFolderThePlayerCannotWriteTheFileIsRewrittenInPlace) {
    using test_support::kPlayer;
    const bool root = geteuid() == 0;
    const fs::path folder = directory_ / "game";
    fs::create_directory(folder);
    const fs::path file = folder / Settings::kFileName;
    const auto asPlayer = [&folder] {
        if (!test_support::BecomePlayer()) return false;
        return chdir(folder.c_str()) == 0 && access(".", W_OK) != 0;
    };
    // Root's folders are open to nobody to enter, not to write; a player's own
    // folder is closed to writing by its mode.
    const fs::perms enter = fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec;
    fs::permissions(directory_, enter);
    fs::permissions(folder, root ? enter : fs::perms::owner_read | fs::perms::owner_exec);
    lockedFolder_ = folder;

    for (const bool writable : {true, false}) {
        SCOPED_TRACE(writable ? "a file the player may write" : "a file the player may not write");
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
        ASSERT_TRUE(WriteBytes(file, kOldFile));
        fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
        const fs::perms mode = writable ? fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read
                                        : fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
        fs::permissions(file, mode);
        if (root) {
            ASSERT_EQ(chown(file.c_str(), writable ? kPlayer : 0, writable ? kPlayer : 0), 0);
        }

        const int status = SaveInChild(asPlayer);
        if (status == 3) GTEST_SKIP() << "the test process cannot act as a player without write access to a folder";
        EXPECT_EQ(status, writable ? 0 : 1);
        EXPECT_EQ(ReadBytes(file), writable ? kNextFile : kOldFile);
        EXPECT_EQ(fs::status(file).permissions(), mode);
        EXPECT_EQ(Listing(folder), std::vector<std::string>{Settings::kFileName});
    }
}

}  // namespace
