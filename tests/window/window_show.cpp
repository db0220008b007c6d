// The real-window check of the SDL backend. Run as
//   wolby_window_show <source folder> <output folder>
// it opens the game's window, draws every sheet piece at a known place (and a
// growing disc, text, the stretched credits strip), writes the drawn picture
// to <output>/reference.bmp, says "ready" and reports the input it receives
// until ESC. Run as
//   wolby_window_show --check <reference.bmp> <screenshot.bmp> <sheet.bmp>
// it checks that the screenshot shows that picture scaled onto the screen.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/common/bitmap_file.h"
#include "platform/common/surface.h"
#include "platform/platform.h"
#include "screens/load_bitmap_surface.h"
#include "screens/program_state.h"
#include "screens/put_text.h"
#include "screens/sheet.h"

using namespace platform;

namespace {

struct Placed {
    Rect piece;
    std::int32_t x;
    std::int32_t y;
};
// Every piece copied unscaled, at these places of the 800 x 600 picture.
const Placed kPlaced[] = {
    {sheet::MenuPicture, 10, 10},      {sheet::MenuMarker, 350, 10},
    {sheet::BackButton, 410, 10},      {sheet::SquareTile, 350, 80},
    {sheet::GameFrameTile, 410, 80},   {sheet::OptionsFrameTile, 470, 80},
    {sheet::ArrowLeft, 530, 80},       {sheet::ArrowRight, 560, 80},
};
constexpr Rect kStripAt{690, 0, 790, 600};
constexpr std::int32_t kDiscX = 350;
constexpr std::int32_t kDiscY = 150;

void Say(const char* format, int a = 0, int b = 0) {
    std::printf(format, a, b);
    std::printf("\n");
    std::fflush(stdout);
}

std::intptr_t Procedure(Window window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    const int x = platform::PointX(lParam);
    const int y = platform::PointY(lParam);
    switch (message) {
        case WM_LBUTTONDOWN:
            Say("click %d %d", x, y);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) {
                Say("escape");
                PostQuitMessage(0);
            }
            return 0;
        case WM_TIMER:
            Say("timeout");
            PostQuitMessage(0);
            return 0;
        case WM_DESTROY:
            Say("destroy");
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProc(window, message, wParam, lParam);
    }
}

// A disc of the game: six growing ellipses, shown one by one, then the keyed gloss.
void DrawDisc(Brush brush) {
    if (DrawingContext dc = GetDC(g_primarySurface)) {
        Brush old = SelectObject(dc, brush);
        for (int i = 0; i < 6; ++i) {
            Ellipse(dc, kDiscX + 10 - 2 * i, kDiscY + 10 - 2 * i, kDiscX + 40 + 2 * i, kDiscY + 40 + 2 * i);
            Sleep(10);
        }
        SelectObject(dc, old);
        ReleaseDC(g_primarySurface, dc);
    }
    SetColorKey(g_sheetSurface, DDCKEY_SRCBLT, 0, 0);
    const Rect at{kDiscX, kDiscY, kDiscX + 50, kDiscY + 50};
    Blt(g_primarySurface, &at, g_sheetSurface, &sheet::DiscOverlay, DDBLT_WAIT | DDBLT_KEYSRC | DDBLT_ALPHADEST);
}

int Show(const std::string& source, const std::string& output) {
    if (chdir(source.c_str()) != 0) return 2;
    SetCursor(LoadCursor(kForkCursor));
    RegisterClassEx("Wolby", &Procedure);
    const std::int32_t width = GetSystemMetrics(SM_CXSCREEN);
    const std::int32_t height = GetSystemMetrics(SM_CYSCREEN);
    g_mainWindow = CreateWindowEx("Wolby", "Wolby", 0, 0, width, height);
    ShowWindow(g_mainWindow);
    UpdateWindow(g_mainWindow);
    SetForegroundWindow(g_mainWindow);
    if (!DirectDrawCreate(&g_directDraw) ||
        !SetCooperativeLevel(g_directDraw, g_mainWindow, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN) ||
        !SetDisplayMode(g_directDraw, 800, 600, 16) || !CreatePrimarySurface(g_directDraw, &g_primarySurface)) {
        Say("no display");
        return 3;
    }
    g_sheetSurface = LoadBitmapSurface(g_directDraw, "zdj\\15.bmp");
    if (g_sheetSurface == nullptr) {
        MessageBox(g_mainWindow, "Nie mo\xBFna wczyta\xE6 bitmapy", "B\xB3\xB9" "d", MB_OK | MB_ICONHAND);
        return 4;
    }
    for (const Placed& placed : kPlaced) {
        BltFast(g_primarySurface, placed.x, placed.y, g_sheetSurface, &placed.piece, DDBLTFAST_NOCOLORKEY);
    }
    Blt(g_primarySurface, &kStripAt, g_sheetSurface, &sheet::CreditsStrip, DDBLT_WAIT);
    Brush red = CreateSolidBrush(3 * 0x140A3C);
    DrawDisc(red);
    PutText("Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1 - ZA\xAF\xD3\xA3\xC6", 0xFFFFFF, 0x804000, 10, 400);
    PutText("Ruch gracza 1", 0xFFFFFF, 3 * 0x140A3C, 620, 560);
    common::WriteBmp24(g_primarySurface, output + "/reference.bmp");

    SetTimer(g_mainWindow, 9, 30000);  // never hang a test run
    Say("ready %d %d", width, height);
    Message message;
    while (GetMessage(&message)) {
        TranslateMessage(&message);
        DispatchMessage(&message);
    }
    DeleteObject(red);
    Say("bye");
    return 0;
}

Surface Load(const char* path) {
    Bitmap bitmap = LoadImageFromFile(path);
    if (bitmap == nullptr) return nullptr;
    std::int32_t w = 0, h = 0;
    GetBitmapSize(bitmap, &w, &h);
    Surface surface = common::NewSurface(w, h);
    DrawingContext dc = GetDC(surface);
    StretchBitmap(dc, 0, 0, w, h, bitmap);
    ReleaseDC(surface, dc);
    DeleteBitmap(bitmap);
    return surface;
}

Colour PixelOf(Surface s, std::int32_t x, std::int32_t y) {
    return common::FromPixel(s->pixels[static_cast<std::size_t>(y * s->width + x)]);
}

int Check(const char* referencePath, const char* shotPath, const char* sheetPath) {
    Surface reference = Load(referencePath);
    Surface shot = Load(shotPath);
    Surface sheetFile = Load(sheetPath);
    if (!reference || !shot || !sheetFile) {
        Say("cannot read the pictures");
        return 2;
    }
    // The picture fills the largest centred 4:3 rectangle of the screen.
    std::int32_t w = shot->width;
    std::int32_t h = w * 600 / 800;
    if (h > shot->height) {
        h = shot->height;
        w = h * 800 / 600;
    }
    const std::int32_t left = (shot->width - w) / 2;
    const std::int32_t top = (shot->height - h) / 2;
    // The screen point showing the centre of picture pixel (px, py).
    const auto screenX = [&](std::int32_t px) { return left + (2 * px + 1) * w / 1600; };
    const auto screenY = [&](std::int32_t py) { return top + (2 * py + 1) * h / 1200; };

    int wrong = 0;
    for (std::int32_t py = 0; py < 600; ++py) {
        for (std::int32_t px = 0; px < 800; ++px) {
            if (PixelOf(shot, screenX(px), screenY(py)) != PixelOf(reference, px, py)) ++wrong;
        }
    }
    int wrongPieces = 0;
    for (const Placed& placed : kPlaced) {
        for (std::int32_t y = placed.piece.top; y < placed.piece.bottom; ++y) {
            for (std::int32_t x = placed.piece.left; x < placed.piece.right; ++x) {
                const Colour shown = PixelOf(shot, screenX(placed.x + x - placed.piece.left),
                                             screenY(placed.y + y - placed.piece.top));
                if (shown != PixelOf(sheetFile, x, y)) ++wrongPieces;
            }
        }
    }
    // The strip stretched to full height: each of its rows shows twice.
    for (std::int32_t py = 0; py < 600; ++py) {
        const Colour shown = PixelOf(shot, screenX(740), screenY(py));
        if (shown != PixelOf(sheetFile, 590, 120 + py / 2)) ++wrongPieces;
    }
    // The disc: its colour at the centre, the gloss near its top left, the tile's corner untouched.
    const Colour discCentre = PixelOf(shot, screenX(kDiscX + 30), screenY(kDiscY + 32));
    const Colour discCorner = PixelOf(shot, screenX(kDiscX), screenY(kDiscY));
    std::printf("screen %dx%d, picture %dx%d at (%d, %d): %d pixels differ from the drawn picture, "
                "%d from the sheet pieces; disc centre %06X, corner %06X\n",
                shot->width, shot->height, w, h, left, top, wrong, wrongPieces, discCentre, discCorner);
    const bool discOk = discCentre == common::FromPixel(common::ToPixel(3 * 0x140A3C)) && discCorner == 0;
    return wrong == 0 && wrongPieces == 0 && discOk ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "--check") return Check(argv[2], argv[3], argv[4]);
    if (argc == 3) return Show(argv[1], argv[2]);
    std::fprintf(stderr, "usage: %s <source> <output> | --check <reference> <shot> <sheet>\n", argv[0]);
    return 2;
}
