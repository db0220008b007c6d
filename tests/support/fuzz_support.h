// What the fuzz targets share: a scratch working directory (on a memory file
// system when there is one: some targets save a file on every input) and
// expectations that stop the run.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "tests/support/work_folder.h"

namespace wolby_fuzz {

// Enters a fresh directory once per process; later calls do nothing. It goes
// with the process when the process exits.
inline bool EnterScratchDirectory() {
    static wolby_test::WorkFolder folder("wolby-fuzz", wolby_test::WorkFolder::kMemory);
    static const bool entered = folder.Enter();
    return entered;
}

// Stops the run on a broken expectation: libFuzzer and the seed replay both
// report an abort with the input that caused it.
inline void Expect(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "expectation broken: %s\n", what);
        std::abort();
    }
}

}  // namespace wolby_fuzz
