// The settings file kept in the platform's files, as the game keeps it.
#pragma once

#include "platform/platform.h"
#include "settings/settings_store.h"

namespace wolby_test {

inline constexpr SettingsStore kFiles{platform::ReadFileHead, platform::ReplaceFileContents};

}  // namespace wolby_test
