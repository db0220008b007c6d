// The pictures the browser game must show: each scene of scenes.txt played by
// the Linux build on the headless backend, its shots written as raw RGB files
// (800 x 600 x 3 bytes, the surface's pixels widened as the browser build
// widens them). A step that changes nothing on the screen is reported: the
// scene would not check what it says.
// usage: wolby_reference_pictures <scenes.txt> <sheet file> <output folder>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "tests/support/headless_controls.h"
#include "screens/program_state.h"
#include "settings/settings.h"
#include "shell/win_main.h"
#include "tests/support/byte_file.h"
#include "tests/support/work_folder.h"
#include "tests/web/scenes.h"
#include "tests/support/platform_files.h"

namespace fs = std::filesystem;

namespace {

class NoDialogs final : public SettingsDialogs {
public:
    bool AskYesNo(const char*, const char*) override { return false; }
    void Tell(const char*, const char*) override {}
};

std::vector<std::uint8_t> Screen() {
    std::vector<std::uint8_t> rgb;
    rgb.reserve(800 * 600 * 3);
    for (std::int32_t y = 0; y < 600; ++y) {
        for (std::int32_t x = 0; x < 800; ++x) {
            const platform::Colour c = platform::headless::PixelAt(x, y);
            rgb.push_back(static_cast<std::uint8_t>(c & 0xFF));
            rgb.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
            rgb.push_back(static_cast<std::uint8_t>((c >> 16) & 0xFF));
        }
    }
    return rgb;
}

// Plays the scene in the current folder, a fresh process for each run of the
// game (the first, and one after each reload); false when it went wrong.
bool Play(const web_scenes::Scene& scene, const fs::path& out) {
    using web_scenes::Step;
    if (scene.settings.empty()) {
        Settings defaults;
        defaults.SetDefaults();
        NoDialogs dialogs;
        if (!defaults.Save(wolby_test::kFiles, dialogs)) return false;
    } else if (!wolby_test::WriteBytes("setting.dat", scene.settings)) {
        return false;
    }
    bool good = true;
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
                good = false;
            }
            inputPending = false;
            if (series != nullptr) {
                const int index = series->x - seriesLeft;
                good = wolby_test::WriteBytes(out / (series->name + "-" + std::to_string(index) + ".rgb"), now) && good;
                if (--seriesLeft > 0) {
                    platform::headless::AdvanceTime(series->y);
                    return;
                }
                series = nullptr;
                ++next;
            }
            for (; next < scene.steps.size() && scene.steps[next].kind == Step::Shot; ++next) {
                good = wolby_test::WriteBytes(out / (scene.steps[next].name + ".rgb"), now) && good;
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
                    good = wolby_test::WriteBytes(out / (step.name + "-0.rgb"), now) && good;
                    if (--seriesLeft > 0) {
                        platform::headless::AdvanceTime(step.y);
                        return;
                    }
                    series = nullptr;
                    break;
                case Step::Shot:
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
    return good;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <scenes.txt> <sheet file> <output folder>\n", argv[0]);
        return 2;
    }
    std::vector<web_scenes::Scene> scenes;
    std::string error;
    if (!web_scenes::Read(argv[1], &scenes, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const fs::path out = fs::absolute(argv[3]);
    const fs::path sheet = fs::absolute(argv[2]);
    fs::create_directories(out);
    bool good = true;
    for (const web_scenes::Scene& scene : scenes) {
        // A fresh game folder for each scene.
        wolby_test::WorkFolder folder("wolby-reference");
        if (!folder.AddSheet(sheet) || !folder.Enter()) {
            std::fprintf(stderr, "scene %s: no game folder\n", scene.name.c_str());
            return 1;
        }
        good = Play(scene, out) && good;
    }
    return good ? 0 : 1;
}
