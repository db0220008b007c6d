// The platform layer: every operation the game asks of its platform, under the
// platform's own names, in plain C++ types. The game's code calls only what is
// declared here; each backend implements all of it:
//   sdl/       the Linux game: a full-screen window, real input, clock and dialogs;
//   headless/  the null front end: no window, a virtual clock (tests drive it);
//   web/       the browser game: the page's events, a canvas, HTML dialogs;
//   win32/     the Windows game, each operation on the Win32 call of the same name.
//
// Conventions the callers rely on:
// - Colours are 0x00BBGGRR. Surfaces hold RGB565 pixels, so colours quantise
//   as on a 16-bit display and black stays exactly black for colour keys.
// - Rectangles are (left, top)-(right, bottom) with right and bottom excluded.
// - Texts are code page 1250 byte strings; backends convert them for display.
// - Everything runs on the one thread of the message loop.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace platform {

using Colour = std::uint32_t;  // 0x00BBGGRR

struct Rect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;   // excluded
    std::int32_t bottom;  // excluded
};

// Opaque handles. A null handle means "none".
struct WindowObject;
struct SurfaceObject;
struct DrawingContextObject;
struct BrushObject;
struct BitmapObject;
struct DirectDrawObject;
struct CursorObject;
using Window = WindowObject*;
using Surface = SurfaceObject*;
using DrawingContext = DrawingContextObject*;
using Brush = BrushObject*;
using Bitmap = BitmapObject*;
using DirectDraw = DirectDrawObject*;
using Cursor = CursorObject*;

// ---------------------------------------------------------------- messages
constexpr unsigned WM_DESTROY = 2;
constexpr unsigned WM_PAINT = 15;
constexpr unsigned WM_ACTIVATEAPP = 28;  // wParam non-zero: the program is switched to
constexpr unsigned WM_SETCURSOR = 32;
constexpr unsigned WM_KEYDOWN = 256;
constexpr unsigned WM_QUIT = 18;
constexpr unsigned WM_TIMER = 275;
constexpr unsigned WM_MOUSEMOVE = 512;
constexpr unsigned WM_LBUTTONDOWN = 513;
constexpr std::uintptr_t VK_ESCAPE = 27;

// The window receives WM_ACTIVATEAPP when another program is switched to and
// back, and WM_PAINT when its picture has to be drawn again (the backends that
// emulate the window system, common/, send neither on their own). A procedure that takes WM_PAINT
// calls ValidateRect, or the message comes again.
// Mouse messages carry the pointer's x in the low and y in the high 16 bits of
// lParam, in the 800 x 600 picture's coordinates.
struct Message {
    Window window = nullptr;
    unsigned message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

// A mouse message's lParam from its point, and its point back.
constexpr std::intptr_t PackPoint(std::int32_t x, std::int32_t y) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(x) & 0xFFFFu) |
                                      ((static_cast<std::uint32_t>(y) & 0xFFFFu) << 16));
}
constexpr std::int32_t PointX(std::intptr_t lParam) { return static_cast<std::int32_t>(lParam & 0xFFFF); }
constexpr std::int32_t PointY(std::intptr_t lParam) { return static_cast<std::int32_t>((lParam >> 16) & 0xFFFF); }

using WindowProc = std::intptr_t (*)(Window window, unsigned message, std::uintptr_t wParam,
                                     std::intptr_t lParam);

// ---------------------------------------------------------------- window system
// The one window class; its procedure receives every dispatched message.
bool RegisterClassEx(const char* className, WindowProc procedure);
// One borderless window over the whole screen that receives the input.
Window CreateWindowEx(const char* className, const char* title, std::int32_t x, std::int32_t y,
                      std::int32_t width, std::int32_t height);
void ShowWindow(Window window);
void UpdateWindow(Window window);
void SetForegroundWindow(Window window);
// Marks the whole window as drawn: no WM_PAINT follows until it is invalid again.
void ValidateRect(Window window);

// The program's cursor resource 118: the white fork, hot spot at its top-left pixel.
constexpr int kForkCursor = 118;
Cursor LoadCursor(int resource);
void SetCursor(Cursor cursor);

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
// The screen's width or height: the desktop's before SetDisplayMode, 800 and
// 600 after it.
std::int32_t GetSystemMetrics(int index);

// Waits (blocking, using no CPU) until a message is there and takes it; false
// when it is the quit message. Posted input comes before timer ticks.
bool GetMessage(Message* message);
void TranslateMessage(const Message* message);
// Hands the message to the window procedure and returns its result.
std::intptr_t DispatchMessage(const Message* message);
// The default handling of a message the window procedure does not take.
std::intptr_t DefWindowProc(Window window, unsigned message, std::uintptr_t wParam,
                            std::intptr_t lParam);
void PostQuitMessage(int exitCode);

// Window timers: each tick arrives as WM_TIMER with the id in wParam. At most one
// tick per timer is ever pending; setting a running timer restarts its period; a
// killed timer delivers nothing more, not even a tick that was already due.
void SetTimer(Window window, std::uintptr_t id, unsigned periodMs);
void KillTimer(Window window, std::uintptr_t id);

// Holds the thread; what is drawn meanwhile is shown.
void Sleep(unsigned ms);

constexpr unsigned MB_OK = 0;
constexpr unsigned MB_YESNO = 4;
constexpr unsigned MB_ICONHAND = 16;
constexpr int IDOK = 1;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
// A modal box with the text (a '\n' breaks the line), the caption and OK, or Yes
// and No; answers the button chosen. `owner` may be null; either way no input
// reaches the program's window while the box shows.
int MessageBox(Window owner, const char* text, const char* caption, unsigned type);

// ---------------------------------------------------------------- display
constexpr unsigned DDSCL_FULLSCREEN = 1;
constexpr unsigned DDSCL_EXCLUSIVE = 16;

bool DirectDrawCreate(DirectDraw* directDraw);
bool SetCooperativeLevel(DirectDraw directDraw, Window window, unsigned flags);
bool SetDisplayMode(DirectDraw directDraw, std::int32_t width, std::int32_t height,
                    std::int32_t bitsPerPixel);
// While another program has the display, the surfaces lose their memory: calls
// that draw on or from a lost surface fail, and also ask for WM_PAINT so that
// the window can restore and redraw. Setting the display mode loses them too.
// The visible screen: what is drawn on it is shown, with no back buffer.
bool CreatePrimarySurface(DirectDraw directDraw, Surface* surface);
bool CreateOffscreenSurface(DirectDraw directDraw, std::int32_t width, std::int32_t height,
                            Surface* surface);
void GetSurfaceSize(Surface surface, std::int32_t* width, std::int32_t* height);
// Gives the surface back (DirectDraw's Release); its handle is not used again.
void ReleaseSurface(Surface surface);
bool IsLost(Surface surface);
// Gives a lost surface its memory back; what it held is gone and must be drawn
// again. False while the display is not in the mode the surface was made in.
bool Restore(Surface surface);

// A drawing context on the surface, held for one drawing step. It may be
// refused (null); the step then skips its drawing.
DrawingContext GetDC(Surface surface);
void ReleaseDC(Surface surface, DrawingContext context);

constexpr unsigned DDBLTFAST_NOCOLORKEY = 0;
constexpr unsigned DDBLT_WAIT = 0x1000000;
constexpr unsigned DDBLT_KEYSRC = 0x8000;
constexpr unsigned DDBLT_ALPHADEST = 0x1;
constexpr unsigned DDCKEY_SRCBLT = 8;

// Copies `source` (the whole surface when null) stretched onto `destination`
// (the whole surface when null), nearest neighbour; with DDBLT_KEYSRC the source
// pixels equal to the source colour key are skipped. Clipped to both surfaces.
bool Blt(Surface target, const Rect* destination, Surface from, const Rect* source,
         unsigned flags);
// Copies `source` unscaled with its top-left corner at (x, y), no colour key.
bool BltFast(Surface target, std::int32_t x, std::int32_t y, Surface from, const Rect* source,
             unsigned flags);
bool SetColorKey(Surface surface, unsigned flags, Colour low, Colour high);

// ---------------------------------------------------------------- GDI
Brush CreateSolidBrush(Colour colour);
void DeleteObject(Brush brush);
// Selects the brush that fills shapes; answers the one selected before.
Brush SelectObject(DrawingContext context, Brush brush);
// Filled with the selected brush, outlined by a one-pixel black pen inside the box.
bool Rectangle(DrawingContext context, std::int32_t left, std::int32_t top, std::int32_t right,
               std::int32_t bottom);
bool Ellipse(DrawingContext context, std::int32_t left, std::int32_t top, std::int32_t right,
             std::int32_t bottom);
Colour SetBkColor(DrawingContext context, Colour colour);
Colour SetTextColor(DrawingContext context, Colour colour);
// One line placed by its top-left corner, every character cell filled with the
// background colour, in one font whose cells are at most 20 pixels high.
bool TextOut(DrawingContext context, std::int32_t x, std::int32_t y, const char* text,
             std::int32_t length);

// Bitmap files. The name may use '\' as its separator; it is mapped to the host's.
// Missing, unreadable or corrupt files give null.
Bitmap LoadImageFromFile(const char* name);
void GetBitmapSize(Bitmap bitmap, std::int32_t* width, std::int32_t* height);
// Copies the whole bitmap stretched onto (x, y, width, height) of the context's surface.
bool StretchBitmap(DrawingContext context, std::int32_t x, std::int32_t y, std::int32_t width,
                   std::int32_t height, Bitmap bitmap);
void DeleteBitmap(Bitmap bitmap);

// ---------------------------------------------------------------- files
// Up to `most` bytes from the start of the file at `path` (links followed).
// False when it is no regular file (missing, a folder, a FIFO, a device, a
// socket) or cannot be read; such a file is never opened in a way that waits.
bool ReadFileHead(const char* path, std::size_t most, std::vector<std::uint8_t>& bytes);
// Makes the file at `path` hold exactly `bytes`; false when it does not.
// - Symbolic links stay: the file they lead to gets the bytes (Linux).
// - A file that is not a regular one, or that the player may not write or
//   read back (its mode, a read-only disk), is left as it is and the save fails.
// - The bytes go to a new temporary file of a name no one else uses, beside
//   the file, which is flushed, renamed over it, and the folder flushed too:
//   a crash leaves the old file or the whole new one, and of two saves at once
//   the last rename wins with each reporting its own outcome. The file keeps
//   its mode and, where the system permits, its owner.
// - A file with other names (hard links, Linux), and a file in a folder that
//   takes no new file, is rewritten where it is, so that every name sees the
//   new bytes; only there can a save cut off half-way leave new bytes over old.
// - Nothing is ever removed but the temporary this save made.
bool ReplaceFileContents(const char* path, std::span<const std::uint8_t> bytes);

}  // namespace platform
