// The settings file's loader on any bytes of any length, through the real
// Settings::Load on "setting.dat", then a save and a second load.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "settings/settings.h"
#include "settings/text_mode.h"
#include "tests/support/byte_file.h"
#include "tests/support/fuzz_support.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/platform_files.h"

using wolby_fuzz::Expect;

namespace {

bool InRange(const Settings& s) {
    const auto within = [](int v, int low, int high) { return low <= v && v <= high; };
    return within(s.DiscColour(0), Settings::kMinColour, Settings::kMaxColour) &&
           within(s.DiscColour(1), Settings::kMinColour, Settings::kMaxColour) &&
           within(s.BoardSize(), Settings::kMinBoardSize, Settings::kMaxBoardSize) &&
           within(s.MoveSeconds(), Settings::kMinMoveSeconds, Settings::kMaxMoveSeconds) &&
           within(s.HumanPlayers(), Settings::kMinHumanPlayers, Settings::kMaxHumanPlayers);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Expect(wolby_fuzz::EnterScratchDirectory(), "a scratch directory");
    Expect(wolby_test::WriteBytes(Settings::kFileName, {data, size}), "the input as the settings file");

    wolby_test::ScriptedDialogs dialogs;
    Settings loaded;
    // Values no load may leave behind.
    loaded.discColour1 = loaded.discColour2 = loaded.boardSize = 77;
    loaded.moveSeconds = loaded.humanPlayers = -5;
    Expect(loaded.Load(wolby_test::kFiles, dialogs), "a file that exists loads");
    Expect(dialogs.TakeShown().empty(), "loading a file asks nothing");
    Expect(InRange(loaded), "every loaded value within the options' ranges");

    // A file with no byte that text mode translates is the record itself.
    bool plain = true;
    for (std::size_t i = 0; i < size && i < Settings::kImageSize; ++i) {
        plain = plain && data[i] != 0x0D && data[i] != 0x0A && data[i] != 0x1A;
    }
    if (plain && size >= Settings::kImageSize) {
        Expect(loaded.BoardSize() == std::clamp<int>(static_cast<std::int8_t>(data[6]), 5, 8),
               "a plain file's board size");
    }

    // What was loaded is saved as the image, and loads back unchanged.
    Expect(loaded.Save(wolby_test::kFiles, dialogs), "saving in the scratch directory");
    const std::array<std::uint8_t, Settings::kImageSize> image = loaded.Image();
    Expect(wolby_test::ReadBytes(Settings::kFileName) == EncodeTextMode(image), "the file holds the stored image");
    Settings again;
    Expect(again.Load(wolby_test::kFiles, dialogs), "the saved file loads");
    Expect(again.Image() == image, "a saved record loads back unchanged");
    return 0;
}
