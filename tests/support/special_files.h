// Files that are no regular file, made where the game looks for its own.
#pragma once

namespace test_support {

// A listening-less Unix socket bound at `path`; false when it cannot be made.
bool MakeSocket(const char* path);

}  // namespace test_support
