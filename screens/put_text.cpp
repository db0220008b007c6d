#include "screens/put_text.h"

#include <cstring>

#include "screens/program_state.h"

void PutText(const char* text, platform::Colour textColour, platform::Colour backColour,
             std::int32_t x, std::int32_t y) {
    if (text == nullptr) return;
    // The screen's size is asked at each call; a point exactly at the width or
    // height is still attempted (and clipped away by the surface).
    if (x > platform::GetSystemMetrics(platform::SM_CXSCREEN) || x < 0) return;
    if (y > platform::GetSystemMetrics(platform::SM_CYSCREEN) || y < 0) return;
    platform::DrawingContext context = platform::GetDC(g_primarySurface);
    if (context == nullptr) return;
    platform::SetBkColor(context, backColour);
    platform::SetTextColor(context, textColour);
    platform::TextOut(context, x, y, text, static_cast<std::int32_t>(std::strlen(text)));
    platform::ReleaseDC(g_primarySurface, context);
}
