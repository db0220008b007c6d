// The Linux build's pictures of the scenes (scenes.txt): each scene played by
// the whole game on the headless backend, a fresh game folder for each. A
// browser scene's shots are raw RGB files (800 x 600 x 3 bytes, the surface's
// pixels widened as the browser build widens them), a Windows scene's are
// RGB565 with their text rectangles (scenes.h). A step that changes nothing on
// the screen is reported: the scene would not check what it says.
// usage: wolby_scenes <scenes.txt> <sheet file> <output folder> [browser|windows]
//   (the scenes of that kind only; without it, every scene)
//
// Two of the platform's calls are seen on their way from the game: the link
// wraps them (--wrap), so the game's calls reach the two functions below and
// the platform's own are reached as __real_*. A text's rectangle is the one
// the text call marks as drawn on the surface; an ellipse may be a growing disc's.
#include <cstdio>
#include <filesystem>
#include <vector>

#include "platform/common/surface.h"
#include "tests/support/headless_controls.h"
#include "screens/program_state.h"
#include "settings/settings.h"
#include "shell/win_main.h"
#include "tests/scenes/scenes.h"
#include "tests/support/byte_file.h"
#include "tests/support/platform_files.h"
#include "tests/support/work_folder.h"

namespace fs = std::filesystem;
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

class NoDialogs final : public SettingsDialogs {
public:
    bool AskYesNo(const char*, const char*) override { return false; }
    void Tell(const char*, const char*) override {}
};

// The scene being played: a Windows one keeps its texts and catches growing discs.
const scenes::Scene* g_scene = nullptr;
fs::path g_out;
bool g_good = true;
std::size_t g_shots = 0;  // written in the scene

std::vector<std::uint8_t> Screen() {
    std::vector<std::uint8_t> rgb;
    rgb.reserve(scenes::kWidth * scenes::kHeight * 3);
    for (std::int32_t y = 0; y < scenes::kHeight; ++y) {
        for (std::int32_t x = 0; x < scenes::kWidth; ++x) {
            const platform::Colour c = platform::headless::PixelAt(x, y);
            rgb.push_back(static_cast<std::uint8_t>(c & 0xFF));
            rgb.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
            rgb.push_back(static_cast<std::uint8_t>((c >> 16) & 0xFF));
        }
    }
    return rgb;
}

void Shot(const std::string& name) {
    bool written = false;
    if (g_scene->windows) {
        std::vector<std::uint16_t> pixels;
        for (std::int32_t y = 0; y < scenes::kHeight; ++y)
            for (std::int32_t x = 0; x < scenes::kWidth; ++x) pixels.push_back(platform::headless::RawPixelAt(x, y));
        written = scenes::WriteShot(g_out.string(), name, pixels, g_screen);
    } else {
        written = wolby_test::WriteBytes(g_out / (name + ".rgb"), Screen());
    }
    g_shots += written;
    if (!written) std::fprintf(stderr, "scene %s: cannot write %s\n", g_scene->name.c_str(), name.c_str());
    g_good = written && g_good;
}

// Plays the scene in the current folder, a fresh process for each run of the
// game (the first, and one after each reload); false when it went wrong.
bool Play(const scenes::Scene& scene) {
    using scenes::Step;
    g_scene = &scene;
    g_shots = 0;
    if (scene.settings.empty()) {
        Settings defaults;
        defaults.SetDefaults();
        NoDialogs dialogs;
        if (!defaults.Save(wolby_test::kFiles, dialogs)) return false;
    } else if (!wolby_test::WriteBytes("setting.dat", scene.settings)) {
        return false;
    }
    std::size_t next = 0;
    while (next <= scene.steps.size()) {
        platform::headless::Reset();
        ResetProgramState();
        std::vector<std::uint8_t> beforeInput;
        bool inputPending = false;
        bool closing = false;
        int seriesLeft = 0;
        const Step* series = nullptr;
        // At each idle moment: the shots, then the next input (or the end of this run).
        platform::headless::SetIdleHandler([&] {
            const std::vector<std::uint8_t> now = Screen();
            if (inputPending && now == beforeInput) {
                std::fprintf(stderr, "scene %s: step %zu changed nothing on the screen\n", scene.name.c_str(), next);
                g_good = false;
            }
            inputPending = false;
            if (series != nullptr) {
                Shot(series->name + "-" + std::to_string(series->x - seriesLeft));
                if (--seriesLeft > 0) {
                    platform::headless::AdvanceTime(series->y);
                    return;
                }
                series = nullptr;
                ++next;
            }
            for (; next < scene.steps.size(); ++next) {
                if (scene.steps[next].kind == Step::Shot) {
                    Shot(scene.steps[next].name);
                } else if (scene.steps[next].kind == Step::Growing) {
                    scenes::ArmGrowing(scene.steps[next]);
                } else {
                    break;
                }
            }
            if (closing) return;  // a stall if the game goes on
            if (next == scene.steps.size() || scene.steps[next].kind == Step::Reload) {
                platform::headless::CloseWindow();
                closing = true;
                return;
            }
            const Step& step = scene.steps[next];
            beforeInput = now;
            inputPending = step.kind != Step::Series;
            switch (step.kind) {
                case Step::Move: platform::headless::PostMouseMove(step.x, step.y); break;
                case Step::Click: platform::headless::PostLeftClick(step.x, step.y); break;
                case Step::Escape: platform::headless::PostKey(platform::VK_ESCAPE); break;
                case Step::Wait: platform::headless::AdvanceTime(step.x); break;
                case Step::Series:
                    series = &step;
                    seriesLeft = step.x;
                    Shot(step.name + "-0");
                    if (--seriesLeft > 0) {
                        platform::headless::AdvanceTime(step.y);
                        return;
                    }
                    series = nullptr;
                    break;
                case Step::Shot:
                case Step::Growing:
                case Step::Reload: break;
            }
            if (series == nullptr) ++next;
        });
        const int status = WinMain();
        if (platform::headless::TakeStall() || status != 1) {
            std::fprintf(stderr, "scene %s: the game stopped before its end (status %d)\n", scene.name.c_str(),
                         status);
            return false;
        }
        if (!platform::headless::TakeShownMessageBoxes().empty()) {
            std::fprintf(stderr, "scene %s: a message box showed\n", scene.name.c_str());
            return false;
        }
        ++next;  // past the reload (or the end)
    }
    std::size_t expected = 0;
    for (const Step& step : scene.steps)
        expected += step.kind == Step::Series ? static_cast<std::size_t>(step.x) : step.kind == Step::Shot || step.kind == Step::Growing;
    if (g_shots != expected) {
        std::fprintf(stderr, "scene %s: %zu of its %zu pictures written\n", scene.name.c_str(), g_shots, expected);
        return false;
    }
    return true;
}

}  // namespace

bool SeenTextOut(DrawingContext context, std::int32_t x, std::int32_t y, const char* text, std::int32_t length) {
    if (context == nullptr || !g_scene->windows) return RealTextOut(context, x, y, text, length);
    // What the call marks as drawn, alone: the region is emptied for it and given back after.
    platform::common::DirtyRegion& dirty = context->surface->dirty;
    const platform::common::DirtyRegion before = dirty;
    dirty.Clear();
    const bool drawn = RealTextOut(context, x, y, text, length);
    for (int i = 0; i < dirty.Count(); ++i) scenes::NoteText(dirty[i], g_screen);
    for (int i = 0; i < before.Count(); ++i) dirty.Add(before[i], context->surface->width, context->surface->height);
    return drawn;
}

bool SeenEllipse(DrawingContext context, std::int32_t left, std::int32_t top, std::int32_t right,
                 std::int32_t bottom) {
    const bool drawn = RealEllipse(context, left, top, right, bottom);
    if (const scenes::Step* step = scenes::EllipseDrawn()) Shot(step->name);
    return drawn;
}

int main(int argc, char** argv) {
    const std::string kind = argc == 5 ? argv[4] : "";
    if ((argc != 4 && argc != 5) || (argc == 5 && kind != "browser" && kind != "windows")) {
        std::fprintf(stderr, "usage: %s <scenes.txt> <sheet file> <output folder> [browser|windows]\n", argv[0]);
        return 2;
    }
    std::vector<scenes::Scene> all;
    std::string error;
    if (!scenes::Read(argv[1], &all, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    g_out = fs::absolute(argv[3]);
    const fs::path sheet = fs::absolute(argv[2]);
    fs::create_directories(g_out);
    for (const scenes::Scene& scene : all) {
        if (!kind.empty() && scene.windows != (kind == "windows")) continue;
        // A fresh game folder for each scene.
        wolby_test::WorkFolder folder("wolby-scene");
        if (!folder.AddSheet(sheet) || !folder.Enter()) {
            std::fprintf(stderr, "scene %s: no game folder\n", scene.name.c_str());
            return 1;
        }
        g_good = Play(scene) && g_good;
    }
    return g_good ? 0 : 1;
}
