// The Windows build's side of the cross-build picture test: the whole game on
// the win32 backend (run under Wine), played through the script of scenes.h,
// each capture written to the folder given. Run it in a folder that holds
// zdj\15.bmp, on an 800 x 600 screen.
//   usage: wolby_cross_scenes.exe <output folder>
//
// The script runs on the game's own thread: a message hook sees every message
// the game's loop takes, and a thread message of the harness (never handed to
// the game) plays the next steps. The input each step gives goes to the game's
// window as posted messages, in order before the harness's next message.
// Two of the platform's calls are seen on their way from the game: the link
// wraps them (--wrap), so the game's calls reach the two functions below and
// the platform's own are reached as __real_*. A text's rectangle is the one
// GDI reports for the call (its bounds accumulation); an ellipse may be the
// third of the half-grown disc. The screen is read back from the DirectDraw
// primary surface through its device context.
// Windows' headers, with their macros that clash with the platform's names dropped.
#include "platform/win32/win32_api.h"

#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/win32_backend.h"
#include "screens/program_state.h"
#include "tests/cross/scenes.h"

using platform::DrawingContext;

bool RealTextOut(DrawingContext, std::int32_t, std::int32_t, const char*, std::int32_t) __asm__(
    "__real__ZN8platform7TextOutEPNS_20DrawingContextObjectEiiPKci");
bool RealEllipse(DrawingContext, std::int32_t, std::int32_t, std::int32_t, std::int32_t) __asm__(
    "__real__ZN8platform7EllipseEPNS_20DrawingContextObjectEiiii");
bool SeenTextOut(DrawingContext, std::int32_t, std::int32_t, const char*, std::int32_t) __asm__(
    "__wrap__ZN8platform7TextOutEPNS_20DrawingContextObjectEiiPKci");
bool SeenEllipse(DrawingContext, std::int32_t, std::int32_t, std::int32_t, std::int32_t) __asm__(
    "__wrap__ZN8platform7EllipseEPNS_20DrawingContextObjectEiiii");

int RunWolby();  // shell/entry/win32_run.cpp

namespace {

constexpr UINT kPlayOn = WM_APP + 17;

std::string g_folder;
int g_written = 0;
bool g_failed = false;
DWORD g_thread = 0;

void Complain(const std::string& what) {
    std::fprintf(stderr, "wolby_cross_scenes: %s\n", what.c_str());
    g_failed = true;
}

// The screen as RGB565, copied through a device context on the primary surface.
bool ReadScreen(HDC screen, std::vector<std::uint16_t>* pixels) {
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    auto* surface = reinterpret_cast<IDirectDrawSurface*>(g_primarySurface);
    if (FAILED(surface->GetSurfaceDesc(&desc)) || desc.ddpfPixelFormat.dwRGBBitCount != 16 ||
        desc.ddpfPixelFormat.dwRBitMask != 0xF800 || desc.ddpfPixelFormat.dwGBitMask != 0x07E0 ||
        desc.ddpfPixelFormat.dwBBitMask != 0x001F) {
        Complain("the primary surface is not 16-bit RGB565");
        return false;
    }
    struct {
        BITMAPINFOHEADER header;
        DWORD masks[3];
    } info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = cross::kWidth;
    info.header.biHeight = -cross::kHeight;
    info.header.biPlanes = 1;
    info.header.biBitCount = 16;
    info.header.biCompression = BI_BITFIELDS;
    info.masks[0] = 0xF800;
    info.masks[1] = 0x07E0;
    info.masks[2] = 0x001F;
    void* bits = nullptr;
    HDC copy = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateDIBSection(copy, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    bool read = false;
    if (copy != nullptr && bitmap != nullptr && bits != nullptr) {
        HGDIOBJ previous = ::SelectObject(copy, bitmap);
        read = ::BitBlt(copy, 0, 0, cross::kWidth, cross::kHeight, screen, 0, 0, SRCCOPY) != 0;
        ::GdiFlush();
        const auto* from = static_cast<const std::uint16_t*>(bits);
        pixels->assign(from, from + cross::kWidth * cross::kHeight);
        ::SelectObject(copy, previous);
    }
    if (bitmap != nullptr) ::DeleteObject(bitmap);
    if (copy != nullptr) ::DeleteDC(copy);
    if (!read) Complain("the screen cannot be read back");
    return read;
}

void Capture(const char* name, HDC screen) {
    std::vector<std::uint16_t> pixels;
    if (!ReadScreen(screen, &pixels)) return;
    if (cross::WriteCapture(g_folder, name, pixels)) {
        ++g_written;
    } else {
        Complain(std::string("cannot write ") + name + " in " + g_folder);
    }
}

// Between two messages of the game's loop no context is held: one is taken for the reading.
void Capture(const char* name) {
    DrawingContext context = platform::GetDC(g_primarySurface);
    if (context == nullptr) {
        Complain(std::string("no device context on the screen for ") + name);
        return;
    }
    Capture(name, reinterpret_cast<HDC>(context));
    platform::ReleaseDC(g_primarySurface, context);
}

void Post(UINT message, WPARAM wParam, std::int32_t x, std::int32_t y) {
    ::PostMessageA(reinterpret_cast<HWND>(g_mainWindow), message, wParam, MAKELPARAM(x, y));
}

// Plays the script's steps up to and including the next one that gives the
// game input; the ones before it only look. After the last, the game quits.
std::size_t g_next = 0;
void PlayOn() {
    const std::vector<cross::Step>& script = cross::Script();
    while (g_next < script.size()) {
        const cross::Step& step = script[g_next++];
        if (step.newScreen) cross::ForgetTexts();
        switch (step.kind) {
            case cross::Step::Move: Post(platform::WM_MOUSEMOVE, 0, step.x, step.y); break;
            case cross::Step::Click:
                Post(platform::WM_MOUSEMOVE, 0, step.x, step.y);
                Post(platform::WM_LBUTTONDOWN, MK_LBUTTON, step.x, step.y);
                break;
            case cross::Step::Escape: Post(platform::WM_KEYDOWN, platform::VK_ESCAPE, 0, 0); break;
            case cross::Step::Capture: Capture(step.name); continue;
            case cross::Step::CaptureHalfGrown: cross::ArmHalfGrown(step.name); continue;
        }
        ::PostThreadMessageA(g_thread, kPlayOn, 0, 0);
        return;
    }
    ::PostQuitMessage(0);
}

// Every message the game's loop takes passes here first.
LRESULT CALLBACK SeeMessage(int code, WPARAM wParam, LPARAM lParam) {
    auto* message = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->hwnd == nullptr && message->message == kPlayOn) {
        message->message = WM_NULL;  // the game never sees it
        // Taken before start-up has drawn the menu (a dialog's loop): asked again later.
        static bool started = false;
        started = started || (g_sheetSurface != nullptr && g_screen == Screen::Menu);
        if (!started) {
            ::PostThreadMessageA(g_thread, kPlayOn, 0, 0);
        } else {
            PlayOn();
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

bool SeenTextOut(DrawingContext context, std::int32_t x, std::int32_t y, const char* text, std::int32_t length) {
    HDC dc = reinterpret_cast<HDC>(context);
    if (dc == nullptr) return RealTextOut(context, x, y, text, length);
    ::SetBoundsRect(dc, nullptr, DCB_RESET | DCB_ENABLE);
    const bool drawn = RealTextOut(context, x, y, text, length);
    RECT bounds{};
    const UINT state = ::GetBoundsRect(dc, &bounds, DCB_RESET);
    ::SetBoundsRect(dc, nullptr, DCB_DISABLE);
    if (state == DCB_SET) {
        cross::NoteText({bounds.left, bounds.top, bounds.right, bounds.bottom});
    } else if (drawn && length > 0) {
        Complain("GDI reports no bounds for a text");
    }
    return drawn;
}

bool SeenEllipse(DrawingContext context, std::int32_t left, std::int32_t top, std::int32_t right,
                 std::int32_t bottom) {
    const bool drawn = RealEllipse(context, left, top, right, bottom);
    if (const char* name = cross::EllipseDrawn()) Capture(name, reinterpret_cast<HDC>(context));
    return drawn;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: wolby_cross_scenes <output folder>\n");
        return 2;
    }
    g_folder = argv[1];
    if (!cross::WriteSettings()) {
        std::fprintf(stderr, "wolby_cross_scenes: cannot write setting.dat here\n");
        return 1;
    }
    g_thread = ::GetCurrentThreadId();
    HHOOK hook = ::SetWindowsHookExA(WH_GETMESSAGE, SeeMessage, nullptr, g_thread);
    if (hook == nullptr) {
        std::fprintf(stderr, "wolby_cross_scenes: no message hook\n");
        return 1;
    }
    ::PostThreadMessageA(g_thread, kPlayOn, 0, 0);
    platform::win32::SetShowCommand(SW_SHOWNORMAL);
    const int status = RunWolby();
    ::UnhookWindowsHookEx(hook);
    const std::size_t expected = cross::CaptureNames().size();
    if (status != 1 || g_failed || g_written != static_cast<int>(expected)) {
        std::fprintf(stderr, "wolby_cross_scenes: exit %d, %d of %zu screens written\n", status, g_written, expected);
        return 1;
    }
    return 0;
}
