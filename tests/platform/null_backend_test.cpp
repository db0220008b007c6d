// The headless backend with nothing driving it, as the text-lines tool and a
// new platform meet it: a program runs to its end instead of waiting, the
// clock moves only by Sleep, boxes answer as if closed, nothing is refused.
// Its own program: the tests' controls, linked, would drive it.
#include <gtest/gtest.h>

#include "platform/platform.h"

using namespace platform;

namespace {

std::intptr_t Ignore(Window window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    return DefWindowProc(window, message, wParam, lParam);
}

// The one window, made by whichever test comes first.
Window TheWindow() {
    static const Window window =
        RegisterClassEx("Wolby", &Ignore) ? CreateWindowEx("Wolby", "Wolby", 0, 0, 1024, 768) : nullptr;
    return window;
}

TEST(NullBackend, RunsAProgramToItsEndOnAClockOnlySleepMoves) {
    const Window window = TheWindow();
    ASSERT_NE(window, nullptr);
    SetTimer(window, 7, 100);
    Message message;
    // Nothing is queued and the clock stands still: the loop ends, as told to quit.
    EXPECT_FALSE(GetMessage(&message));
    EXPECT_EQ(message.message, WM_QUIT);
    Sleep(100);  // the tick falls due
    ASSERT_TRUE(GetMessage(&message));
    EXPECT_EQ(message.message, WM_TIMER);
    EXPECT_EQ(message.wParam, 7u);
    EXPECT_FALSE(GetMessage(&message));
}

TEST(NullBackend, AnswersEveryBoxAsClosedAndRefusesNoDisplayCall) {
    EXPECT_EQ(MessageBox(nullptr, "Zapisa\xe6?", "Wolby", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBox(nullptr, nullptr, nullptr, MB_OK | MB_ICONHAND), IDOK);
    ASSERT_NE(TheWindow(), nullptr);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);  // the desktop, until the mode is set
    DirectDraw directDraw = nullptr;
    ASSERT_TRUE(DirectDrawCreate(&directDraw));
    EXPECT_TRUE(SetCooperativeLevel(directDraw, TheWindow(), DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE));
    EXPECT_TRUE(SetDisplayMode(directDraw, 800, 600, 16));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
    Surface primary = nullptr;
    ASSERT_TRUE(CreatePrimarySurface(directDraw, &primary));
    const DrawingContext context = GetDC(primary);
    EXPECT_NE(context, nullptr);
    ReleaseDC(primary, context);
    ReleaseSurface(primary);
}

}  // namespace
