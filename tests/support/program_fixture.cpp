#include "tests/support/program_fixture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "platform/common/bitmap_file.h"
#include "platform/common/surface.h"
#include "screens/match.h"
#include "screens/program_state.h"
#include "screens/put_text.h"
#include "screens/sheet.h"
#include "shell/win_main.h"
#include "tests/support/byte_file.h"
#include "tests/support/calendar.h"
#include "tools/text_lines.h"

namespace fs = std::filesystem;

namespace wolby_test {

namespace {

// The browser build draws only the lines it was given beforehand: every line
// the program drew must be one of them.
void ExpectKnownTexts() {
    static const std::vector<std::string> known = text_lines::All();
    for (const std::string& line : platform::headless::TakeDrawnTexts()) {
        EXPECT_NE(std::find(known.begin(), known.end(), line), known.end())
            << "the game drew \"" << line << "\", which tools/text_lines.cpp does not list";
    }
}

// A fresh process: the platform, the program's globals and a calendar that
// stands at 0, so the computer's moves are the same on every run.
void FreshProcess() {
    ExpectKnownTexts();
    platform::headless::Reset();
    ResetProgramState();
    SetCalendarTime(0);
}

// A scenario stopped by its idle budget: what the program was showing then.
void ReportStall(const std::string& why) {
    static const char* const kScreens[] = {"the menu", "a match", "the options", "the credits"};
    const bool known = g_screen >= 0 && g_screen < 4;
    ADD_FAILURE() << why << ", showing " << (known ? kScreens[g_screen] : "an unknown screen") << " with player "
                  << (g_player1ToMove ? 1 : 2) << " to move" << (g_matchOver ? ", the match over" : "");
}

std::uint16_t SheetPixel(std::int32_t x, std::int32_t y) {
    return g_sheetSurface->pixels[static_cast<std::size_t>(y * g_sheetSurface->width + x)];
}

// ---------------------------------------------------------------- pictures of failed checks

using Pixels = std::vector<std::uint16_t>;
constexpr std::int32_t kWidth = 800;
constexpr std::int32_t kHeight = 600;

// Where the pictures go: chosen before the first test leaves its starting folder.
std::string g_pictureFolder;
// The running test's name, taken at its start: while a result is being
// reported, gtest keeps the test's own information locked.
std::string g_testName;

// The last check that did not find what it looked for. Its pictures are only
// written if the test then reports its result as a failure.
struct Pictures {
    int id = 0;
    Pixels expected;
    Pixels actual;
};
Pictures g_lastPictures;

Pixels ScreenPixels() {
    Pixels pixels(static_cast<std::size_t>(kWidth * kHeight));
    for (std::int32_t y = 0; y < kHeight; ++y) {
        for (std::int32_t x = 0; x < kWidth; ++x) {
            pixels[static_cast<std::size_t>(y * kWidth + x)] = platform::headless::RawPixelAt(x, y);
        }
    }
    return pixels;
}

// The check's failure, naming its pictures: the screen as it would be with what
// the check looked for, and as it is.
::testing::AssertionResult Mismatch(Pixels expected, Pixels actual) {
    g_lastPictures = {g_lastPictures.id + 1, std::move(expected), std::move(actual)};
    return ::testing::AssertionFailure() << "[pictures " << g_lastPictures.id << "]";
}

// The screen with the pixels `at` gives (where it gives one) put in.
template <typename At>
Pixels ScreenWith(At at) {
    Pixels pixels = ScreenPixels();
    for (std::int32_t y = 0; y < kHeight; ++y) {
        for (std::int32_t x = 0; x < kWidth; ++x) {
            if (const auto want = at(x, y)) pixels[static_cast<std::size_t>(y * kWidth + x)] = *want;
        }
    }
    return pixels;
}

bool WritePicture(const Pixels& pixels, const std::string& path) {
    platform::SurfaceObject picture;
    picture.width = kWidth;
    picture.height = kHeight;
    picture.pixels = pixels;
    return platform::common::WriteBmp24(&picture, path);
}

class PictureSaver : public ::testing::EmptyTestEventListener {
    void OnTestPartResult(const ::testing::TestPartResult& result) override {
        const std::string marker = "[pictures " + std::to_string(g_lastPictures.id) + "]";
        if (!result.failed() || g_lastPictures.id == 0 ||
            std::string(result.message()).find(marker) == std::string::npos) {
            return;
        }
        const std::string stem = g_pictureFolder + "/" + g_testName + "-" + std::to_string(g_lastPictures.id);
        // Differing pixels red, the others a quarter as bright.
        Pixels difference(g_lastPictures.actual.size());
        for (std::size_t i = 0; i < difference.size(); ++i) {
            const unsigned seen = g_lastPictures.actual[i];
            const unsigned dimmed =
                ((seen >> 13) << 11) | ((((seen >> 5) & 0x3F) >> 2) << 5) | ((seen & 0x1F) >> 2);
            difference[i] = static_cast<std::uint16_t>(seen != g_lastPictures.expected[i] ? 0xF800u : dimmed);
        }
        std::error_code ignored;
        fs::create_directories(g_pictureFolder, ignored);
        const bool written = WritePicture(g_lastPictures.expected, stem + "-expected.bmp") &&
                             WritePicture(g_lastPictures.actual, stem + "-actual.bmp") &&
                             WritePicture(difference, stem + "-difference.bmp");
        std::printf("%s pictures of the failed check: %s-expected.bmp, %s-actual.bmp, %s-difference.bmp\n",
                    written ? "the" : "could not write the", stem.c_str(), stem.c_str(), stem.c_str());
    }
};

void SavePicturesOfFailedChecks() {
    static const bool added = [] {
        const char* chosen = std::getenv("WOLBY_PICTURE_DIR");
        g_pictureFolder = chosen ? chosen : (fs::current_path() / "failed-pictures").string();
        ::testing::UnitTest::GetInstance()->listeners().Append(new PictureSaver);
        return true;
    }();
    (void)added;
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    g_testName = std::string(test->test_suite_name()) + "." + test->name();
}

}  // namespace

void Program::SetUp() {
    SavePicturesOfFailedChecks();
    folder_.emplace("wolby-program");
    ASSERT_TRUE(folder_->AddSheet());
    ASSERT_TRUE(folder_->Enter());
    directory = folder_->Path().string();
    FreshProcess();
    platform::headless::SetStallReporter(&ReportStall);
}

void Program::TearDown() {
    EXPECT_FALSE(platform::headless::TakeUnscriptedMessageBox()) << "a message box nobody expected";
    EXPECT_EQ(platform::headless::PendingMessageBoxAnswers(), 0);
    folder_.reset();
    FreshProcess();
    platform::headless::SetStallReporter(nullptr);
}

void Program::Restart() {
    FreshProcess();
}

void Program::WriteSettings(const SettingsValues& values) { ASSERT_TRUE(WriteBytes("setting.dat", SettingsFile(values))); }

std::vector<std::uint8_t> Program::ReadSettingsFile() const { return ReadBytes("setting.dat"); }

bool Program::SettingsFileExists() const { return fs::exists("setting.dat"); }

int Program::Run(std::vector<std::function<void()>> steps) {
    // The last picture of a scenario can be kept for a person to look at.
    if (const char* keep = std::getenv("WOLBY_SCREENSHOT_DIR")) {
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        steps.insert(steps.end() - (steps.empty() ? 0 : 1),
                     [path = std::string(keep) + "/" + name + ".bmp"] {
                         platform::headless::SaveScreen(path);
                         platform::headless::PostMouseMove(0, 0);
                     });
    }
    platform::headless::SetScenario(std::move(steps));
    const int status = WinMain();
    EXPECT_FALSE(platform::headless::TakeStall()) << "the program stopped before the scenario ended it";
    return status;
}

::testing::AssertionResult ShowsPiece(const platform::Rect& piece, std::int32_t x, std::int32_t y) {
    const auto want = [&piece, x, y](std::int32_t px, std::int32_t py) -> std::optional<std::uint16_t> {
        const std::int32_t sx = piece.left + px - x;
        const std::int32_t sy = piece.top + py - y;
        if (sx < piece.left || sx >= piece.right || sy < piece.top || sy >= piece.bottom) return std::nullopt;
        return SheetPixel(sx, sy);
    };
    for (std::int32_t sy = piece.top; sy < piece.bottom; ++sy) {
        for (std::int32_t sx = piece.left; sx < piece.right; ++sx) {
            const std::int32_t px = x + sx - piece.left;
            const std::int32_t py = y + sy - piece.top;
            if (platform::headless::RawPixelAt(px, py) != SheetPixel(sx, sy)) {
                return Mismatch(ScreenWith(want), ScreenPixels()) << " first difference at " << px << "," << py;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult AllBlack(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    for (std::int32_t y = top; y < bottom; ++y) {
        for (std::int32_t x = left; x < right; ++x) {
            if (platform::headless::RawPixelAt(x, y) != 0) {
                const auto black = [=](std::int32_t px, std::int32_t py) -> std::optional<std::uint16_t> {
                    if (px < left || px >= right || py < top || py >= bottom) return std::nullopt;
                    return std::uint16_t{0};
                };
                return Mismatch(ScreenWith(black), ScreenPixels()) << " not black at " << x << "," << y;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult ShowsText(const char* text, Colour textColour, Colour backColour, std::int32_t x,
                                     std::int32_t y) {
    const std::int32_t bottom = std::min(y + 24, kHeight);
    Pixels before;
    for (std::int32_t py = y; py < bottom; ++py) {
        for (std::int32_t px = x; px < kWidth; ++px) before.push_back(platform::headless::RawPixelAt(px, py));
    }
    PutText(text, textColour, backColour, x, y);
    std::size_t i = 0;
    for (std::int32_t py = y; py < bottom; ++py) {
        for (std::int32_t px = x; px < kWidth; ++px) {
            if (platform::headless::RawPixelAt(px, py) != before[i++]) {
                // The text is drawn now: the screen is the expected picture, and
                // the actual one is the screen with what was there before.
                const auto seen = [&before, x, y, bottom](std::int32_t qx,
                                                          std::int32_t qy) -> std::optional<std::uint16_t> {
                    if (qx < x || qy < y || qy >= bottom) return std::nullopt;
                    return before[static_cast<std::size_t>((qy - y) * (kWidth - x) + (qx - x))];
                };
                return Mismatch(ScreenPixels(), ScreenWith(seen))
                       << " \"" << text << "\" differs at " << px << "," << py;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

namespace {
// The overlay's row (50 x 48 stretched to 50 x 50) that row `dy` of a square
// shows, as DirectDraw's stretch takes it: 16.16 fixed-point steps.
std::int32_t OverlayRow(std::int32_t dy) {
    const std::int32_t height = sheet::DiscOverlay.bottom - sheet::DiscOverlay.top;
    return sheet::DiscOverlay.top + ((dy * ((height << 16) / kSquareSize)) >> 16);
}
}  // namespace

::testing::AssertionResult ShowsDiscOverlay(int column, int row) {
    const std::int32_t left = kBoardLeft + kSquarePitch * column;
    const std::int32_t top = kBoardTop + kSquarePitch * row;
    // The overlay's pixel over a screen point of the square; black lets the disc show.
    const auto overlay = [=](std::int32_t x, std::int32_t y) -> std::optional<std::uint16_t> {
        if (x < left || x >= left + kSquareSize || y < top || y >= top + kSquareSize) return std::nullopt;
        const std::int32_t sy = OverlayRow(y - top);
        const std::uint16_t pixel = SheetPixel(sheet::DiscOverlay.left + x - left, sy);
        if (pixel == 0) return std::nullopt;
        return pixel;
    };
    for (std::int32_t y = top; y < top + kSquareSize; ++y) {
        for (std::int32_t x = left; x < left + kSquareSize; ++x) {
            const auto want = overlay(x, y);
            if (want && platform::headless::RawPixelAt(x, y) != *want) {
                return Mismatch(ScreenWith(overlay), ScreenPixels()) << " no overlay at " << x << "," << y;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

Colour DiscColour(int player, int colourIndex) {
    return platform::headless::Quantised(PlayerColour(player, colourIndex));
}

int SquareShows(int column, int row, Colour player1, Colour player2) {
    // Look where the overlay is transparent, so the disc itself shows: a point
    // near the middle whose overlay pixel (50 x 48 stretched to 50 x 50) is black.
    const std::int32_t left = kBoardLeft + kSquarePitch * column;
    const std::int32_t top = kBoardTop + kSquarePitch * row;
    for (std::int32_t d = 0; d < 20; ++d) {
        for (const auto& [dx, dy] : {std::pair{25 + d, 25}, std::pair{25 - d, 25}, std::pair{25, 25 + d},
                                     std::pair{25, 25 - d}}) {
            const std::int32_t sx = sheet::DiscOverlay.left + dx;
            const std::int32_t sy = OverlayRow(dy);
            if (SheetPixel(sx, sy) != 0) continue;
            const Colour seen = platform::headless::PixelAt(left + dx, top + dy);
            if (seen == player1) return 1;
            if (seen == player2) return 2;
            const std::uint16_t tile = SheetPixel(sheet::SquareTile.left + dx, sheet::SquareTile.top + dy);
            if (platform::headless::RawPixelAt(left + dx, top + dy) == tile) return 0;
            return -1;
        }
    }
    return -1;
}


}  // namespace wolby_test
