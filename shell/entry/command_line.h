// The Linux program's command line: --window, --help and --version. What to
// print and with which status to end are worked out here, away from main(),
// so they can be tested without starting the game.
#pragma once

#include <span>
#include <string>

namespace entry {

struct CommandLine {
    bool run = true;        // false: end at once with `status`
    int status = 0;         // 0 after --help or --version, 2 after an unknown option
    bool windowed = false;  // --window
    std::string out;        // for standard output
    std::string err;        // for standard error
};

// The arguments after the program's name. They are read in order; the first
// --help, --version or argument the program does not know decides.
CommandLine ReadCommandLine(std::span<const char* const> arguments);

}  // namespace entry
