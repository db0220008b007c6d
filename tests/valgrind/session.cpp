// One whole session of the program on the headless backend, for valgrind's
// memcheck: start with no settings file (the question answered Yes), pointer
// moves on the menu, a match with a move, the options with a change saved, the
// credits, and the exit item. Checks what a person would see at each step and
// ends with status 0 when all of it held.
#include <cstdio>
#include <functional>
#include <vector>

#include "match/game.h"
#include "tests/support/headless_controls.h"
#include "screens/screen.h"
#include "shell/win_main.h"
#include "tests/support/calendar.h"
#include "tests/support/byte_file.h"
#include "tests/support/settings_file.h"
#include "tests/support/work_folder.h"
#include "tests/support/clicks.h"

namespace headless = platform::headless;
using namespace wolby_test;

namespace {

int g_failures = 0;

void Check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "session: %s does not hold\n", what);
        ++g_failures;
    }
}

}  // namespace

int main() {
    wolby_test::WorkFolder folder("wolby-valgrind");
    if (!folder.AddSheet() || !folder.Enter()) return 2;

    headless::Reset();
    wolby_test::SetCalendarTime(1700000000);
    headless::ScriptMessageBoxAnswer(platform::IDYES);
    const std::vector<std::function<void()>> steps = {
        [] {
            Check(g_screen == Screen::Menu, "the menu first");
            for (std::int32_t y = 150; y < 400; y += 25) headless::PostMouseMove(300, y);
            ClickMenuItem(MenuItem::Start);  // start
        },
        [] {
            Check(g_screen == Screen::Match, "a match after the first item");
            ClickSquare(3, 1);  // player 1 takes (3, 1)
        },
        [] {
            Check(g_game.board->CountDiscs(0) == 4, "the move turned a disc");
            headless::AdvanceTime(1500);
        },
        [] {
            headless::PostKey(platform::VK_ESCAPE);
            ClickMenuItem(MenuItem::Options);  // options
        },
        [] {
            Check(g_screen == Screen::Options, "the options");
            ClickOptionsArrow(options_layout::BoardSize, +1);  // size 7
            ClickOptionsArrow(options_layout::Colour1, +1);  // colour 2 for player 1
            ClickOptionsBack();  // back, saving
        },
        [] {
            Check(g_screen == Screen::Menu, "the menu after the options");
            ClickMenuItem(MenuItem::Credits);  // credits
        },
        [] { headless::AdvanceTime(1000); },
        [] {
            headless::PostKey(platform::VK_ESCAPE);
            ClickMenuItem(MenuItem::Exit);  // exit
        },
    };
    headless::SetScenario(steps);
    const int status = WinMain();
    Check(status == 1, "status 1 after the exit item");
    Check(!headless::TakeStall(), "no stall");
    Check(!headless::TakeUnscriptedMessageBox(), "no unexpected dialog");

    Check(wolby_test::ReadBytes("setting.dat") == wolby_test::SettingsFile({2, 2, 7, 0, 2}), "the saved options");

    headless::Reset();
    std::printf("session %s\n", g_failures == 0 ? "passed" : "FAILED");
    return g_failures == 0 ? 0 : 1;
}
