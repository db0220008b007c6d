// The board rules and the computer player under the load of real play.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "board/board.h"
#include "players/calendar_time.h"
#include "players/computer_player.h"

namespace {

constexpr std::int32_t kSize = 8;

// Every choice reads the clock once; a new second per reading keeps the choices
// varied, and the count of readings shows how many real choices were made.
std::int64_t g_second = 0;
std::int64_t NextSecond() { return ++g_second; }

// Does `side` have a legal square? Square by square on a copy, as the screen probes.
bool HasMove(const Board& match, Board& scratch, std::int32_t side) {
    for (std::int32_t x = 0; x < kSize; ++x) {
        for (std::int32_t y = 0; y < kSize; ++y) {
            scratch = match;
            if (scratch.TryPlace(Position(x, y), side)) return true;
        }
    }
    return false;
}

// One computer-against-computer game on the match board; answers the moves played.
int PlayGame(ComputerPlayer (&players)[2]) {
    Board match(static_cast<std::int8_t>(kSize));
    Board scratch;
    std::int32_t side = 0;
    int moves = 0;
    for (;;) {
        // The screen asks twice, for the column and then for the row.
        const std::int32_t column = players[side].ChooseMove(&match, kSize, side).x;
        const std::int32_t row = players[side].ChooseMove(&match, kSize, side).y;
        const Position played(column, row);
        if (!players[side].MakeMove(&match, played, side)) break;
        ++moves;

        Position turned[kSize * kSize];
        int count = 0;
        for (std::int32_t x = 0; x < kSize; ++x) {
            for (std::int32_t y = 0; y < kSize; ++y) {
                if (match.IsEnclosed(played, Position(x, y), kSize)) turned[count++] = Position(x, y);
            }
        }
        for (int i = 0; i < count; ++i) match.TurnDisc(turned[i], side);

        const std::int32_t discs0 = match.CountDiscs(0);
        const std::int32_t discs1 = match.CountDiscs(1);
        if (discs0 + discs1 == kSize * kSize || discs0 == 0 || discs1 == 0) break;
        const std::int32_t other = 1 - side;
        if (HasMove(match, scratch, other)) {
            side = other;
        } else if (!HasMove(match, scratch, side)) {
            break;  // neither side can move
        }
    }
    benchmark::DoNotOptimize(match);
    return moves;
}

// Alternates two questions so that the remembered answer never short-circuits.
void ChooseAlternating(benchmark::State& state, const Board& board) {
    SetCalendarTimeSource(NextSecond);
    g_second = 1700000000;
    const std::int64_t firstSecond = g_second;
    ComputerPlayer player;
    std::int32_t side = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(player.ChooseMove(&board, kSize, side));
        side = 1 - side;
    }
    if (g_second - firstSecond != static_cast<std::int64_t>(state.iterations())) {
        state.SkipWithError("a choice was answered from memory");
    }
    SetCalendarTimeSource(nullptr);
}

void BM_ChooseMoveStart(benchmark::State& state) { ChooseAlternating(state, Board(static_cast<std::int8_t>(kSize))); }

// 24 moves into a game where both sides still have squares to play.
Board MidGame() {
    SetCalendarTimeSource(NextSecond);
    g_second = 42;
    ComputerPlayer player;
    Board match(static_cast<std::int8_t>(kSize));
    for (int ply = 0; ply < 24; ++ply) {
        const std::int32_t side = ply % 2;
        const Position played = player.ChooseMove(&match, kSize, side);
        if (!match.TryPlace(played, side)) continue;
        Position turned[kSize * kSize];
        int count = 0;
        for (std::int32_t x = 0; x < kSize; ++x) {
            for (std::int32_t y = 0; y < kSize; ++y) {
                if (match.IsEnclosed(played, Position(x, y), kSize)) turned[count++] = Position(x, y);
            }
        }
        for (int i = 0; i < count; ++i) match.TurnDisc(turned[i], side);
    }
    SetCalendarTimeSource(nullptr);
    return match;
}

void BM_ChooseMoveMidGame(benchmark::State& state) {
    const Board board = MidGame();
    state.counters["discs"] = board.CountDiscs(0) + board.CountDiscs(1);
    ChooseAlternating(state, board);
}

void BM_WholeGame(benchmark::State& state) {
    SetCalendarTimeSource(NextSecond);
    g_second = 1700000000;  // the same series of games in every run
    ComputerPlayer players[2];
    std::int64_t moves = 0;
    for (auto _ : state) moves += PlayGame(players);
    state.counters["moves/game"] =
        benchmark::Counter(static_cast<double>(moves), benchmark::Counter::kAvgIterations);
    SetCalendarTimeSource(nullptr);
}

BENCHMARK(BM_ChooseMoveStart);
BENCHMARK(BM_ChooseMoveMidGame);
BENCHMARK(BM_WholeGame)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
