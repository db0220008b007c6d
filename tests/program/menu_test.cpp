// Start-up, the menu with its marker and clicks, the credits, ESC and the exit.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/common/bitmap_file.h"
#include "platform/common/surface.h"
#include "screens/credits.h"
#include "screens/match.h"
#include "screens/program_state.h"
#include "screens/screen.h"
#include "screens/sheet.h"
#include "tests/support/program_fixture.h"
#include "tests/support/clicks.h"

namespace wolby_test {
namespace {

namespace headless = platform::headless;

const std::string kCaption = "B\xB3\xB9" "d";

// Both strips at the sides of the credits: the sheet's 100 x 300 strip with
// each row shown twice, down the whole screen.
::testing::AssertionResult ShowsCreditsStrips() {
    const platform::Rect& strip = sheet::CreditsStrip;
    for (std::int32_t y = 0; y < 600; ++y) {
        const platform::Rect row{strip.left, strip.top + y / 2, strip.right, strip.top + y / 2 + 1};
        for (const std::int32_t left : {0, 700}) {
            if (!ShowsPiece(row, left, y)) return ::testing::AssertionFailure() << "strip row " << y << " at " << left;
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult MarkerAt(int item) { return ShowsPiece(sheet::MenuMarker, 240, 170 + 50 * (item - 1)); }
::testing::AssertionResult NoMarker() { return AllBlack(240, 170, 290, 370); }

TEST_F(Program, NoSettingsFileAnsweredAnythingButYesEndsWithStatusZeroAndNoWindow) {
    // No, or a box closed some other way.
    for (const int answer : {platform::IDNO, platform::IDOK, 0}) {
        Restart();
        headless::ScriptMessageBoxAnswer(answer);
        EXPECT_EQ(Run({}), 0) << answer;
        EXPECT_FALSE(headless::WindowCreated());
        const auto boxes = headless::TakeShownMessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, kCaption);
        EXPECT_EQ(boxes[0].type, platform::MB_YESNO);
        EXPECT_FALSE(boxes[0].owned);
        EXPECT_FALSE(SettingsFileExists());
    }
}

TEST_F(Program, NoSettingsFileAnsweredYesShowsTheMenuAndTheExitItemWritesTheDefaults) {
    headless::ScriptMessageBoxAnswer(platform::IDYES);
    const int status = Run({
        [] {
            EXPECT_TRUE(ShowsPiece(sheet::MenuPicture, 240, 50));
            EXPECT_TRUE(AllBlack(0, 0, 800, 50));
            EXPECT_TRUE(AllBlack(0, 390, 800, 600));
            EXPECT_FALSE(std::filesystem::exists("setting.dat"));
            ClickMenuItem(MenuItem::Exit);  // exit, the fourth item
        },
    });
    EXPECT_EQ(status, 1);
    EXPECT_EQ(ReadSettingsFile(), DefaultSettingsFile());
}

struct StartupFault {
    headless::Fault fault;
    const char* message;
};

TEST_F(Program, EveryStartupFailureShowsItsOwnMessageAndEndsWithStatusZero) {
    const StartupFault cases[] = {
        {headless::Fault::DirectDrawCreate, "Nie mo\xBFna zainicjowa\xE6 obiektu DirectDraw"},
        {headless::Fault::SetCooperativeLevel, "Nie mo\xBFna ustawi\xE6 trybu graficznego"},
        {headless::Fault::SetDisplayMode, "Nie mo\xBFna ustawi\xE6 trybu graficznego"},
        {headless::Fault::CreatePrimarySurface, "Nie mo\xBFna stworzy\xE6 bufora DirectDraw"},
        {headless::Fault::CreateOffscreenSurface, "Nie mo\xBFna stworzy\xE6 bufora DirectDraw"},
    };
    for (const StartupFault& c : cases) {
        Restart();
        WriteSettings({});
        headless::SetFault(c.fault, true);
        headless::ScriptMessageBoxAnswer(platform::IDOK);
        EXPECT_EQ(Run({}), 0) << c.message;
        const auto boxes = headless::TakeShownMessageBoxes();
        ASSERT_EQ(boxes.size(), 1u) << c.message;
        EXPECT_EQ(boxes[0].text, c.message);
        EXPECT_EQ(boxes[0].caption, kCaption);
        EXPECT_EQ(boxes[0].type, platform::MB_OK | platform::MB_ICONHAND);
        EXPECT_TRUE(boxes[0].owned);
    }
}

TEST_F(Program, AMissingOrBrokenSheetShowsItsMessage) {
    for (const bool missing : {true, false}) {
        Restart();
        WriteSettings({});
        std::filesystem::remove("zdj/15.bmp");
        if (!missing) std::ofstream("zdj/15.bmp") << "BM this is no bitmap";
        headless::ScriptMessageBoxAnswer(platform::IDOK);
        EXPECT_EQ(Run({}), 0);
        const auto boxes = headless::TakeShownMessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "Nie mo\xBFna wczyta\xE6 bitmapy");
    }
}

TEST_F(Program, TheMarkerFollowsThePointerOverTheItems) {
    WriteSettings({});
    const int status = Run({
        [] {
            EXPECT_TRUE(NoMarker());  // nothing before the pointer moves
            headless::PostMouseMove(241, 171);
        },
        [] {
            EXPECT_TRUE(MarkerAt(1));
            headless::PostMouseMove(559, 219);
        },
        [] {
            EXPECT_TRUE(MarkerAt(1));
            headless::PostMouseMove(400, 220);  // the boundary between items 1 and 2
        },
        [] {
            EXPECT_TRUE(NoMarker());
            headless::PostMouseMove(400, 221);
        },
        [] {
            EXPECT_TRUE(MarkerAt(2));
            EXPECT_TRUE(AllBlack(240, 170, 290, 220));
            headless::PostMouseMove(400, 300);
        },
        [] {
            EXPECT_TRUE(MarkerAt(3));
            headless::PostMouseMove(400, 369);
        },
        [] {
            EXPECT_TRUE(MarkerAt(4));
            headless::PostMouseMove(400, 370);
        },
        [] {
            EXPECT_TRUE(NoMarker());
            headless::PostMouseMove(240, 200);  // left edge of the picture: outside
        },
        [] {
            EXPECT_TRUE(NoMarker());
            headless::PostMouseMove(560, 200);
        },
        [] {
            EXPECT_TRUE(NoMarker());
            headless::CloseWindow();
        },
    });
    EXPECT_EQ(status, 1);
}

TEST_F(Program, ClicksAreCorrectedByTheCursorsOffset) {
    WriteSettings({});
    const int status = Run({
        [] { headless::PostLeftClick(550, 200); },  // shows the marker, but the click lands at 565
        [] {
            EXPECT_EQ(g_screen, Screen::Menu);
            EXPECT_TRUE(MarkerAt(1));
            headless::PostLeftClick(400, 220);  // a boundary row hits nothing
        },
        [] {
            EXPECT_EQ(g_screen, Screen::Menu);
            headless::PostLeftClick(230, 200);  // no marker there, but the click lands at 245
        },
        [] {
            EXPECT_EQ(g_screen, Screen::Match);
            EXPECT_TRUE(ShowsPiece(sheet::SquareTile, 100, 100));
            headless::CloseWindow();
        },
    });
    EXPECT_EQ(status, 1);
}

TEST_F(Program, TheCreditsBounceAndGoOnWhereTheyWereLeft) {
    WriteSettings({});
    const platform::Colour blue = 0xFF0000;
    std::vector<std::int32_t> seen;
    std::vector<std::function<void()>> steps;
    steps.push_back([] { ClickMenuItem(MenuItem::Credits); });  // credits
    steps.push_back([] {
        EXPECT_EQ(g_screen, Screen::Credits);
        EXPECT_TRUE(ShowsCreditsStrips());
        EXPECT_TRUE(AllBlack(100, 0, 700, 600));  // no line before the first tick
        PointAtMenuItem(MenuItem::Start);        // moving the pointer draws nothing here
    });
    steps.push_back([] {
        EXPECT_TRUE(AllBlack(100, 0, 700, 600));
        headless::AdvanceTime(50);
    });
    steps.push_back([&] {
        EXPECT_TRUE(ShowsText("WOLBY", blue, 0, 350, 99));
        EXPECT_TRUE(ShowsText("Program: Zenobar", blue, 0, 300, 199));
        EXPECT_TRUE(ShowsText("Grafika: Zenobar", blue, 0, 300, 249));
        ClickMenuItem(MenuItem::Start);  // clicks do nothing on the credits
    });
    steps.push_back([&] {
        EXPECT_EQ(g_screen, Screen::Credits);
        seen.push_back(g_creditsY);
        headless::AdvanceTime(50 * 150);
    });
    steps.push_back([&] {
        seen.push_back(g_creditsY);
        headless::PostKey(platform::VK_ESCAPE);
    });
    steps.push_back([&] {
        EXPECT_EQ(g_screen, Screen::Menu);
        EXPECT_FALSE(headless::TimerRunning(kCreditsTimer));
        const std::int32_t left = g_creditsY;
        headless::AdvanceTime(1000);  // no tick while the menu is shown
        seen.push_back(left);
    });
    steps.push_back([&] {
        EXPECT_EQ(g_creditsY, seen.back());
        ClickMenuItem(MenuItem::Credits);
    });
    steps.push_back([&] { headless::AdvanceTime(50); });
    steps.push_back([&] {
        const std::int32_t step = g_creditsY - seen.back();
        EXPECT_EQ(std::abs(step), 1);
        headless::CloseWindow();
    });
    EXPECT_EQ(Run(steps), 1);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], 99);
}

TEST_F(Program, TheCreditsLinesStayBetween99And151) {
    WriteSettings({});
    std::int32_t lowest = 1000;
    std::int32_t highest = -1000;
    std::vector<std::function<void()>> steps;
    steps.push_back([] { ClickMenuItem(MenuItem::Credits); });
    for (int tick = 0; tick < 260; ++tick) {
        steps.push_back([&] {
            headless::AdvanceTime(50);
        });
        steps.push_back([&] {
            lowest = std::min(lowest, g_creditsY);
            highest = std::max(highest, g_creditsY);
            headless::PostMouseMove(0, 0);
        });
    }
    steps.push_back([] { headless::CloseWindow(); });
    EXPECT_EQ(Run(steps), 1);
    EXPECT_EQ(lowest, 99);
    EXPECT_EQ(highest, 151);
}

// Each tick clears 440 x 150 pixels between the strips from the title's top, so
// the title and the first credit line never leave a trace as they move.
TEST_F(Program, EachCreditsTickClearsTheBandFromTheTitleDown) {
    WriteSettings({});
    struct Mark {
        std::int32_t x, dy;
        bool cleared;
    };
    // Left of every line, so that no text covers them; dy from the title's top.
    const Mark marks[] = {{100, 0, true},    {299, 149, true},  {539, 75, true},  {200, 100, true},
                          {99, 10, false},   {540, 10, false},  {200, 150, false}, {200, -1, false}};
    std::int32_t top = 0;
    const auto markAndTick = [&] {
        top = g_creditsY;
        for (const Mark& m : marks) {
            platform::common::FillRect(g_primarySurface, {m.x, top + m.dy, m.x + 1, top + m.dy + 1}, 0xFFFF);
        }
        headless::AdvanceTime(50);
    };
    const auto expectMarks = [&] {
        for (const Mark& m : marks) {
            EXPECT_EQ(headless::RawPixelAt(m.x, top + m.dy), m.cleared ? 0 : 0xFFFF)
                << m.x << "," << m.dy << " from the title at " << top;
        }
    };
    std::vector<std::function<void()>> steps{[] { ClickMenuItem(MenuItem::Credits); }, markAndTick};
    // Up first, then, from 99, down.
    steps.push_back([&] {
        expectMarks();
        headless::AdvanceTime(50 * 3);
    });
    steps.push_back(markAndTick);
    steps.push_back([&] {
        EXPECT_EQ(g_creditsY, top + 1);
        expectMarks();
        headless::CloseWindow();
    });
    EXPECT_EQ(Run(steps), 1);
}

// A picture check that fails leaves the expected and the actual screen and their
// difference, and says where. The test runs itself again in a child process,
// where the check fails on purpose.
TEST_F(Program, AFailedPictureCheckLeavesItsPicturesAndSaysWhere) {
    if (std::getenv("WOLBY_CHECK_FAILS_ON_PURPOSE") != nullptr) {
        WriteSettings({});
        Run({[] {
            EXPECT_TRUE(MarkerAt(1));  // there is none before the pointer moves
            headless::CloseWindow();
        }});
        return;
    }
    const ::testing::TestInfo* self = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string(self->test_suite_name()) + "." + self->name();
    const std::string folder = directory + "/pictures";
    const std::string command = "WOLBY_CHECK_FAILS_ON_PURPOSE=1 WOLBY_PICTURE_DIR='" + folder + "' '" +
                                std::filesystem::read_symlink("/proc/self/exe").string() +
                                "' --gtest_filter=" + name + " > output 2>&1";
    EXPECT_NE(std::system(command.c_str()), 0) << "the check did not fail";
    std::ifstream outputFile("output");
    const std::string output{std::istreambuf_iterator<char>(outputFile), {}};
    const std::string stem = folder + "/" + name + "-1-";
    std::vector<platform::Bitmap> pictures;
    for (const char* which : {"expected", "actual", "difference"}) {
        const std::string path = stem + which + ".bmp";
        EXPECT_NE(output.find(path), std::string::npos) << output;
        std::ifstream file(path, std::ios::binary);
        pictures.push_back(platform::common::ReadBitmap({std::istreambuf_iterator<char>(file), {}}));
        ASSERT_NE(pictures.back(), nullptr) << path;
        ASSERT_EQ(pictures.back()->pixels.size(), 800u * 600u) << path;
    }
    // The marker's place: black on the screen, the marker in the expected
    // picture; the difference is red exactly where the two differ.
    int differing = 0;
    int red = 0;
    for (std::size_t i = 0; i < 800u * 600u; ++i) {
        const std::int32_t x = static_cast<std::int32_t>(i % 800);
        const std::int32_t y = static_cast<std::int32_t>(i / 800);
        const bool inMarker = x >= 240 && x < 290 && y >= 170 && y < 220;
        const bool differs = pictures[0]->pixels[i] != pictures[1]->pixels[i];
        const bool shownRed = pictures[2]->pixels[i] == 0x0000FF;
        if ((inMarker && pictures[1]->pixels[i] != 0) || (differs && !inMarker) || differs != shownRed) {
            ADD_FAILURE() << "pictures wrong at " << x << "," << y;
            break;
        }
        differing += differs;
        red += shownRed;
    }
    EXPECT_GT(differing, 100);
    EXPECT_EQ(red, differing);
    for (const platform::Bitmap picture : pictures) platform::DeleteBitmap(picture);
}

TEST_F(Program, EscReturnsToTheMenuFromEveryScreenWithoutWritingTheFile) {
    WriteSettings({});
    const auto original = ReadSettingsFile();
    std::filesystem::remove("setting.dat");
    WriteSettings({.moveSeconds = 0, .humanPlayers = 0});
    const auto written = ReadSettingsFile();
    auto backToMenu = [] {
        EXPECT_EQ(g_screen, Screen::Menu);
        EXPECT_TRUE(ShowsPiece(sheet::MenuPicture, 240, 50));
        EXPECT_FALSE(headless::TimerRunning(kComputerMoveTimer));
        EXPECT_FALSE(headless::TimerRunning(kMoveClockTimer));
        EXPECT_FALSE(headless::TimerRunning(kCreditsTimer));
    };
    const int status = Run({
        [] { headless::PostKey(platform::VK_ESCAPE); },  // on the menu: drawn again, nothing else
        [&] {
            backToMenu();
            ClickMenuItem(MenuItem::Start);  // a computer-only match: timer 0 runs
        },
        [&] {
            EXPECT_TRUE(headless::TimerRunning(kComputerMoveTimer));
            headless::PostKey('A');  // any other key does nothing
        },
        [&] {
            EXPECT_EQ(g_screen, Screen::Match);
            headless::PostKey(platform::VK_ESCAPE);
        },
        [&] {
            backToMenu();
            ClickMenuItem(MenuItem::Options);  // options
        },
        [&] {
            EXPECT_EQ(g_screen, Screen::Options);
            headless::PostKey(platform::VK_ESCAPE);
        },
        [&] {
            backToMenu();
            ClickMenuItem(MenuItem::Credits);  // credits
        },
        [&] {
            headless::PostKey(platform::VK_ESCAPE);
        },
        [&] {
            backToMenu();
            headless::CloseWindow();
        },
    });
    EXPECT_EQ(status, 1);
    EXPECT_EQ(ReadSettingsFile(), written);
    EXPECT_NE(original, written);
}

}  // namespace
}  // namespace wolby_test
