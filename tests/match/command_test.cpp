#include "match/command.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

namespace {

void ExpectDecoded(std::int32_t code, DecodedCommand expected) {
    const DecodedCommand d = DecodeCommand(code);
    EXPECT_EQ(d.op, expected.op) << code;
    EXPECT_EQ(d.a1, expected.a1) << code;
    EXPECT_EQ(d.a2, expected.a2) << code;
    EXPECT_EQ(d.a3, expected.a3) << code;
    EXPECT_EQ(d.a4, expected.a4) << code;
}

TEST(CommandTest, PackCommandPutsOneDigitPerPlace) {
    EXPECT_EQ(PackCommand(Command::NewMatch, 0, 0, 0, 0, 0), 1400000);
    EXPECT_EQ(PackCommand(14, 0, 0, 0, 0, 0), 1400000);
    EXPECT_EQ(PackCommand(Command::PlayMove, 1, 3, 4, 0, 0), 113400);
    EXPECT_EQ(PackCommand(Command::GetBoardSize, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(PackCommand(Command::AskMove, 9, 8, 7, 6, 5), 1698765);
    // Nothing is checked: a digit of 10 spills into the place on its left.
    EXPECT_EQ(PackCommand(Command::SetDiscColour, 0, 10, 0, 0, 0), PackCommand(12, 1, 0, 0, 0, 0));
}

TEST(CommandTest, DecodingTruncatesTowardZeroAndIgnoresTheUnitsDigit) {
    ExpectDecoded(113400, {1, 1, 3, 4, 0});
    ExpectDecoded(113401, {1, 1, 3, 4, 0});
    ExpectDecoded(1234567, {12, 3, 4, 5, 6});
    ExpectDecoded(0, {0, 0, 0, 0, 0});
    ExpectDecoded(1700000, {17, 0, 0, 0, 0});
    ExpectDecoded(-123456, {-1, -2, -3, -4, -5});
    ExpectDecoded(-99999, {0, -9, -9, -9, -9});
    ExpectDecoded(INT_MAX, {21474, 8, 3, 6, 4});
    ExpectDecoded(INT_MIN, {-21474, -8, -3, -6, -4});
}

TEST(CommandTest, EveryPackedCommandDecodesToItsParts) {
    for (std::int32_t op = 0; op <= 16; ++op)
        for (std::int32_t a = 0; a < 10000; ++a) {
            const DecodedCommand d =
                DecodeCommand(PackCommand(op, a / 1000, a / 100 % 10, a / 10 % 10, a % 10, 0));
            ASSERT_EQ(d.op, op);
            ASSERT_EQ(((d.a1 * 10 + d.a2) * 10 + d.a3) * 10 + d.a4, a);
        }
}

}  // namespace
