// The game's texts are code page 1250 bytes written as escapes; a wrong escape
// shows as a wrong letter on screen, so each is converted and compared with the
// Polish text as a person would type it.
#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "settings/settings.h"

namespace {

std::string Cp1250ToUtf8(const std::string& text) {
    iconv_t converter = iconv_open("UTF-8", "CP1250");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        ADD_FAILURE() << "no CP1250 converter";
        return {};
    }
    std::string in = text;
    std::string out(text.size() * 4, '\0');
    char* from = in.data();
    char* to = out.data();
    std::size_t fromLeft = in.size();
    std::size_t toLeft = out.size();
    const std::size_t converted = iconv(converter, &from, &fromLeft, &to, &toLeft);
    iconv_close(converter);
    EXPECT_NE(converted, static_cast<std::size_t>(-1)) << "not valid CP1250";
    out.resize(out.size() - toLeft);
    return out;
}

TEST(TextsTest, SettingsDialogTextsAreThePolishOnes) {
    EXPECT_EQ(Cp1250ToUtf8(settings_text::kCaption), "Błąd");
    EXPECT_EQ(Cp1250ToUtf8(settings_text::kCannotOpen),
              "Nie można otworzyć pliku z ustawieniami.\n"
              "Czy kontynuować z ustawieniami defaultowymi?");
    EXPECT_EQ(Cp1250ToUtf8(settings_text::kCannotSave), "Nie można zapisać pliku z ustawieniami");
}

}  // namespace
