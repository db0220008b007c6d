// The program's own cost on the headless backend, where Sleep is virtual: what is
// measured is the work, without the animation's designed pauses.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <cstdio>
#include <cstdlib>

#include "match/game.h"
#include "tests/support/headless_controls.h"
#include "screens/credits.h"
#include "screens/match.h"
#include "screens/menu.h"
#include "screens/program_state.h"
#include "screens/screen.h"
#include "shell/win_main.h"
#include "tests/support/calendar.h"
#include "tests/support/settings_file.h"
#include "tests/support/work_folder.h"
#include "tests/support/clicks.h"

namespace headless = platform::headless;
using namespace wolby_test;

namespace {

// A working directory with the sheet and a settings file, as the game expects.
void PrepareDirectory(int humans, int size) {
    static wolby_test::WorkFolder folder("wolby-bench");
    static const bool ready = folder.AddSheet() && folder.Enter();
    if (!ready || !wolby_test::WriteSettingsFile("setting.dat", {1, 2, size, 0, humans})) {
        std::fprintf(stderr, "no game folder for the benchmarks\n");
        std::exit(1);
    }
}

void FreshProcess() {
    headless::Reset();
    ResetProgramState();
}

// From the entry point to the menu on the screen (then the quit).
void BM_StartupToMenu(benchmark::State& state) {
    PrepareDirectory(2, 6);
    for (auto _ : state) {
        FreshProcess();
        headless::SetScenario({[] { headless::CloseWindow(); }});
        benchmark::DoNotOptimize(WinMain());
    }
}
BENCHMARK(BM_StartupToMenu)->Unit(benchmark::kMillisecond);

// One move on the 8 x 8 game screen that turns the most discs a move can: the
// played square in the middle of full lines in all eight directions (19 discs).
void BM_MoveWithMostDiscsToTurn(benchmark::State& state) {
    PrepareDirectory(2, 8);
    FreshProcess();
    bool ready = false;
    headless::SetScenario({[] { ClickMenuItem(MenuItem::Start); }, [&] {
                               ready = true;
                               headless::CloseWindow();
                           }});
    WinMain();
    if (!ready) {
        state.SkipWithError("the match did not start");
        return;
    }
    Board position;
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            if (x == 3 && y == 3) continue;
            const bool edge = x == 0 || y == 0 || x == 7 || y == 7;
            const bool line = x == 3 || y == 3 || x - y == 0 || x + y == 6;
            if (line && !edge) position.side1.Add(Position(x, y));
            else position.side0.Add(Position(x, y));
        }
    }
    std::int64_t turned = 0;
    for (auto _ : state) {
        state.PauseTiming();
        *g_game.board = position;
        g_player1ToMove = 1;
        g_matchOver = false;
        state.ResumeTiming();
        PlayTurnAt(100 + 51 * 3, 100 + 51 * 3);
        turned += position.side1.Count() - g_game.board->side1.Count();
    }
    state.counters["turned"] = benchmark::Counter(static_cast<double>(turned) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_MoveWithMostDiscsToTurn)->Unit(benchmark::kMicrosecond);

// A whole computer-against-computer match on the screen, with virtual time.
void BM_ComputerMatch8x8(benchmark::State& state) {
    PrepareDirectory(0, 8);
    std::int64_t seconds = 1700000000;
    for (auto _ : state) {
        FreshProcess();
        wolby_test::SetCalendarTime(seconds++);
        bool started = false;
        headless::SetIdleHandler([&] {
            if (!started) {
                started = true;
                ClickMenuItem(MenuItem::Start);
            } else if (g_matchOver) {
                headless::CloseWindow();
            } else {
                headless::AdvanceTime(500);
                wolby_test::SetCalendarTime(seconds + headless::Now() / 1000);
            }
        });
        WinMain();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_ComputerMatch8x8)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
