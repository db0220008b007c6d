// The browser checks' scenes (scenes.txt): what a person does, read into steps.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace web_scenes {

struct Step {
    // Reload: the page is loaded again (or the browser started again): a new
    // run of the game with what it kept.
    enum Kind { Move, Click, Escape, Wait, Shot, Series, Reload } kind = Move;
    std::int32_t x = 0;  // Move, Click: the picture's point; Wait: milliseconds; Series: shots
    std::int32_t y = 0;  // Series: milliseconds between them
    std::string name;    // Shot, Series
};

struct Scene {
    std::string name;
    std::vector<std::uint8_t> settings;  // empty: the default settings
    std::vector<Step> steps;
};

// False, with the line and why in `error`, for a file it cannot read.
bool Read(const std::string& path, std::vector<Scene>* scenes, std::string* error);

}  // namespace web_scenes
