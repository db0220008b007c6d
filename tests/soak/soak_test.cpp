// Long play on the headless backend: computer-against-computer matches back to
// back on every board size, in one run of the program with virtual time, each
// started from the menu and left with ESC. Every match must end with its result
// on the screen, and the memory in use, the brushes and the surfaces must not
// grow. WOLBY_SOAK_MATCHES sets the matches per board size (200 by default).
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "match/game.h"
#include "platform/common/bitmap_file.h"
#include "screens/match.h"
#include "screens/screen.h"
#include "shell/win_main.h"
#include "tests/support/program_fixture.h"
#include "tests/support/calendar.h"
#include "tests/support/clicks.h"

#if defined(__SANITIZE_ADDRESS__)
#define WOLBY_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define WOLBY_ASAN 1
#endif
#endif
#if defined(WOLBY_ASAN)
// The sanitizer's own count (its allocator hides the heap from mallinfo2); its
// header does not come with every compiler.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace wolby_test {
namespace {

namespace headless = platform::headless;

constexpr Colour kBlack = 0x000000;
constexpr Colour kWhite = 0xFFFFFF;

int MatchesPerSize() {
    const char* value = std::getenv("WOLBY_SOAK_MATCHES");
    const int matches = value ? std::atoi(value) : 200;
    return matches > 0 ? matches : 200;
}

// Bytes the program holds on the heap now.
std::size_t HeapInUse() {
#if defined(WOLBY_ASAN)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

std::size_t ResidentKiB() {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    std::size_t resident = 0;
    statm >> pages >> resident;
    return resident * 4;
}

struct Sample {
    std::size_t heap = 0;
    std::size_t resident = 0;
    int brushes = 0;
    int surfaces = 0;
    int bitmaps = 0;
};

Sample Measure() {
    return {HeapInUse(), ResidentKiB(), headless::LiveBrushes(), headless::LiveSurfaces(),
            platform::common::LiveBitmaps()};
}

// The result a person sees, against the scores on the board.
::testing::AssertionResult AnnouncedResult() {
    const int s0 = g_game.board->CountDiscs(0);
    const int s1 = g_game.board->CountDiscs(1);
    const int n = g_game.settings->BoardSize();
    const bool ended = s0 == 0 || s1 == 0 || s0 + s1 == n * n || g_passCount[0] > 2 ||
                       g_passCount[1] > 2 || g_noMovesLeft;
    if (!ended) return ::testing::AssertionFailure() << "over without a reason: " << s0 << ":" << s1;
    const ::testing::AssertionResult shown =
        s0 == s1  ? ShowsText("GRA ZAKO\xD1" "CZONA REMISEM", kBlack, kWhite, 320, 200)
        : s0 > s1 ? ShowsText("WYGRANA GRACZA 1!", kBlack, kWhite, 300, 230)
                  : ShowsText("WYGRANA GRACZA 2!", kBlack, kWhite, 300, 230);
    if (!shown) {
        return ::testing::AssertionFailure() << "no result shown for " << s0 << ":" << s1 << " " << shown.message();
    }
    const ::testing::AssertionResult way = ShowsText("ESC - wyj\x9C" "cie do menu", kBlack, kWhite, 300, 260);
    if (!way) return ::testing::AssertionFailure() << "no way back shown " << way.message();
    return ::testing::AssertionSuccess();
}

TEST_F(Program, ComputerMatchesBackToBackOnEveryBoardSizeEndAndLeakNothing) {
    const int perSize = MatchesPerSize();
    const int total = 4 * perSize;
    WriteSettings({1, 2, 5, 0, 0});
    std::int64_t calendar = 1700000000;
    wolby_test::SetCalendarTime(calendar);

    int size = 5;
    int played = 0;         // matches of this size that ended
    int ended = 0;          // of all sizes
    int abandoned = 0;      // left with ESC before their end (extra, not counted)
    int results[4][3] = {};  // per size: wins of player 1, of player 2, draws
    bool inMatch = false;
    bool warmedUp = false;
    std::int64_t matchStart = 0;
    std::int64_t longestMs = 0;
    int failures = 0;
    Sample early;
    Sample late;
    int reference = -1;  // brushes on the menu after the first match: the same after every other
    const auto started = std::chrono::steady_clock::now();

    headless::SetIdleHandler([&] {
        if (failures > 5) {  // enough to see what is wrong
            headless::CloseWindow();
            return;
        }
        if (g_screen == Screen::Menu) {
            if (!warmedUp) {
                // The options screen once first, so that the fonts' caches hold its
                // glyphs before the memory in use is first measured.
                warmedUp = true;
                ClickMenuItem(MenuItem::Options);
                headless::PostKey(platform::VK_ESCAPE);
                return;
            }
            if (ended > 0 && reference < 0) reference = headless::LiveBrushes();
            if (ended > 0 && headless::LiveBrushes() != reference) {
                ADD_FAILURE() << "brushes " << headless::LiveBrushes() << " after match " << ended;
                ++failures;
            }
            if (ended == total / 10 && early.heap == 0) early = Measure();
            if (played == perSize) {
                if (size == 8) {
                    late = Measure();
                    headless::CloseWindow();
                    return;
                }
                // One size up through the options screen, saved with its back button.
                ClickMenuItem(MenuItem::Options);
                ClickOptionsArrow(options_layout::BoardSize, +1);
                ClickOptionsBack();
                ++size;
                played = 0;
                return;
            }
            ClickMenuItem(MenuItem::Start);  // start a match
            inMatch = true;
            matchStart = headless::Now();
            headless::SetIdleBudget(5000);  // each match, not the whole run
            return;
        }
        if (g_screen != Screen::Match || !inMatch) {
            ADD_FAILURE() << "unexpected screen " << g_screen;
            ++failures;
            headless::PostKey(platform::VK_ESCAPE);
            return;
        }
        if (g_matchOver) {
            EXPECT_EQ(g_game.settings->BoardSize(), size);
            const ::testing::AssertionResult result = AnnouncedResult();
            if (!result) {
                ADD_FAILURE() << "match " << ended + 1 << " on " << size << "x" << size << ": " << result.message();
                ++failures;
            }
            const int s0 = g_game.board->CountDiscs(0);
            const int s1 = g_game.board->CountDiscs(1);
            ++results[size - 5][s0 > s1 ? 0 : s0 < s1 ? 1 : 2];
            longestMs = std::max(longestMs, headless::Now() - matchStart);
            ++played;
            ++ended;
            inMatch = false;
            headless::PostKey(platform::VK_ESCAPE);
            return;
        }
        // Now and then a match is abandoned half-way, as a person does.
        if ((ended + abandoned) % 50 == 49 && headless::Now() - matchStart > 3000) {
            ++abandoned;
            inMatch = false;
            headless::PostKey(platform::VK_ESCAPE);
            return;
        }
        // A match has at most 64 moves; waiting far longer means it hangs.
        if (headless::Now() - matchStart > 10 * 60 * 1000) {
            ADD_FAILURE() << "match " << ended + 1 << " on " << size << "x" << size << " never ends";
            ++failures;
            headless::CloseWindow();
            return;
        }
        headless::AdvanceTime(500);
        wolby_test::SetCalendarTime(calendar + headless::Now() / 1000);
    });
    EXPECT_EQ(WinMain(), 1);
    EXPECT_FALSE(headless::TakeStall()) << "the program waited with nothing left to do";
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    EXPECT_EQ(ended, total) << "matches that ended with a result";
    EXPECT_EQ(size, 8);
    EXPECT_EQ(late.brushes, early.brushes);
    EXPECT_EQ(late.surfaces, early.surfaces);
    EXPECT_EQ(late.bitmaps, 0);
    // The two disc brushes of the last match stay until the program ends: only
    // the next match's brushes would replace them.
    EXPECT_EQ(headless::LiveBrushes(), 2);
    // Heap: a leak of a few bytes per match over hundreds of matches shows.
    const auto grown = static_cast<long long>(late.heap) - static_cast<long long>(early.heap);
    EXPECT_LT(grown, 64 * 1024) << "heap " << early.heap << " -> " << late.heap;
#if !defined(WOLBY_ASAN)
    const auto residentGrown = static_cast<long long>(late.resident) - static_cast<long long>(early.resident);
    // The sanitizer keeps freed memory in quarantine, so only a plain build's
    // resident memory tells.
    EXPECT_LT(residentGrown, 4 * 1024) << "resident KiB " << early.resident << " -> " << late.resident;
#endif

    std::printf("soak: %d matches (%d per board size, %d more abandoned) in %.1f s, %.2f ms a match\n",
                ended, perSize, abandoned, seconds, 1000.0 * seconds / std::max(ended + abandoned, 1));
    for (int s = 0; s < 4; ++s) {
        std::printf("  %dx%d: player 1 won %d, player 2 won %d, draws %d\n", s + 5, s + 5, results[s][0],
                    results[s][1], results[s][2]);
    }
    std::printf("  longest match %.1f s of virtual time; heap in use %zu -> %zu bytes (%+lld); resident %zu -> %zu KiB; "
                "brushes %d, surfaces %d\n",
                static_cast<double>(longestMs) / 1000.0, early.heap, late.heap, grown, early.resident,
                late.resident, late.brushes, late.surfaces);
}

}  // namespace
}  // namespace wolby_test
