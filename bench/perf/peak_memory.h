// The process's peak resident memory, as the figures of the window report it.
#pragma once

#include <cstdlib>
#include <fstream>
#include <string>

// In KiB; -1 when the system does not tell.
inline long PeakResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return -1;
}
