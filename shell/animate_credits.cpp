#include "shell/animate_credits.h"

#include "screens/screen.h"
#include "shell/put_text.h"

// Kept across visits: the lines go on from where they were left.
std::int32_t g_creditsY = 100;
std::uint8_t g_creditsMovingDown = 0;

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
    DrawCreditsLines();
}

void DrawCreditsLines() {
    constexpr platform::Colour kBlue = 0xFF0000;
    PutText("WOLBY", kBlue, 0, 350, g_creditsY);
    PutText("Program: Zenobar", kBlue, 0, 300, g_creditsY + 100);
    PutText("Grafika: Zenobar", kBlue, 0, 300, g_creditsY + 150);
}
