// The Windows build's player of a Windows scene (scenes.txt): the whole game
// on the win32 backend (run under Wine), each shot written to the folder given
// as scenes.h says. Run it in a folder that holds zdj\15.bmp, on an 800 x 600 screen.
//   usage: wolby_scenes.exe <scenes.txt> <scene> <output folder>
//
// The scene runs on the game's own thread: a message hook sees every message
// the game's loop takes, and a thread message of the player (never handed to
// the game) plays the next steps. The input each step gives goes to the game's
// window as posted messages, in order before the player's next message.
// Two of the platform's calls are seen on their way from the game: the link
// wraps them (--wrap), so the game's calls reach the two functions below and
// the platform's own are reached as __real_*. A text's rectangle is the one
// GDI reports for the call (its bounds accumulation); an ellipse may be a
// growing disc's. The screen is read back from the DirectDraw primary surface
// through its device context.
// Windows' headers, with their macros that clash with the platform's names dropped.
#include "platform/win32/win32_api.h"

#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/win32_backend.h"
#include "screens/program_state.h"
#include "tests/scenes/scenes.h"
#include "tests/support/byte_file.h"

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

const scenes::Scene* g_scene = nullptr;
std::string g_folder;
std::size_t g_written = 0;
bool g_failed = false;
DWORD g_thread = 0;

void Complain(const std::string& what) {
    std::fprintf(stderr, "wolby_scenes: %s\n", what.c_str());
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
    info.header.biWidth = scenes::kWidth;
    info.header.biHeight = -scenes::kHeight;
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
        read = ::BitBlt(copy, 0, 0, scenes::kWidth, scenes::kHeight, screen, 0, 0, SRCCOPY) != 0;
        ::GdiFlush();
        const auto* from = static_cast<const std::uint16_t*>(bits);
        pixels->assign(from, from + scenes::kWidth * scenes::kHeight);
        ::SelectObject(copy, previous);
    }
    if (bitmap != nullptr) ::DeleteObject(bitmap);
    if (copy != nullptr) ::DeleteDC(copy);
    if (!read) Complain("the screen cannot be read back");
    return read;
}

void Shot(const std::string& name, HDC screen) {
    std::vector<std::uint16_t> pixels;
    if (!ReadScreen(screen, &pixels)) return;
    if (scenes::WriteShot(g_folder, name, pixels, g_screen)) {
        ++g_written;
    } else {
        Complain("cannot write " + name + " in " + g_folder);
    }
}

// Between two messages of the game's loop no context is held: one is taken for the reading.
void Shot(const std::string& name) {
    DrawingContext context = platform::GetDC(g_primarySurface);
    if (context == nullptr) {
        Complain("no device context on the screen for " + name);
        return;
    }
    Shot(name, reinterpret_cast<HDC>(context));
    platform::ReleaseDC(g_primarySurface, context);
}

void Post(UINT message, WPARAM wParam, std::int32_t x, std::int32_t y) {
    ::PostMessageA(reinterpret_cast<HWND>(g_mainWindow), message, wParam, MAKELPARAM(x, y));
}

// Plays the scene's steps up to and including the next one that gives the
// game input; the ones before it only look. After the last, the game quits.
// (A Windows scene has no wait, series or reload: scenes::Read holds it to that.)
std::size_t g_next = 0;
void PlayOn() {
    using scenes::Step;
    while (g_next < g_scene->steps.size()) {
        const Step& step = g_scene->steps[g_next++];
        switch (step.kind) {
            case Step::Move: Post(platform::WM_MOUSEMOVE, 0, step.x, step.y); break;
            case Step::Click:
                Post(platform::WM_MOUSEMOVE, 0, step.x, step.y);
                Post(platform::WM_LBUTTONDOWN, MK_LBUTTON, step.x, step.y);
                break;
            case Step::Escape: Post(platform::WM_KEYDOWN, platform::VK_ESCAPE, 0, 0); break;
            case Step::Shot: Shot(step.name); continue;
            case Step::Growing: scenes::ArmGrowing(step); continue;
            case Step::Wait:
            case Step::Series:
            case Step::Reload: continue;
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
        scenes::NoteText({bounds.left, bounds.top, bounds.right, bounds.bottom}, g_screen);
    } else if (drawn && length > 0) {
        Complain("GDI reports no bounds for a text");
    }
    return drawn;
}

bool SeenEllipse(DrawingContext context, std::int32_t left, std::int32_t top, std::int32_t right,
                 std::int32_t bottom) {
    const bool drawn = RealEllipse(context, left, top, right, bottom);
    if (const scenes::Step* step = scenes::EllipseDrawn()) Shot(step->name, reinterpret_cast<HDC>(context));
    return drawn;
}

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: wolby_scenes <scenes.txt> <scene> <output folder>\n");
        return 2;
    }
    std::vector<scenes::Scene> file;
    std::string error;
    if (!scenes::Read(argv[1], &file, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    for (const scenes::Scene& scene : file) {
        if (scene.windows && scene.name == argv[2]) g_scene = &scene;
    }
    if (g_scene == nullptr) {
        std::fprintf(stderr, "wolby_scenes: no Windows scene %s in %s\n", argv[2], argv[1]);
        return 1;
    }
    g_folder = argv[3];
    if (!wolby_test::WriteBytes("setting.dat", g_scene->settings)) {
        std::fprintf(stderr, "wolby_scenes: cannot write setting.dat here\n");
        return 1;
    }
    g_thread = ::GetCurrentThreadId();
    HHOOK hook = ::SetWindowsHookExA(WH_GETMESSAGE, SeeMessage, nullptr, g_thread);
    if (hook == nullptr) {
        std::fprintf(stderr, "wolby_scenes: no message hook\n");
        return 1;
    }
    ::PostThreadMessageA(g_thread, kPlayOn, 0, 0);
    platform::win32::SetShowCommand(SW_SHOWNORMAL);
    const int status = RunWolby();
    ::UnhookWindowsHookEx(hook);
    const std::size_t expected = scenes::ShotNames(*g_scene).size();
    if (status != 1 || g_failed || g_written != expected) {
        std::fprintf(stderr, "wolby_scenes: exit %d, %zu of %zu pictures written\n", status, g_written, expected);
        return 1;
    }
    return 0;
}
