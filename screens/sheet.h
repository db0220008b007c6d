// The pieces of the graphics sheet "zdj\15.bmp" (640 x 480), as source
// rectangles with right and bottom excluded. No screen reads anything else.
#pragma once

#include "platform/platform.h"

namespace sheet {

// The file, in the working directory; '\' is the folder separator on every platform.
constexpr const char* kFileName = "zdj\\15.bmp";

constexpr platform::Rect MenuPicture{0, 0, 320, 340};
constexpr platform::Rect MenuMarker{0, 430, 50, 480};
constexpr platform::Rect BackButton{440, 0, 540, 50};
// Black is transparent: the piece is blitted with the source colour key over a disc.
constexpr platform::Rect DiscOverlay{540, 0, 590, 48};
constexpr platform::Rect SquareTile{590, 0, 640, 50};
constexpr platform::Rect GameFrameTile{540, 50, 590, 100};
constexpr platform::Rect OptionsFrameTile{590, 50, 640, 100};
constexpr platform::Rect ArrowLeft{590, 100, 615, 120};
constexpr platform::Rect ArrowRight{615, 100, 640, 120};
constexpr platform::Rect CreditsStrip{540, 120, 640, 420};

constexpr int kWidth = 640;
constexpr int kHeight = 480;

}  // namespace sheet
