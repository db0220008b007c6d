// The states both builds draw for the cross-build picture test, as one script
// of steps that each build's harness plays on its own platform: the Windows
// build under Wine (scenes_win32.cpp) and the Linux build on the headless
// backend (scenes_headless.cpp). A match of two people on an 8 x 8 board: the
// menu, the options, the opening board, the board after four moves, a disc half
// grown, and the end of the match (player 2 loses every disc on the ninth move).
// Each capture writes the screen's RGB565 pixels and the rectangles of every
// text drawn since the screen began (as that build's own text call reported
// them), so the comparison can leave exactly the text cells out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace cross {

constexpr std::int32_t kWidth = 800;
constexpr std::int32_t kHeight = 600;

struct Step {
    enum Kind {
        Move,              // the pointer to (x, y)
        Click,             // the pointer to (x, y) and the left button pressed there
        Escape,            // the ESC key
        Capture,           // the screen as it is now, as `name`
        CaptureHalfGrown,  // the screen when the next disc has grown four of its six steps, as `name`
    } kind;
    std::int32_t x = 0;
    std::int32_t y = 0;
    const char* name = nullptr;
    // The step leads to another screen: the texts noted so far are wiped by it.
    bool newScreen = false;
};

const std::vector<Step>& Script();
// The names of the captures, in the script's order.
std::vector<std::string> CaptureNames();

// The settings both builds start from: two people, 8 x 8, no clock, colours 1 and 2.
bool WriteSettings();

// Text rectangles of the current screen.
void NoteText(const platform::Rect& rect);
void ForgetTexts();

// Writes <folder>/<name>.rgb565 (the pixels, row after row, little-endian) and
// <folder>/<name>.texts (one "left top right bottom" a line). False on failure.
bool WriteCapture(const std::string& folder, const std::string& name, const std::vector<std::uint16_t>& pixels);

// The half-grown disc: armed by its step, caught after the fourth of the six
// ellipses the next disc grows through (30, 34, 38, 42, 46 and 50 pixels). Each harness calls EllipseDrawn after
// every ellipse; it answers the capture's name at that one, null otherwise.
void ArmHalfGrown(const char* name);
const char* EllipseDrawn();

}  // namespace cross
