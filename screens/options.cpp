#include "screens/options.h"

#include <cstdio>

#include "match/game.h"
#include "screens/match.h"
#include "screens/menu.h"
#include "screens/put_text.h"
#include "screens/screen.h"
#include "screens/sheet.h"
#include "settings/settings.h"

namespace {

constexpr platform::Colour kTextColour = 0xC8C864;  // RGB(100, 200, 200)
constexpr platform::Colour kBlack = 0x000000;

constexpr std::int32_t kLabelX = 100;
constexpr std::int32_t kValueX = 440;

using namespace options_layout;

bool Inside(std::int32_t low, std::int32_t v, std::int32_t high) { return low < v && v < high; }

void DrawSwatch(std::int32_t player) {
    const std::int32_t y = kRowY[player == 0 ? Colour1 : Colour2];
    PaintWithBrush(player == 0 ? g_discBrush1 : g_discBrush2, kValueX, y, kValueX + 40, y + 20);
}

void DrawNumber(const char* format, std::int32_t value, std::int32_t y) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    PutText(text, kTextColour, kBlack, kValueX, y);
}

void DrawSize(std::int32_t size) {
    char text[32];
    std::snprintf(text, sizeof text, " %ix%i", size, size);
    PutText(text, kTextColour, kBlack, kValueX, kRowY[BoardSize]);
}

// One step of a number row: draw the new value, then send it.
void StepNumber(Row row, std::int32_t delta) {
    static constexpr Command kRead[] = {Command::GetBoardSize, Command::GetHumanPlayers,
                                        Command::GetMoveSeconds};
    static constexpr Command kWrite[] = {Command::SetBoardSize, Command::SetHumanPlayers,
                                         Command::SetMoveSeconds};
    static constexpr std::int32_t kLowest[] = {Settings::kMinBoardSize, Settings::kMinHumanPlayers,
                                               Settings::kMinMoveSeconds};
    static constexpr std::int32_t kHighest[] = {Settings::kMaxBoardSize, Settings::kMaxHumanPlayers,
                                                Settings::kMaxMoveSeconds};

    const std::int32_t v = Ask(kRead[row]);
    // No wrap-around: an arrow does nothing at its end of the range. A value
    // outside the range can only be moved back toward it.
    if (delta < 0 ? v <= kLowest[row] : v >= kHighest[row]) return;
    const std::int32_t next = v + delta;
    if (row == BoardSize) {
        DrawSize(next);
    } else {
        DrawNumber("   %i ", next, kRowY[row]);
    }
    Ask(kWrite[row], next);
}

void StepColour(std::int32_t player, std::int32_t delta) {
    const std::int32_t c = Ask(Command::GetDiscColour, player);
    if (delta < 0 ? c <= Settings::kMinColour : c >= Settings::kMaxColour) return;
    // Without a drawing context the swatch could not show it: the colour stays.
    platform::DrawingContext context = platform::GetDC(g_primarySurface);
    if (context == nullptr) return;
    Ask(Command::SetDiscColour, player, c + delta);
    MakeDiscBrushes();
    const std::int32_t y = kRowY[player == 0 ? Colour1 : Colour2];
    platform::Brush previous = platform::SelectObject(context, player == 0 ? g_discBrush1 : g_discBrush2);
    platform::Rectangle(context, kValueX, y, kValueX + 40, y + 20);
    platform::SelectObject(context, previous);
    platform::ReleaseDC(g_primarySurface, context);
}

void Step(std::int32_t y, std::int32_t delta) {
    for (int row = 0; row < RowCount; ++row) {
        if (!Inside(kRowY[row], y, kRowY[row] + kRowHeight)) continue;
        if (row == Colour1 || row == Colour2) {
            StepColour(row == Colour1 ? 0 : 1, delta);
        } else {
            StepNumber(static_cast<Row>(row), delta);
        }
        return;
    }
}

void DrawFrame() {
    const std::int32_t w = ScreenWidth();
    const std::int32_t h = ScreenHeight();
    for (std::int32_t x = 0; x < w; x += 50) {
        for (std::int32_t y = 0; y < h; y += 50) {
            if (x < 20 || y < 20 || y > h - 70 || x > w - 70) DrawPiece(sheet::OptionsFrameTile, x, y);
        }
    }
}

}  // namespace

void ShowOptions() {
    g_screen = Screen::Options;
    DrawOptions();
}

void DrawOptions() {
    PaintBlack(0, 0, ScreenWidth(), ScreenHeight());
    for (int row = 0; row < RowCount; ++row) PutText(kLabels[row], kTextColour, kBlack, kLabelX, kRowY[row]);
    DrawSize(Ask(Command::GetBoardSize));
    DrawNumber("   %i", Ask(Command::GetHumanPlayers), kRowY[HumanPlayers]);
    DrawNumber("   %i", Ask(Command::GetMoveSeconds), kRowY[MoveSeconds]);
    MakeDiscBrushes();
    DrawSwatch(0);
    DrawSwatch(1);
    for (int row = 0; row < RowCount; ++row) DrawPiece(sheet::ArrowLeft, kLeftArrowX, kRowY[row]);
    for (int row = 0; row < RowCount; ++row) DrawPiece(sheet::ArrowRight, kRightArrowX, kRowY[row]);
    DrawPiece(sheet::BackButton, kBackButton.left, kBackButton.top);
    DrawFrame();
}

void OptionsClick(std::int32_t x, std::int32_t y) {
    if (Inside(kBackButton.left, x, kBackButton.right) && Inside(kBackButton.top, y, kBackButton.bottom)) {
        g_screen = Screen::Menu;
        Ask(Command::SaveSettings);
        DrawMenu();
    } else if (Inside(kLeftArrowX, x, kLeftArrowX + kArrowWidth)) {
        Step(y, -1);
    } else if (Inside(kRightArrowX, x, kRightArrowX + kArrowWidth)) {
        Step(y, +1);
    }
}
