// Starts the headless display as the game does and gives the tests short names
// for drawing on it.
#pragma once

#include <gtest/gtest.h>

#include "tests/support/headless_controls.h"
#include "screens/program_state.h"
#include "tests/support/display.h"

namespace wolby_test {

inline platform::Colour Q(platform::Colour colour) { return platform::headless::Quantised(colour); }

class ScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::headless::Reset();
        ResetProgramState();
        ASSERT_TRUE(StartDisplay(&ScreenTest::Procedure));
    }
    void TearDown() override {
        platform::headless::Reset();
        ResetProgramState();
    }

    static std::intptr_t Procedure(platform::Window window, unsigned message, std::uintptr_t wParam,
                                   std::intptr_t lParam) {
        return platform::DefWindowProc(window, message, wParam, lParam);
    }

    // Fills exactly `r` of the surface with one colour, by stretching a one-pixel surface.
    static void Fill(platform::Surface surface, platform::Rect r, platform::Colour colour) {
        platform::Surface dot = nullptr;
        ASSERT_TRUE(platform::CreateOffscreenSurface(g_directDraw, 1, 1, &dot));
        platform::DrawingContext dc = platform::GetDC(dot);
        ASSERT_NE(dc, nullptr);
        platform::Brush brush = platform::CreateSolidBrush(colour);
        platform::Brush old = platform::SelectObject(dc, brush);
        platform::Rectangle(dc, -1, -1, 2, 2);  // its inside is the one pixel
        platform::SelectObject(dc, old);
        platform::ReleaseDC(dot, dc);
        platform::DeleteObject(brush);
        platform::Blt(surface, &r, dot, nullptr, platform::DDBLT_WAIT);
    }
    static void Paint(platform::Rect r, platform::Colour colour) { Fill(g_primarySurface, r, colour); }

    static platform::Colour At(std::int32_t x, std::int32_t y) {
        return platform::headless::PixelAt(x, y);
    }
};

}  // namespace wolby_test
