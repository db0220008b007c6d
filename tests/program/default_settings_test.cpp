// The default settings file the launcher gives a new player (built by
// tools/make_default_settings.cpp) against what the game itself writes.
#include <filesystem>

#include "screens/screen.h"
#include "screens/sheet.h"
#include "tests/support/byte_file.h"
#include "tests/support/program_fixture.h"
#include "tests/support/clicks.h"

namespace wolby_test {
namespace {

namespace headless = platform::headless;

Bytes SeedFile() { return ReadBytes(WOLBY_DEFAULT_SETTINGS_FILE); }

TEST_F(Program, TheSeededSettingsFileIsWhatTheExitItemWritesForTheDefaults) {
    const std::vector<std::uint8_t> seed = SeedFile();
    ASSERT_EQ(seed.size(), 12u) << WOLBY_DEFAULT_SETTINGS_FILE;

    // A player with no file answers the question with Yes and leaves at once.
    headless::ScriptMessageBoxAnswer(platform::IDYES);
    ASSERT_EQ(Run({[] { ClickMenuItem(MenuItem::Exit); }}), 1);
    EXPECT_EQ(headless::TakeShownMessageBoxes().size(), 1u);
    EXPECT_EQ(ReadSettingsFile(), seed);
}

TEST_F(Program, WithTheSeededFileTheFirstStartOpensOnTheMenuWithNoQuestion) {
    std::filesystem::copy_file(WOLBY_DEFAULT_SETTINGS_FILE, "setting.dat");
    const int status = Run({
        [] {
            EXPECT_TRUE(ShowsPiece(sheet::MenuPicture, 240, 50));
            ClickMenuItem(MenuItem::Exit);
        },
    });
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(headless::TakeShownMessageBoxes().empty());
    EXPECT_EQ(ReadSettingsFile(), SeedFile());
}

}  // namespace
}  // namespace wolby_test
