// Runs the whole program on the headless backend in a fresh working directory
// that holds the graphics sheet, and reads back what a person would see.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/headless_controls.h"
#include "platform/platform.h"
#include "tests/support/grid_oracle.h"
#include "tests/support/settings_file.h"
#include "tests/support/work_folder.h"

namespace wolby_test {

using platform::Colour;


class Program : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A fresh process: the platform and every global of the program as at start.
    void Restart();
    // Writes setting.dat as the game writes it.
    void WriteSettings(const SettingsValues& values);
    std::vector<std::uint8_t> ReadSettingsFile() const;
    bool SettingsFileExists() const;
    // Runs the program with the steps, one per idle moment; its exit status.
    int Run(std::vector<std::function<void()>> steps);

    std::string directory;

private:
    std::optional<WorkFolder> folder_;
};

// The picture checks. When one does not find what it looks for and the test
// reports that as a failure, the expected and the actual screen and their
// difference (differing pixels red, the rest dimmed) are saved as BMP files in
// WOLBY_PICTURE_DIR, or else in "failed-pictures" in the folder the test was
// started in (for CTest, the test's build folder), and their paths printed.

// Whether the screen shows the sheet piece unscaled with its top-left at (x, y).
::testing::AssertionResult ShowsPiece(const platform::Rect& piece, std::int32_t x, std::int32_t y);
// Whether every pixel of the rectangle is black.
::testing::AssertionResult AllBlack(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);

// Whether the screen already shows the line of text (code page 1250) at (x, y)
// in these colours: drawing it again there changes no pixel.
::testing::AssertionResult ShowsText(const char* text, Colour textColour, Colour backColour, std::int32_t x,
                                     std::int32_t y);

// Whether the square (column, row) shows the disc overlay over its disc: each
// pixel where the overlay (50 x 48, stretched to the square) is not black.
::testing::AssertionResult ShowsDiscOverlay(int column, int row);

// Disc colours as the surface holds them.
Colour DiscColour(int player, int colourIndex);
// What a square (column, row) of the board shows: 0 empty tile, 1 or 2 a disc of
// that player in the given colours, -1 anything else.
int SquareShows(int column, int row, Colour player1, Colour player2);

}  // namespace wolby_test
