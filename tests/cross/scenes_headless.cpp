// The Linux build's side of the cross-build picture test: the whole game on
// the headless backend, played through the script of scenes.h, each capture
// written to the folder given. Run it in a folder that holds zdj/15.bmp.
//   usage: wolby_cross_scenes_headless <output folder>
//
// Two of the platform's calls are seen on their way from the game: the link
// wraps them (--wrap), so the game's calls reach the two functions below and
// the platform's own are reached as __real_*. A text's rectangle is the one
// the text call marks as drawn on the surface; an ellipse may be the third of
// the half-grown disc.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/common/surface.h"
#include "tests/support/headless_controls.h"
#include "screens/program_state.h"
#include "shell/win_main.h"
#include "tests/cross/scenes.h"

using platform::DrawingContext;

bool RealTextOut(DrawingContext, std::int32_t, std::int32_t, const char*, std::int32_t) __asm__(
    "__real__ZN8platform7TextOutEPNS_20DrawingContextObjectEiiPKci");
bool RealEllipse(DrawingContext, std::int32_t, std::int32_t, std::int32_t, std::int32_t) __asm__(
    "__real__ZN8platform7EllipseEPNS_20DrawingContextObjectEiiii");
bool SeenTextOut(DrawingContext, std::int32_t, std::int32_t, const char*, std::int32_t) __asm__(
    "__wrap__ZN8platform7TextOutEPNS_20DrawingContextObjectEiiPKci");
bool SeenEllipse(DrawingContext, std::int32_t, std::int32_t, std::int32_t, std::int32_t) __asm__(
    "__wrap__ZN8platform7EllipseEPNS_20DrawingContextObjectEiiii");

namespace {

std::string g_folder;
int g_written = 0;
bool g_failed = false;

std::vector<std::uint16_t> Screen() {
    std::vector<std::uint16_t> pixels;
    for (std::int32_t y = 0; y < cross::kHeight; ++y)
        for (std::int32_t x = 0; x < cross::kWidth; ++x) pixels.push_back(platform::headless::RawPixelAt(x, y));
    return pixels;
}

void Capture(const char* name) {
    if (cross::WriteCapture(g_folder, name, Screen())) {
        ++g_written;
    } else {
        std::fprintf(stderr, "wolby_cross_scenes_headless: cannot write %s in %s\n", name, g_folder.c_str());
        g_failed = true;
    }
}

// Plays the script's steps up to and including the next one that gives the
// game input; the ones before it only look. After the last, the window closes.
std::size_t g_next = 0;
void PlayOn() {
    const std::vector<cross::Step>& script = cross::Script();
    while (g_next < script.size()) {
        const cross::Step& step = script[g_next++];
        if (step.newScreen) cross::ForgetTexts();
        switch (step.kind) {
            case cross::Step::Move: platform::headless::PostMouseMove(step.x, step.y); return;
            case cross::Step::Click: platform::headless::PostLeftClick(step.x, step.y); return;
            case cross::Step::Escape: platform::headless::PostKey(platform::VK_ESCAPE); return;
            case cross::Step::Capture: Capture(step.name); break;
            case cross::Step::CaptureHalfGrown: cross::ArmHalfGrown(step.name); break;
        }
    }
    platform::headless::CloseWindow();
}

}  // namespace

bool SeenTextOut(DrawingContext context, std::int32_t x, std::int32_t y, const char* text, std::int32_t length) {
    if (context == nullptr) return RealTextOut(context, x, y, text, length);
    // What the call marks as drawn, alone: the region is emptied for it and given back after.
    platform::common::DirtyRegion& dirty = context->surface->dirty;
    const platform::common::DirtyRegion before = dirty;
    dirty.Clear();
    const bool drawn = RealTextOut(context, x, y, text, length);
    for (int i = 0; i < dirty.Count(); ++i) cross::NoteText(dirty[i]);
    for (int i = 0; i < before.Count(); ++i) dirty.Add(before[i], context->surface->width, context->surface->height);
    return drawn;
}

bool SeenEllipse(DrawingContext context, std::int32_t left, std::int32_t top, std::int32_t right,
                 std::int32_t bottom) {
    const bool drawn = RealEllipse(context, left, top, right, bottom);
    if (const char* name = cross::EllipseDrawn()) Capture(name);
    return drawn;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: wolby_cross_scenes_headless <output folder>\n");
        return 2;
    }
    g_folder = argv[1];
    if (!cross::WriteSettings()) {
        std::fprintf(stderr, "wolby_cross_scenes_headless: cannot write setting.dat here\n");
        return 1;
    }
    platform::headless::Reset();
    platform::headless::SetIdleHandler(PlayOn);
    const int status = WinMain();
    const bool stalled = platform::headless::TakeStall();
    const std::size_t expected = cross::CaptureNames().size();
    if (status != 1 || stalled || g_failed || g_written != static_cast<int>(expected)) {
        std::fprintf(stderr, "wolby_cross_scenes_headless: exit %d%s, %d of %zu screens written\n", status,
                     stalled ? " after a stall" : "", g_written, expected);
        return 1;
    }
    return 0;
}
