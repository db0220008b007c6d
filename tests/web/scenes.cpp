#include "tests/web/scenes.h"

#include <fstream>
#include <sstream>

namespace web_scenes {
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
        std::string word;
        if (!(words >> word) || word[0] == '#') continue;
        const auto fail = [&](const std::string& why) {
            *error = path + ":" + std::to_string(number) + ": " + why;
            return false;
        };
        if (word == "scene") {
            scenes->push_back({});
            if (!(words >> scenes->back().name)) return fail("a scene needs a name");
            continue;
        }
        if (scenes->empty()) return fail("a step before the first scene");
        Scene& scene = scenes->back();
        Step step;
        std::string text;
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
        } else {
            return fail("cannot read \"" + line + "\"");
        }
        scene.steps.push_back(step);
    }
    return true;
}

}  // namespace web_scenes
