#include "tests/program/program_fixture.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "screens/game_screen.h"
#include "screens/screen.h"
#include "shell/animate_credits.h"
#include "shell/globals.h"
#include "shell/put_text.h"
#include "shell/platform/common/surface.h"
#include "shell/sheet.h"
#include "shell/win_main.h"

namespace fs = std::filesystem;

namespace wolby_test {

namespace {

// The program's globals as a fresh process has them.
void ResetProgramState() {
    g_mainWindow = nullptr;
    g_directDraw = nullptr;
    g_primarySurface = nullptr;
    g_sheetSurface = nullptr;
    g_screen = Screen::Menu;
    g_humanPlayers = 0;
    g_player1ToMove = 1;
    g_moveClockMs = 5000;
    g_discBrush1 = nullptr;
    g_discBrush2 = nullptr;
    g_passCount[0] = 0;
    g_passCount[1] = 0;
    g_matchOver = false;
    g_noMovesLeft = false;
    g_creditsY = 100;
    g_creditsMovingDown = 0;
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

}  // namespace

void Program::SetUp() {
    char pattern[] = "/tmp/wolby-program-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    directory = pattern;
    fs::create_directories(directory + "/zdj");
    fs::copy_file(std::string(WOLBY_SOURCE_DIR) + "/zdj/15.bmp", directory + "/zdj/15.bmp");
    previousDirectory = fs::current_path().string();
    fs::current_path(directory);
    platform::headless::Reset();
    platform::headless::SetStallReporter(&ReportStall);
    ResetProgramState();
}

void Program::TearDown() {
    EXPECT_FALSE(platform::headless::TakeUnscriptedMessageBox()) << "a message box nobody expected";
    EXPECT_EQ(platform::headless::PendingMessageBoxAnswers(), 0);
    fs::current_path(previousDirectory);
    platform::headless::Reset();
    platform::headless::SetStallReporter(nullptr);
    ResetProgramState();
    fs::remove_all(directory);
}

void Program::Restart() {
    platform::headless::Reset();
    ResetProgramState();
}

void Program::WriteSettings(const SettingsValues& v) {
    const unsigned char bytes[12] = {0x90, 0xE1, 0x40, 0x00,
                                     static_cast<unsigned char>(v.colour1),
                                     static_cast<unsigned char>(v.colour2),
                                     static_cast<unsigned char>(v.boardSize),
                                     static_cast<unsigned char>(v.moveSeconds),
                                     static_cast<unsigned char>(v.humanPlayers),
                                     0, 0, 0};
    std::ofstream out("setting.dat", std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

std::vector<std::uint8_t> Program::ReadSettingsFile() const {
    std::ifstream in("setting.dat", std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

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

bool ShowsPiece(const platform::Rect& piece, std::int32_t x, std::int32_t y) {
    for (std::int32_t sy = piece.top; sy < piece.bottom; ++sy) {
        for (std::int32_t sx = piece.left; sx < piece.right; ++sx) {
            if (platform::headless::RawPixelAt(x + sx - piece.left, y + sy - piece.top) != SheetPixel(sx, sy)) {
                return false;
            }
        }
    }
    return true;
}

bool AllBlack(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    for (std::int32_t y = top; y < bottom; ++y) {
        for (std::int32_t x = left; x < right; ++x) {
            if (platform::headless::RawPixelAt(x, y) != 0) return false;
        }
    }
    return true;
}

bool ShowsText(const char* text, Colour textColour, Colour backColour, std::int32_t x, std::int32_t y) {
    std::vector<std::uint16_t> before;
    for (std::int32_t py = y; py < y + 24 && py < 600; ++py) {
        for (std::int32_t px = x; px < 800; ++px) before.push_back(platform::headless::RawPixelAt(px, py));
    }
    PutText(text, textColour, backColour, x, y);
    std::size_t i = 0;
    for (std::int32_t py = y; py < y + 24 && py < 600; ++py) {
        for (std::int32_t px = x; px < 800; ++px) {
            if (platform::headless::RawPixelAt(px, py) != before[i++]) return false;
        }
    }
    return true;
}

bool ShowsDiscOverlay(int column, int row) {
    const std::int32_t left = kBoardLeft + kSquarePitch * column;
    const std::int32_t top = kBoardTop + kSquarePitch * row;
    const std::int32_t height = sheet::DiscOverlay.bottom - sheet::DiscOverlay.top;
    for (std::int32_t dy = 0; dy < kSquareSize; ++dy) {
        // The row under the pixel's centre, as a stretch samples it.
        const std::int32_t sy = sheet::DiscOverlay.top + (2 * dy + 1) * height / (2 * kSquareSize);
        for (std::int32_t dx = 0; dx < kSquareSize; ++dx) {
            const std::uint16_t overlay = SheetPixel(sheet::DiscOverlay.left + dx, sy);
            if (overlay != 0 && platform::headless::RawPixelAt(left + dx, top + dy) != overlay) return false;
        }
    }
    return true;
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
            const std::int32_t sy = sheet::DiscOverlay.top + dy * 48 / 50;
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

std::int32_t ClickX(int column) { return kBoardLeft + kSquarePitch * column + 10 - 15; }
std::int32_t ClickY(int row) { return kBoardTop + kSquarePitch * row + 10; }

Grid::Grid(int n) : size(n) {
    const int c = n / 2 - 1;
    cell[c][c] = 1;
    cell[c + 1][c + 1] = 1;
    cell[c + 1][c] = 2;
    cell[c][c + 1] = 2;
}

std::vector<std::pair<int, int>> Grid::Flips(int column, int row, int player) const {
    std::vector<std::pair<int, int>> flips;
    if (cell[column][row] != 0) return flips;
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            if (dx == 0 && dy == 0) continue;
            std::vector<std::pair<int, int>> line;
            int x = column + dx;
            int y = row + dy;
            while (x >= 0 && y >= 0 && x < size && y < size && cell[x][y] == 3 - player) {
                line.emplace_back(x, y);
                x += dx;
                y += dy;
            }
            if (!line.empty() && x >= 0 && y >= 0 && x < size && y < size && cell[x][y] == player) {
                flips.insert(flips.end(), line.begin(), line.end());
            }
        }
    }
    return flips;
}

bool Grid::CanMove(int player) const {
    for (int x = 0; x < size; ++x) {
        for (int y = 0; y < size; ++y) {
            if (Legal(x, y, player)) return true;
        }
    }
    return false;
}

void Grid::Play(int column, int row, int player) {
    for (const auto& [x, y] : Flips(column, row, player)) cell[x][y] = player;
    cell[column][row] = player;
}

int Grid::Count(int player) const {
    int n = 0;
    for (int x = 0; x < size; ++x) {
        for (int y = 0; y < size; ++y) n += cell[x][y] == player;
    }
    return n;
}

}  // namespace wolby_test
