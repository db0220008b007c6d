#include "tools/text_lines.h"

#include <cstdio>
#include <iterator>

#include "screens/options.h"

namespace text_lines {
namespace {

// "%i" of each value in [low, high].
void Numbered(std::vector<std::string>& lines, const char* format, int low, int high) {
    for (int value = low; value <= high; ++value) {
        char line[64];
        std::snprintf(line, sizeof line, format, value);
        lines.emplace_back(line);
    }
}

}  // namespace

std::vector<std::string> All() {
    std::vector<std::string> lines = {
        // the credits
        "WOLBY", "Program: Zenobar", "Grafika: Zenobar",
        // the match: whose move, the players, the result
        "Ruch gracza 1", "Ruch gracza 2", "Gracz 1", "Gracz 2", "GRATULACJE!!!", "WYGRANA GRACZA 1!",
        "WYGRANA GRACZA 2!", "GRA ZAKO\xD1" "CZONA REMISEM", "ESC - wyj\x9C" "cie do menu"};
    lines.insert(lines.end(), std::begin(options_layout::kLabels), std::end(options_layout::kLabels));
    Numbered(lines, "Pozosta\xB3o %i sek.", 0, 9);  // the clock: at most 9 seconds a move
    Numbered(lines, "Zebranych: %i   ", 0, 64);      // a score: at most every square of 8 x 8
    // The options' values: the board's side 5-8, then players 0-2 and seconds
    // 0-9 as the screen first draws them and as an arrow step draws them.
    for (int size = 5; size <= 8; ++size) {
        char line[32];
        std::snprintf(line, sizeof line, " %ix%i", size, size);
        lines.emplace_back(line);
    }
    Numbered(lines, "   %i", 0, 9);
    Numbered(lines, "   %i ", 0, 9);
    return lines;
}

}  // namespace text_lines
