#include "screens/credits.h"

#include "screens/put_text.h"
#include "screens/screen.h"
#include "screens/sheet.h"

namespace {

// Black, and the strip at both sides.
void DrawStrips() {
    PaintBlack(0, 0, 640, 480);
    const platform::Rect left{0, 0, 100, 600};
    const platform::Rect right{ScreenWidth() - 100, 0, ScreenWidth(), 600};
    platform::Blt(g_primarySurface, &left, g_sheetSurface, &sheet::CreditsStrip, platform::DDBLT_WAIT);
    platform::Blt(g_primarySurface, &right, g_sheetSurface, &sheet::CreditsStrip, platform::DDBLT_WAIT);
}

// The title and the credit lines where the animation has them now.
void DrawLines() {
    constexpr platform::Colour kBlue = 0xFF0000;
    PutText("WOLBY", kBlue, 0, 350, g_creditsY);
    PutText("Program: Zenobar", kBlue, 0, 300, g_creditsY + 100);
    PutText("Grafika: Zenobar", kBlue, 0, 300, g_creditsY + 150);
}

}  // namespace

void ShowCredits() {
    g_screen = Screen::Credits;
    DrawStrips();
    platform::SetTimer(g_mainWindow, kCreditsTimer, 50);
}

void AnimateCredits() {
    // The band covers the title and the first credit line of the last step; the
    // second line, just below it, is covered by its own opaque redrawing.
    PaintBlack(100, g_creditsY, 540, g_creditsY + 150);
    g_creditsY += g_creditsMovingDown ? 1 : -1;
    if (g_creditsY > 150) {
        g_creditsMovingDown = 0;
    } else if (g_creditsY < 100) {
        g_creditsMovingDown = 1;
    }
    DrawLines();
}

void RedrawCredits() {
    PaintBlack(0, 0, ScreenWidth(), ScreenHeight());
    DrawStrips();
    DrawLines();
}
