// The integer command interface between the screens and the match: an opcode and
// up to five one-digit arguments packed into the decimal digits of one int.
#pragma once

#include <cstdint>
#include <initializer_list>

enum class Command : std::int32_t {
    GetBoardSize = 0,
    PlayMove = 1,
    IsEnclosed = 2,
    CountDiscs = 3,
    TurnDisc = 4,
    TryMove = 5,
    GetMoveSeconds = 6,
    GetHumanPlayers = 7,
    GetDiscColour = 8,
    SetBoardSize = 9,
    SetHumanPlayers = 10,
    SetMoveSeconds = 11,
    SetDiscColour = 12,
    SaveSettings = 13,
    NewMatch = 14,
    GetScore = 15,
    AskMove = 16,
};

// op x 100000 + a1 x 10000 + a2 x 1000 + a3 x 100 + a4 x 10 + a5. Checks nothing:
// a digit above 9 runs into the digit on its left. Computed wide and wrapped to
// 32 bits, so that no argument is undefined behaviour.
constexpr std::int32_t PackCommand(std::int32_t op, std::int32_t a1, std::int32_t a2,
                                   std::int32_t a3, std::int32_t a4, std::int32_t a5) {
    std::int64_t code = op;
    for (const std::int32_t digit : {a1, a2, a3, a4, a5}) code = code * 10 + digit;
    return static_cast<std::int32_t>(code);  // modulo 2^32
}

constexpr std::int32_t PackCommand(Command op, std::int32_t a1, std::int32_t a2, std::int32_t a3,
                                   std::int32_t a4, std::int32_t a5) {
    return PackCommand(static_cast<std::int32_t>(op), a1, a2, a3, a4, a5);
}

struct DecodedCommand {
    std::int32_t op;
    std::int32_t a1;
    std::int32_t a2;
    std::int32_t a3;
    std::int32_t a4;
};

// Division truncates toward zero, so a negative code gives digits of its sign;
// every opcode but 0 then falls outside the vocabulary. The units digit is not
// read by any command.
constexpr DecodedCommand DecodeCommand(std::int32_t code) {
    const std::int64_t c = code;
    const std::int64_t op = c / 100000;
    const std::int64_t a1 = (c - op * 100000) / 10000;
    const std::int64_t a2 = (c - (op * 10 + a1) * 10000) / 1000;
    const std::int64_t a3 = (c - ((op * 10 + a1) * 10 + a2) * 1000) / 100;
    const std::int64_t a4 = (c % 100) / 10;
    return {static_cast<std::int32_t>(op), static_cast<std::int32_t>(a1),
            static_cast<std::int32_t>(a2), static_cast<std::int32_t>(a3),
            static_cast<std::int32_t>(a4)};
}
