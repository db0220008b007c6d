// The scenes of scenes.txt: what a person does and the pictures the game must
// then show, read into steps. Each build's player plays them: the Linux build
// on the headless backend (headless.cpp) and the Windows build under Wine
// (win32.cpp); the browser checks read the same file (tests/web/browser.mjs).
// A Windows scene's pictures are compared outside their text cells, so its
// shots also keep the rectangles of the texts on the screen (the helpers below).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace scenes {

constexpr std::int32_t kWidth = 800;
constexpr std::int32_t kHeight = 600;

struct Step {
    // Reload: the page is loaded again (or the browser started again): a new
    // run of the game with what it kept.
    enum Kind { Move, Click, Escape, Wait, Shot, Series, Reload, Growing } kind = Move;
    std::int32_t x = 0;  // Move, Click: the picture's point; Wait: milliseconds; Series: shots; Growing: ellipses
    std::int32_t y = 0;  // Series: milliseconds between them
    std::string name;    // Shot, Series, Growing
};

struct Scene {
    std::string name;
    bool windows = false;                // for the Windows build against the Linux build, not the browser
    std::vector<std::uint8_t> settings;  // empty: the default settings
    std::vector<Step> steps;
};

// False, with the line and why in `error`, for a file it cannot read.
bool Read(const std::string& path, std::vector<Scene>* scenes, std::string* error);

// The names of a Windows scene's pictures, in its order.
std::vector<std::string> ShotNames(const Scene& scene);

// ---------------------------------------------------------------- a Windows scene's pictures
// A text's rectangle as the build's own text call reports it, on the screen
// shown (a Screen value): texts of an earlier screen are forgotten.
void NoteText(const platform::Rect& rect, std::int32_t screen);

// Writes <folder>/<name>.rgb565 (the pixels, row after row, little-endian) and
// <folder>/<name>.texts (the screen's texts, one "left top right bottom" a
// line). False on failure.
bool WriteShot(const std::string& folder, const std::string& name, const std::vector<std::uint16_t>& pixels,
               std::int32_t screen);

// A Growing step: armed when it is reached, it counts the ellipses drawn from
// then on (a disc grows through six: 30, 34 ... 50 pixels). Each player calls
// EllipseDrawn after every ellipse; it answers the step at its count, null otherwise.
void ArmGrowing(const Step& step);
const Step* EllipseDrawn();

}  // namespace scenes
