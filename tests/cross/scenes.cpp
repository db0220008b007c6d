#include "tests/cross/scenes.h"

#include <fstream>

#include "tests/support/rect.h"
#include "tests/support/settings_file.h"

namespace cross {
namespace {

// A square's top-left corner as a click on it is reported: the game adds 15 to
// the pointer's x (the fork cursor's middle prong).
Step ClickSquare(std::int32_t column, std::int32_t row) {
    return {Step::Click, 100 + 51 * column + 10 - 15, 100 + 51 * row + 10};
}

std::vector<platform::Rect> g_texts;
const char* g_armed = nullptr;
int g_ellipses = 0;

}  // namespace

const std::vector<Step>& Script() {
    static const std::vector<Step> steps = {
        {Step::Move, 300, 200},  // the marker beside the first item
        {Step::Capture, 0, 0, "menu"},
        {Step::Click, 300, 250, nullptr, true},  // "Opcje"
        {Step::Capture, 0, 0, "options"},
        {Step::Escape, 0, 0, nullptr, true},
        {Step::Click, 300, 200, nullptr, true},  // "Rozpocznij grę"
        {Step::Capture, 0, 0, "opening-board"},
        ClickSquare(2, 4),
        ClickSquare(2, 3),
        ClickSquare(1, 2),
        ClickSquare(1, 5),
        {Step::Capture, 0, 0, "after-four-moves"},
        {Step::CaptureHalfGrown, 0, 0, "disc-half-grown"},
        ClickSquare(1, 4),
        ClickSquare(2, 5),
        ClickSquare(4, 2),
        ClickSquare(1, 3),
        ClickSquare(1, 6),  // player 2's last disc turns
        {Step::Capture, 0, 0, "match-end"},
    };
    return steps;
}

std::vector<std::string> CaptureNames() {
    std::vector<std::string> names;
    for (const Step& step : Script()) {
        if (step.kind == Step::Capture || step.kind == Step::CaptureHalfGrown) names.emplace_back(step.name);
    }
    return names;
}

bool WriteSettings() {
    wolby_test::SettingsValues values;
    values.boardSize = 8;
    values.humanPlayers = 2;
    return wolby_test::WriteSettingsFile("setting.dat", values);
}

void NoteText(const platform::Rect& rect) {
    for (const platform::Rect& r : g_texts) {
        if (r == rect) return;
    }
    g_texts.push_back(rect);
}
void ForgetTexts() { g_texts.clear(); }

bool WriteCapture(const std::string& folder, const std::string& name, const std::vector<std::uint16_t>& pixels) {
    if (pixels.size() != static_cast<std::size_t>(kWidth * kHeight)) return false;
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

void ArmHalfGrown(const char* name) {
    g_armed = name;
    g_ellipses = 0;
}

const char* EllipseDrawn() {
    if (g_armed == nullptr || ++g_ellipses != 4) return nullptr;
    const char* name = g_armed;
    g_armed = nullptr;
    return name;
}

}  // namespace cross
