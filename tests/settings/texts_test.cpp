// The game's texts are code page 1250 bytes written as escapes; a wrong escape
// shows as a wrong letter on screen, so each is converted and compared with the
// Polish text as a person would type it.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "settings/settings.h"
#include "tests/support/cp1250.h"

namespace {

std::string Cp1250ToUtf8(const std::string& text) {
    const std::optional<std::string> utf8 = test_support::IconvCp1250ToUtf8(text);
    EXPECT_TRUE(utf8) << "not valid CP1250 (or no converter)";
    return utf8.value_or("");
}

TEST(TextsTest, SettingsDialogTextsAreThePolishOnes) {
    EXPECT_EQ(Cp1250ToUtf8(settings_text::kCaption), "Błąd");
    EXPECT_EQ(Cp1250ToUtf8(settings_text::kCannotOpen),
              "Nie można otworzyć pliku z ustawieniami.\n"
              "Czy kontynuować z ustawieniami defaultowymi?");
    EXPECT_EQ(Cp1250ToUtf8(settings_text::kCannotSave), "Nie można zapisać pliku z ustawieniami");
}

}  // namespace
