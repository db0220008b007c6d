#include "screens/screen.h"

#include "match/game.h"

std::int32_t ScreenWidth() { return platform::GetSystemMetrics(platform::SM_CXSCREEN); }
std::int32_t ScreenHeight() { return platform::GetSystemMetrics(platform::SM_CYSCREEN); }

void PaintWithBrush(platform::Brush brush, std::int32_t left, std::int32_t top,
                    std::int32_t right, std::int32_t bottom) {
    platform::DrawingContext context = platform::GetDC(g_primarySurface);
    if (context == nullptr) return;
    platform::Brush previous = platform::SelectObject(context, brush);
    platform::Rectangle(context, left, top, right, bottom);
    platform::SelectObject(context, previous);
    platform::ReleaseDC(g_primarySurface, context);
}

void PaintBlack(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    platform::Brush black = platform::CreateSolidBrush(0x000000);
    PaintWithBrush(black, left, top, right, bottom);
    platform::DeleteObject(black);
}

void DrawPiece(const platform::Rect& piece, std::int32_t x, std::int32_t y) {
    platform::BltFast(g_primarySurface, x, y, g_sheetSurface, &piece, platform::DDBLTFAST_NOCOLORKEY);
}

std::int32_t Ask(Command op, std::int32_t a1, std::int32_t a2, std::int32_t a3, std::int32_t a4) {
    return g_game.Execute(PackCommand(op, a1, a2, a3, a4, 0));
}
