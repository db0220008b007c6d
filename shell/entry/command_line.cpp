#include "shell/entry/command_line.h"

#include <string_view>

#include "wolby_version.h"

namespace entry {
namespace {

constexpr std::string_view kUsage =
    "usage: wolby [--window] [--help] [--version]\n"
    "Plays Wolby, a disc-flipping board game for one or two players.\n"
    "\n"
    "  --window   play in a window instead of the full screen\n"
    "  --help     print this text and exit\n"
    "  --version  print the version and exit\n";

std::string VersionText() {
    return std::string("wolby ").append(kWolbyVersion).append(
        "\nA disc-flipping board game on a 5x5 to 8x8 board, for one or two players.\n");
}

}  // namespace

CommandLine ReadCommandLine(std::span<const char* const> arguments) {
    CommandLine line;
    for (const char* argument : arguments) {
        const std::string_view text = argument == nullptr ? std::string_view() : argument;
        if (text == "--window") {
            line.windowed = true;
            continue;
        }
        line.run = false;
        if (text == "--help") {
            line.out = kUsage;
        } else if (text == "--version") {
            line.out = VersionText();
        } else {
            // The program takes no operands either.
            const char* what = text.starts_with('-') ? "unknown option" : "unexpected argument";
            line.status = 2;
            line.err.append("wolby: ").append(what).append(" '").append(text).append("'\n").append(kUsage);
        }
        break;
    }
    return line;
}

}  // namespace entry
