// The program against a hostile disk: its settings file in a read-only
// directory, on a full disk, replaced by a directory, its save killed at every
// byte; its graphics sheet missing, empty, cut, too small, larger, no bitmap,
// or a FIFO, socket or device.
// Read-only and full file systems are real ones (a small tmpfs, remounted
// read-only) in a mount namespace of this process alone, so nothing stays
// mounted whatever happens; that needs root. Without it the read-only case
// falls back to a directory without write permission, and the full disk is
// skipped.
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iostream>

#include "platform/common/bitmap_file.h"
#include "platform/common/surface.h"
#include "screens/match.h"
#include "screens/program_state.h"
#include "screens/screen.h"
#include "screens/sheet.h"
#include "settings/settings.h"
#include "tests/support/program_fixture.h"
#include "tests/support/bmp_file.h"
#include "tests/support/byte_file.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/special_files.h"
#include "tests/support/settings_file.h"
#include "tests/support/clicks.h"
#include "tests/support/platform_files.h"

namespace wolby_test {
namespace {

namespace fs = std::filesystem;
namespace headless = platform::headless;
using wolby_test::Bytes;
using wolby_test::ReadBytes;
using wolby_test::WriteBytes;

const std::string kCaption = "B\xB3\xB9" "d";
const std::string kCannotSave = "Nie mo\xBFna zapisa\xE6 pliku z ustawieniami";
const std::string kCannotOpen =
    "Nie mo\xBFna otworzy\xE6 pliku z ustawieniami.\nCzy kontynuowa\xE6 z ustawieniami defaultowymi?";
const std::string kNoBitmap = "Nie mo\xBFna wczyta\xE6 bitmapy";

// Size 7, one human, 3 seconds, colours 4 and 5: no default among them.
const Bytes kOldFile = wolby_test::SettingsFile({4, 5, 7, 3, 1});

// The temporary files of saves in the current folder ("setting.dat", a unique
// part, ".tmp").
int Temporaries() {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(".")) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("setting.dat.", 0) == 0 && name.size() > 16 && name.substr(name.size() - 4) == ".tmp") ++count;
    }
    return count;
}

bool PrivateMounts() {
    static const bool ready = geteuid() == 0 && unshare(CLONE_NEWNS) == 0 &&
                              mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return ready;
}

bool MountTmpfs(const fs::path& at, const char* size) {
    fs::create_directories(at);
    const std::string options = std::string("size=") + size;
    return PrivateMounts() && mount("tmpfs", at.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

bool RemountReadOnly(const fs::path& at) {
    return mount(nullptr, at.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, "") == 0;
}

class Faults : public Program {
protected:
    void TearDown() override {
        fs::current_path(directory);
        if (!mounted.empty()) umount2(mounted.c_str(), MNT_DETACH);
        if (!lockedFolder.empty()) fs::permissions(lockedFolder, fs::perms::owner_all);
        Program::TearDown();
    }

    // A game folder on its own file system: setting.dat and the sheet (linked
    // from the fixture's folder, so that a tiny file system can hold the rest).
    fs::path GameFolderOnTmpfs(const char* size) {
        const fs::path game = fs::path(directory) / "game";
        if (!MountTmpfs(game, size)) return {};
        mounted = game;
        fs::create_directory_symlink(fs::path(directory) / "zdj", game / "zdj");
        EXPECT_TRUE(WriteBytes(game / "setting.dat", kOldFile));
        return game;
    }

    // The whole session against a file that cannot be written: the options'
    // back button and the exit item each say so, and the program goes on with
    // the values in memory and ends normally.
    void PlayWithUnwritableSettings() {
        headless::ScriptMessageBoxAnswer(platform::IDOK);
        headless::ScriptMessageBoxAnswer(platform::IDOK);
        const int status = Run({
            [] { ClickMenuItem(MenuItem::Options); },            // options
            [] {
                ClickOptionsArrow(options_layout::BoardSize, +1);                // size 8
                ClickOptionsBack();                // back: saves
            },
            [] {
                const auto boxes = headless::TakeShownMessageBoxes();
                ASSERT_EQ(boxes.size(), 1u);
                EXPECT_EQ(boxes[0].text, kCannotSave);
                EXPECT_EQ(boxes[0].caption, kCaption);
                EXPECT_EQ(boxes[0].type, platform::MB_OK);
                EXPECT_TRUE(boxes[0].owned) << "the notice stays with the game window";
                EXPECT_EQ(g_screen, Screen::Menu);
                ClickMenuItem(MenuItem::Start);                // a match on the new size
            },
            [] {
                EXPECT_EQ(g_screen, Screen::Match);
                EXPECT_EQ(g_game.settings->BoardSize(), 8);
                EXPECT_TRUE(ShowsPiece(sheet::SquareTile, 100 + 51 * 7, 100 + 51 * 7));
                headless::PostKey(platform::VK_ESCAPE);
                ClickMenuItem(MenuItem::Exit);           // exit: saves again
            },
        });
        EXPECT_EQ(status, 1);
        const auto boxes = headless::TakeShownMessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, kCannotSave);
        EXPECT_EQ(ReadBytes("setting.dat"), kOldFile);
        EXPECT_EQ(Temporaries(), 0) << "a failed save left its temporary";
    }

    fs::path mounted;
    fs::path lockedFolder;
};

TEST_F(Faults, SettingsInAReadOnlyFolderLoadAndEverySaveSaysItFailed) {
    fs::path game = GameFolderOnTmpfs("1m");
    if (!game.empty()) {
        ASSERT_TRUE(RemountReadOnly(game));
    } else {
        // No mounts here: a folder without write permission, which only
        // stops a process that is not root.
        if (geteuid() == 0) GTEST_SKIP() << "root without mounts: no way to make a folder read-only";
        game = fs::path(directory) / "game";
        fs::create_directory(game);
        fs::create_directory_symlink(fs::path(directory) / "zdj", game / "zdj");
        ASSERT_TRUE(WriteBytes(game / "setting.dat", kOldFile));
        // The file too: a writable one would be rewritten in place.
        fs::permissions(game / "setting.dat", fs::perms::owner_read);
        fs::permissions(game, fs::perms::owner_read | fs::perms::owner_exec);
        lockedFolder = game;
    }
    fs::current_path(game);
    EXPECT_NE(std::ofstream("probe").is_open(), true) << "the folder is writable";
    PlayWithUnwritableSettings();
}

TEST_F(Faults, SettingsOnAFullDiskKeepTheOldFileAndLeaveNoTemporary) {
    const fs::path game = GameFolderOnTmpfs("64k");
    if (game.empty()) GTEST_SKIP() << "no tmpfs can be mounted here";
    fs::current_path(game);
    // Fill every block that is left.
    {
        std::ofstream filler("filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))) filler.flush();
    }
    std::ofstream probe("probe", std::ios::binary);
    probe << "x";
    probe.flush();
    ASSERT_FALSE(probe.good()) << "the disk is not full";
    probe.close();
    fs::remove("probe");
    PlayWithUnwritableSettings();
}

TEST_F(Faults, SettingsReplacedByAFolderAskAndTheExitSaysItCannotSave) {
    fs::create_directories("setting.dat/inside");
    headless::ScriptMessageBoxAnswer(platform::IDYES);
    headless::ScriptMessageBoxAnswer(platform::IDOK);
    const int status = Run({
        [] {
            const auto boxes = headless::TakeShownMessageBoxes();
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].text, kCannotOpen);
            EXPECT_EQ(boxes[0].type, platform::MB_YESNO);
            EXPECT_EQ(g_game.settings->BoardSize(), 6);  // the defaults
            ClickMenuItem(MenuItem::Exit);      // exit
        },
    });
    EXPECT_EQ(status, 1);
    const auto boxes = headless::TakeShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kCannotSave);
    EXPECT_TRUE(fs::is_directory("setting.dat/inside"));
    EXPECT_EQ(Temporaries(), 0) << "a failed save left its temporary";
}

// A save in a child process whose file size limit stops it after `limit`
// bytes: the kernel kills a writer that goes past it (SIGXFSZ), as a crash or
// a power cut would stop it half-way.
int SaveLimitedTo(rlim_t limit, const Settings& values) {
    const pid_t child = fork();
    if (child == 0) {
        const rlimit noCore{0, 0};
        setrlimit(RLIMIT_CORE, &noCore);
        const rlimit size{limit, limit};
        setrlimit(RLIMIT_FSIZE, &size);
        std::signal(SIGXFSZ, SIG_DFL);
        wolby_test::ScriptedDialogs dialogs;
        _exit(values.Save(wolby_test::kFiles, dialogs) ? 0 : 3);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

TEST_F(Faults, ASaveKilledAtEveryByteLeavesTheOldFileOrTheWholeNewOne) {
    Settings next;
    next.discColour1 = 9;
    next.discColour2 = 8;
    next.boardSize = 5;
    next.moveSeconds = 9;
    next.humanPlayers = 0;
    const Bytes nextFile = wolby_test::SettingsFile({9, 8, 5, 9, 0});
    wolby_test::ScriptedDialogs dialogs;
    for (const bool hadFile : {true, false}) {
        for (rlim_t limit = 0; limit <= nextFile.size(); ++limit) {
            SCOPED_TRACE((hadFile ? "over the old file, " : "no file before, ") + std::to_string(limit) + " bytes");
            fs::remove("setting.dat");
            if (hadFile) {
                ASSERT_TRUE(WriteBytes("setting.dat", kOldFile));
            }
            const int before = Temporaries();
            const int status = SaveLimitedTo(limit, next);
            if (limit < nextFile.size()) {
                ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
                // A killed save may leave its own temporary, and nothing else.
                EXPECT_LE(Temporaries(), before + 1);
                if (hadFile) {
                    EXPECT_EQ(ReadBytes("setting.dat"), kOldFile);
                } else {
                    EXPECT_FALSE(fs::exists("setting.dat"));
                }
            } else {
                ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
                EXPECT_EQ(ReadBytes("setting.dat"), nextFile);
            }
            // What a killed save left behind never stops the next start or save.
            if (fs::exists("setting.dat")) {
                Settings loaded;
                ASSERT_TRUE(loaded.Load(wolby_test::kFiles, dialogs));
                const auto image = loaded.Image();
                EXPECT_EQ(Bytes(image.begin(), image.end()),
                          hadFile && limit < nextFile.size() ? kOldFile : nextFile);
            }
            const int left = Temporaries();
            ASSERT_TRUE(next.Save(wolby_test::kFiles, dialogs));
            EXPECT_EQ(ReadBytes("setting.dat"), nextFile);
            EXPECT_EQ(Temporaries(), left) << "the save left its temporary";
        }
    }
    EXPECT_TRUE(dialogs.TakeShown().empty());
}

// ---------------------------------------------------------------- the sheet

Bytes SheetBytes() { return ReadBytes(std::string(WOLBY_SOURCE_DIR) + "/zdj/15.bmp"); }

// A 24-bit bitmap of `width` x `height` whose pixel (x, y) is `at(x, y)`.
Bytes Bmp24(std::int32_t width, std::int32_t height, std::function<Colour(std::int32_t, std::int32_t)> at) {
    wolby_test::BmpPicture picture(width, height, 24);
    picture.at = std::move(at);
    return wolby_test::BmpFile(picture);
}

TEST_F(Faults, ASheetThatCannotBeLoadedShowsItsMessageAndEndsTheStart) {
    const Bytes good = SheetBytes();
    const std::size_t pixels = 54;  // the generated sheet is a plain 24-bit one
    ASSERT_EQ(good.size(), pixels + 640u * 480u * 3u);
    std::vector<std::pair<std::string, Bytes>> sheets = {
        {"empty", {}},
        {"only the file header", Bytes(good.begin(), good.begin() + 14)},
        {"cut in the info header", Bytes(good.begin(), good.begin() + 30)},
        {"no pixels", Bytes(good.begin(), good.begin() + pixels)},
        {"cut in the first row", Bytes(good.begin(), good.begin() + pixels + 1000)},
        {"cut half-way", Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2))},
        {"a row short", Bytes(good.begin(), good.end() - 640 * 3)},
        {"a PNG", Bytes{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'}},
        {"text", Bytes{'z', 'd', 'j', '\n'}},
    };
    for (const auto& [what, bytes] : sheets) {
        SCOPED_TRACE(what);
        Restart();
        WriteSettings({});
        ASSERT_TRUE(WriteBytes("zdj/15.bmp", bytes));
        headless::ScriptMessageBoxAnswer(platform::IDOK);
        EXPECT_EQ(Run({}), 0);
        const auto boxes = headless::TakeShownMessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, kNoBitmap);
        EXPECT_EQ(boxes[0].caption, kCaption);
        EXPECT_EQ(boxes[0].type, platform::MB_OK | platform::MB_ICONHAND);
    }
    // A folder where the file belongs.
    Restart();
    WriteSettings({});
    fs::remove("zdj/15.bmp");
    fs::create_directory("zdj/15.bmp");
    headless::ScriptMessageBoxAnswer(platform::IDOK);
    EXPECT_EQ(Run({}), 0);
    ASSERT_EQ(headless::TakeShownMessageBoxes().size(), 1u);
}

// The real sheet's pixel, read through the platform's own loader.
class SheetPixels {
public:
    SheetPixels() : bitmap_(platform::common::ReadBitmap(SheetBytes())) {}
    ~SheetPixels() { platform::DeleteBitmap(bitmap_); }
    bool Loaded() const { return bitmap_ != nullptr; }
    Colour At(std::int32_t x, std::int32_t y) const {
        return bitmap_->pixels[static_cast<std::size_t>(y * bitmap_->width + x)];
    }

private:
    platform::Bitmap bitmap_;
};

// A sheet too small for the pieces the screens cut from it (a menu that cannot
// be seen) is refused as a missing one, and its surface goes back.
TEST_F(Faults, ASheetSmallerThanItsPiecesIsRefusedWithTheMissingSheetMessage) {
    const std::pair<std::int32_t, std::int32_t> sizes[] = {{100, 100}, {1, 1}, {320, 240}, {639, 480}, {640, 479}};
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        Restart();
        WriteSettings({});
        ASSERT_TRUE(WriteBytes("zdj/15.bmp", Bmp24(width, height, [](std::int32_t, std::int32_t) { return 0x3366CCu; })));
        headless::ScriptMessageBoxAnswer(platform::IDOK);
        EXPECT_EQ(Run({}), 0);
        const auto boxes = headless::TakeShownMessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, kNoBitmap);
        EXPECT_EQ(boxes[0].type, platform::MB_OK | platform::MB_ICONHAND);
        EXPECT_EQ(headless::LiveSurfaces(), 1) << "only the screen's surface is left";
    }
}

// Start-up makes a 640 x 480 surface for the sheet, then loads the sheet into a
// surface of its own: the first one goes back.
TEST_F(Faults, StartUpKeepsOnlyTheScreenAndTheSheet) {
    WriteSettings({});
    const int status = Run({
        [] {
            EXPECT_EQ(headless::LiveSurfaces(), 2) << "the screen and the sheet, nothing more";
            ClickMenuItem(MenuItem::Exit);  // exit
        },
    });
    EXPECT_EQ(status, 1);
}

// A FIFO, a socket or a device where the sheet belongs is never waited on: the
// missing sheet's message at once. Each start runs in a child process that
// gives up after 5 seconds.
TEST_F(Faults, ASpecialFileInPlaceOfTheSheetShowsTheMissingSheetMessageAtOnce) {
    const std::vector<std::pair<std::string, std::function<bool()>>> specials = {
        {"a FIFO", [] { return mkfifo("zdj/15.bmp", 0644) == 0; }},
        {"a link to a FIFO", [] { return mkfifo("zdj/pipe", 0644) == 0 && symlink("pipe", "zdj/15.bmp") == 0; }},
        {"a socket", [] { return test_support::MakeSocket("zdj/15.bmp"); }},
        // The zero device's numbers, in the test's folder: endless zero bytes.
        {"a character device", [] { return mknod("zdj/15.bmp", S_IFCHR | 0644, makedev(1, 5)) == 0; }},
    };
    for (const auto& [what, make] : specials) {
        SCOPED_TRACE(what);
        Restart();
        WriteSettings({});
        fs::remove("zdj/15.bmp");
        fs::remove("zdj/pipe");
        if (!make()) {
            std::cout << "  (" << what << " cannot be made here)\n";
            continue;
        }
        std::fflush(nullptr);
        const pid_t child = fork();
        if (child == 0) {
            alarm(5);
            headless::ScriptMessageBoxAnswer(platform::IDOK);
            const int status = Run({});
            const auto boxes = headless::TakeShownMessageBoxes();
            _exit(status == 0 && boxes.size() == 1 && boxes[0].text == kNoBitmap ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_FALSE(WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) << "the start waited on the sheet";
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "no missing sheet's message, or another exit status";
    }
}

// A whole session on a larger sheet: the menu, the options, a move, the
// credits. The pieces come from its top-left 640 x 480.
TEST_F(Faults, ALargerSheetGivesAWholeSession) {
    Bytes larger;
    {
        const SheetPixels sheet;
        ASSERT_TRUE(sheet.Loaded());
        larger = Bmp24(1000, 700, [&sheet](std::int32_t x, std::int32_t y) {
            return x < 640 && y < 480 ? sheet.At(x, y) : 0x3366CCu;
        });
    }
    WriteSettings({});
    ASSERT_TRUE(WriteBytes("zdj/15.bmp", larger));
    const int status = Run({
        [] {
            std::int32_t w = 0, h = 0;
            platform::GetSurfaceSize(g_sheetSurface, &w, &h);
            EXPECT_EQ(w, 1000);
            EXPECT_EQ(h, 700);
            // The menu picture is the sheet's top-left 320 x 340.
            for (std::int32_t y = 0; y < 340; ++y) {
                for (std::int32_t x = 0; x < 320; ++x) {
                    const std::uint16_t want = g_sheetSurface->pixels[static_cast<std::size_t>(y * w + x)];
                    ASSERT_EQ(headless::RawPixelAt(240 + x, 50 + y), want) << x << "," << y;
                }
            }
            EXPECT_TRUE(AllBlack(0, 0, 240, 600));
            ClickMenuItem(MenuItem::Options);  // options
        },
        [] {
            EXPECT_EQ(g_screen, Screen::Options);
            ClickOptionsBack();  // back
            ClickMenuItem(MenuItem::Start);  // a match
        },
        [] {
            EXPECT_EQ(g_screen, Screen::Match);
            ClickSquare(3, 1);  // player 1 takes (3, 1)
        },
        [] {
            EXPECT_EQ(g_game.board->CountDiscs(0), 4);
            headless::PostKey(platform::VK_ESCAPE);
            ClickMenuItem(MenuItem::Credits);  // credits
        },
        [] {
            EXPECT_EQ(g_screen, Screen::Credits);
            headless::AdvanceTime(2000);
        },
        [] {
            headless::PostKey(platform::VK_ESCAPE);
            ClickMenuItem(MenuItem::Exit);  // exit
        },
    });
    EXPECT_EQ(status, 1);
}

}  // namespace
}  // namespace wolby_test
