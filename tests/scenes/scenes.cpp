#include "tests/scenes/scenes.h"

#include <fstream>
#include <sstream>

#include "tests/support/rect.h"

namespace scenes {
namespace {

// A click lands 15 pixels right of the pointer; the board's square (c, r)
// covers 50 x 50 pixels from (100 + 51c, 100 + 51r).
constexpr std::int32_t kProng = 15;
std::int32_t SquareMiddleX(std::int32_t column) { return 100 + 51 * column + 25 - kProng; }
std::int32_t SquareMiddleY(std::int32_t row) { return 100 + 51 * row + 25; }

bool Hex(const std::string& text, std::vector<std::uint8_t>* bytes) {
    if (text.size() % 2 != 0) return false;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        unsigned value = 0;
        std::istringstream in(text.substr(i, 2));
        if (!(in >> std::hex >> value)) return false;
        bytes->push_back(static_cast<std::uint8_t>(value));
    }
    return true;
}

}  // namespace

bool Read(const std::string& path, std::vector<Scene>* scenes, std::string* error) {
    std::ifstream in(path);
    if (!in) {
        *error = path + ": cannot be read";
        return false;
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        std::istringstream words(line);
        std::string word, text;
        if (!(words >> word) || word[0] == '#') continue;
        const auto fail = [&](const std::string& why) {
            *error = path + ":" + std::to_string(number) + ": " + why;
            return false;
        };
        if (word == "scene") {
            scenes->push_back({});
            if (!(words >> scenes->back().name)) return fail("a scene needs a name");
            words >> text;
            scenes->back().windows = text == "windows";
            if (!(text.empty() || scenes->back().windows) || words >> text) return fail("cannot read \"" + line + "\"");
            continue;
        }
        if (scenes->empty()) return fail("a step before the first scene");
        Scene& scene = scenes->back();
        Step step;
        if (word == "settings" && scene.steps.empty() && (words >> text) && Hex(text, &scene.settings)) {
            continue;
        } else if (word == "move" && (words >> step.x >> step.y)) {
            step.kind = Step::Move;
        } else if (word == "click" && (words >> step.x >> step.y)) {
            step.kind = Step::Click;
        } else if (word == "square" && (words >> step.x >> step.y)) {
            step = Step{Step::Click, SquareMiddleX(step.x), SquareMiddleY(step.y), {}};
        } else if (word == "key" && (words >> text) && text == "esc") {
            step.kind = Step::Escape;
        } else if (word == "wait" && (words >> step.x) && step.x > 0) {
            step.kind = Step::Wait;
        } else if (word == "shot" && (words >> step.name)) {
            step.kind = Step::Shot;
        } else if (word == "series" && (words >> step.name >> step.x >> step.y) && step.x > 0 && step.y > 0) {
            step.kind = Step::Series;
        } else if ((word == "reload" || word == "restart-browser") && !(words >> text)) {
            step.kind = Step::Reload;
            step.name = word;
        } else if (word == "growing" && (words >> step.name >> step.x) && step.x > 0) {
            step.kind = Step::Growing;
        } else {
            return fail("cannot read \"" + line + "\"");
        }
        // The Windows build's player gives input and looks; it lets no time pass by itself.
        const bool windowsStep = step.kind != Step::Wait && step.kind != Step::Series && step.kind != Step::Reload;
        if (scene.windows && (!windowsStep || scene.settings.empty()))
            return fail("a Windows scene starts from its settings and has no wait, series or reload");
        if (!scene.windows && step.kind == Step::Growing) return fail("the browser cannot catch a disc growing");
        scene.steps.push_back(step);
    }
    return true;
}

std::vector<std::string> ShotNames(const Scene& scene) {
    std::vector<std::string> names;
    for (const Step& step : scene.steps) {
        if (step.kind == Step::Shot || step.kind == Step::Growing) names.push_back(step.name);
    }
    return names;
}

namespace {

std::vector<platform::Rect> g_texts;
std::int32_t g_textsScreen = -1;
const Step* g_growing = nullptr;
int g_ellipses = 0;

void ForgetOtherScreens(std::int32_t screen) {
    if (screen != g_textsScreen) g_texts.clear();
    g_textsScreen = screen;
}

}  // namespace

void NoteText(const platform::Rect& rect, std::int32_t screen) {
    ForgetOtherScreens(screen);
    for (const platform::Rect& r : g_texts) {
        if (r == rect) return;
    }
    g_texts.push_back(rect);
}

bool WriteShot(const std::string& folder, const std::string& name, const std::vector<std::uint16_t>& pixels,
               std::int32_t screen) {
    if (pixels.size() != static_cast<std::size_t>(kWidth * kHeight)) return false;
    ForgetOtherScreens(screen);
    std::ofstream picture(folder + "/" + name + ".rgb565", std::ios::binary | std::ios::trunc);
    for (const std::uint16_t pixel : pixels) {
        const char bytes[2] = {static_cast<char>(pixel & 0xFF), static_cast<char>(pixel >> 8)};
        picture.write(bytes, 2);
    }
    std::ofstream texts(folder + "/" + name + ".texts", std::ios::trunc);
    for (const platform::Rect& r : g_texts) texts << r.left << ' ' << r.top << ' ' << r.right << ' ' << r.bottom << '\n';
    picture.close();
    texts.close();
    return picture.good() && texts.good();
}

void ArmGrowing(const Step& step) {
    g_growing = &step;
    g_ellipses = 0;
}

const Step* EllipseDrawn() {
    if (g_growing == nullptr || ++g_ellipses != g_growing->x) return nullptr;
    const Step* step = g_growing;
    g_growing = nullptr;
    return step;
}

}  // namespace scenes
