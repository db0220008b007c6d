// The SDL backend: the real game in a borderless window over the whole desktop.
// The 800 x 600 picture is scaled onto the window surface in software (no
// OpenGL: far less memory and a faster first frame), with its aspect kept and
// black bars; input is mapped back to the picture's coordinates; the loop
// blocks in SDL's wait until input comes or the next timer falls due.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "shell/platform/common/message_queue.h"
#include "shell/platform/common/surface.h"
#include "shell/platform/common/text.h"
#include "shell/platform/common/timers.h"
#include "shell/platform/platform.h"
#include "shell/platform/sdl/sdl_backend.h"
#include "shell/platform/sdl/sdl_images.h"

namespace platform {

struct WindowObject {
    SDL_Window* sdl = nullptr;
};
struct DirectDrawObject {
    int unused = 0;
};
struct CursorObject {
    SDL_Cursor* sdl = nullptr;
};

namespace {

constexpr std::int32_t kPictureWidth = 800;
constexpr std::int32_t kPictureHeight = 600;

struct State {
    bool videoStarted = false;
    bool videoFailed = false;
    bool windowed = false;  // asked for on the command line
    std::map<std::string, WindowProc> classes;
    std::unique_ptr<WindowObject> window;
    DirectDrawObject directDraw;
    bool directDrawMade = false;
    bool cooperative = false;
    bool modeSet = false;
    Surface primary = nullptr;
    std::unique_ptr<CursorObject> cursor;

    common::TimerSet timers;
    common::MessageQueue queue;
    bool destroyed = false;

    // Where the picture lies on the window, and the maps from window columns
    // and rows back to the picture's.
    SDL_Rect picture{0, 0, 0, 0};
    int layoutWidth = 0;
    int layoutHeight = 0;
    std::vector<int> sourceColumn;
    std::vector<int> sourceRow;
    std::vector<Uint32> palette;  // RGB565 -> the window surface's pixel format
    Uint32 paletteFormat = 0;
    bool exposed = true;
};

State& S() {
    static State state;
    return state;
}

bool StartVideo() {
    State& s = S();
    if (s.videoStarted) return true;
    if (s.videoFailed) return false;
    // The window surface must be a plain shared-memory image, not an OpenGL texture.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "Wolby: no display (%s)\n", SDL_GetError());
        s.videoFailed = true;
        return false;
    }
    s.videoStarted = true;
    return true;
}

void Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    State& s = S();
    s.queue.PostFoldingMoves(Message{s.window.get(), message, wParam, lParam});
}

void Layout(int width, int height) {
    State& s = S();
    if (width == s.layoutWidth && height == s.layoutHeight) return;
    s.layoutWidth = width;
    s.layoutHeight = height;
    // The largest 4:3 rectangle that fits, centred.
    int w = width;
    int h = static_cast<int>(static_cast<std::int64_t>(width) * kPictureHeight / kPictureWidth);
    if (h > height) {
        h = height;
        w = static_cast<int>(static_cast<std::int64_t>(height) * kPictureWidth / kPictureHeight);
    }
    w = std::max(w, 1);
    h = std::max(h, 1);
    s.picture = SDL_Rect{(width - w) / 2, (height - h) / 2, w, h};
    s.sourceColumn.resize(static_cast<std::size_t>(w));
    s.sourceRow.resize(static_cast<std::size_t>(h));
    for (int x = 0; x < w; ++x) {
        s.sourceColumn[static_cast<std::size_t>(x)] =
            static_cast<int>((2 * std::int64_t{x} + 1) * kPictureWidth / (2 * std::int64_t{w}));
    }
    for (int y = 0; y < h; ++y) {
        s.sourceRow[static_cast<std::size_t>(y)] =
            static_cast<int>((2 * std::int64_t{y} + 1) * kPictureHeight / (2 * std::int64_t{h}));
    }
}

// A window point as the picture's point; a point in a bar goes to the nearest edge.
std::intptr_t PictureParam(int x, int y) {
    const State& s = S();
    int px = 0;
    int py = 0;
    if (s.picture.w > 0 && s.picture.h > 0) {
        px = static_cast<int>((std::int64_t{x} - s.picture.x) * kPictureWidth / s.picture.w);
        py = static_cast<int>((std::int64_t{y} - s.picture.y) * kPictureHeight / s.picture.h);
    }
    px = std::clamp(px, 0, kPictureWidth - 1);
    py = std::clamp(py, 0, kPictureHeight - 1);
    return static_cast<std::intptr_t>(static_cast<std::uint32_t>(px) | (static_cast<std::uint32_t>(py) << 16));
}

void Present(bool always) {
    State& s = S();
    if (!s.window || s.window->sdl == nullptr) return;
    const bool drawn = s.primary != nullptr && s.primary->drawn;
    if (!always && !drawn && !s.exposed) return;
    SDL_Surface* target = SDL_GetWindowSurface(s.window->sdl);
    if (target == nullptr) return;
    Layout(target->w, target->h);
    if (SDL_MUSTLOCK(target)) SDL_LockSurface(target);

    // Bars (and everything before the primary surface exists) are black.
    const Uint32 black = SDL_MapRGB(target->format, 0, 0, 0);
    if (s.primary == nullptr) {
        SDL_FillRect(target, nullptr, black);
    } else {
        const SDL_Rect& p = s.picture;
        const SDL_Rect bars[4] = {{0, 0, target->w, p.y},
                                  {0, p.y + p.h, target->w, target->h - p.y - p.h},
                                  {0, p.y, p.x, p.h},
                                  {p.x + p.w, p.y, target->w - p.x - p.w, p.h}};
        for (const SDL_Rect& bar : bars) {
            if (bar.w > 0 && bar.h > 0) SDL_FillRect(target, &bar, black);
        }
        if (target->format->BytesPerPixel == 4) {
            if (s.paletteFormat != target->format->format || s.palette.empty()) {
                s.palette.resize(65536);
                for (std::uint32_t v = 0; v < 65536; ++v) {
                    const Colour c = common::FromPixel(static_cast<std::uint16_t>(v));
                    s.palette[v] = SDL_MapRGB(target->format, static_cast<Uint8>(c & 0xFF),
                                              static_cast<Uint8>((c >> 8) & 0xFF),
                                              static_cast<Uint8>((c >> 16) & 0xFF));
                }
                s.paletteFormat = target->format->format;
            }
            const std::uint16_t* source = s.primary->pixels.data();
            int previousRow = -1;
            Uint32* previousLine = nullptr;
            for (int y = 0; y < p.h; ++y) {
                auto* line = reinterpret_cast<Uint32*>(static_cast<Uint8*>(target->pixels) +
                                                       static_cast<std::ptrdiff_t>(p.y + y) * target->pitch) + p.x;
                const int row = s.sourceRow[static_cast<std::size_t>(y)];
                if (row == previousRow && previousLine != nullptr) {
                    std::copy(previousLine, previousLine + p.w, line);  // a repeated row
                } else {
                    const std::uint16_t* sourceLine = source + static_cast<std::ptrdiff_t>(row) * kPictureWidth;
                    for (int x = 0; x < p.w; ++x) {
                        line[x] = s.palette[sourceLine[s.sourceColumn[static_cast<std::size_t>(x)]]];
                    }
                }
                previousRow = row;
                previousLine = line;
            }
        } else {
            // Unusual window formats: let SDL convert and scale.
            SDL_Surface* wrapped = SDL_CreateRGBSurfaceWithFormatFrom(
                s.primary->pixels.data(), kPictureWidth, kPictureHeight, 16, kPictureWidth * 2,
                SDL_PIXELFORMAT_RGB565);
            if (wrapped) {
                SDL_Rect destination = p;
                SDL_BlitScaled(wrapped, nullptr, target, &destination);
                SDL_FreeSurface(wrapped);
            }
        }
    }
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
    SDL_UpdateWindowSurface(s.window->sdl);
    if (s.primary) s.primary->drawn = false;
    s.exposed = false;
}

std::uintptr_t VirtualKey(const SDL_Keysym& key) {
    const SDL_Keycode code = key.sym;
    if (code == SDLK_ESCAPE) return VK_ESCAPE;
    if (code >= SDLK_a && code <= SDLK_z) return static_cast<std::uintptr_t>('A' + (code - SDLK_a));
    if (code >= SDLK_0 && code <= SDLK_9) return static_cast<std::uintptr_t>(code);
    if (code == SDLK_RETURN || code == SDLK_KP_ENTER) return 13;
    if (code == SDLK_SPACE) return 32;
    return 0xFF;  // some other key: the game only tells ESC from the rest
}

void Translate(const SDL_Event& event) {
    State& s = S();
    switch (event.type) {
        case SDL_QUIT:
            if (!s.destroyed) {
                s.destroyed = true;
                Post(WM_DESTROY, 0, 0);
            }
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE && !s.destroyed) {
                s.destroyed = true;
                Post(WM_DESTROY, 0, 0);
            } else if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                       event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
                       event.window.event == SDL_WINDOWEVENT_SHOWN) {
                s.exposed = true;
            }
            break;
        case SDL_MOUSEMOTION:
            Post(WM_MOUSEMOVE, 0, PictureParam(event.motion.x, event.motion.y));
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button == SDL_BUTTON_LEFT) {
                Post(WM_MOUSEMOVE, 0, PictureParam(event.button.x, event.button.y));
                Post(WM_LBUTTONDOWN, 1 /* MK_LBUTTON */, PictureParam(event.button.x, event.button.y));
            }
            break;
        case SDL_KEYDOWN:
            // With no window manager nobody else turns Alt+F4 into a close.
            if (event.key.keysym.sym == SDLK_F4 && (event.key.keysym.mod & KMOD_ALT) != 0) {
                if (!s.destroyed) {
                    s.destroyed = true;
                    Post(WM_DESTROY, 0, 0);
                }
            } else {
                Post(WM_KEYDOWN, VirtualKey(event.key.keysym), 0);
            }
            break;
        default:
            break;
    }
}

void PumpEvents() {
    if (!S().videoStarted) return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) Translate(event);
}

std::int64_t Ticks() { return static_cast<std::int64_t>(SDL_GetTicks64()); }

}  // namespace

namespace sdl {
void PresentNow() { Present(true); }
void UseWindow(bool windowed) { S().windowed = windowed; }
}  // namespace sdl

// ---------------------------------------------------------------- window system
bool RegisterClassEx(const char* className, WindowProc procedure) {
    if (className == nullptr || procedure == nullptr) return false;
    S().classes[className] = procedure;
    return true;
}

Window CreateWindowEx(const char* className, const char* title, std::int32_t x, std::int32_t y,
                      std::int32_t width, std::int32_t height) {
    State& s = S();
    if (className == nullptr || s.classes.count(className) == 0 || s.window || !StartVideo()) {
        return nullptr;
    }
    SDL_Window* window = SDL_CreateWindow(title ? title : "", x, y, std::max(width, 1),
                                          std::max(height, 1), SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN);
    if (window == nullptr) {
        std::fprintf(stderr, "Wolby: no window (%s)\n", SDL_GetError());
        return nullptr;
    }
    if (SDL_Surface* icon = sdl::CreateIcon()) {
        SDL_SetWindowIcon(window, icon);
        SDL_FreeSurface(icon);
    }
    s.window = std::make_unique<WindowObject>(WindowObject{window});
    s.exposed = true;
    return s.window.get();
}

void ShowWindow(Window window) {
    if (window && window->sdl) {
        SDL_ShowWindow(window->sdl);
        Present(true);
    }
}

void UpdateWindow(Window window) {
    if (window && window->sdl) Present(true);
}

void SetForegroundWindow(Window window) {
    if (window && window->sdl) SDL_RaiseWindow(window->sdl);
}

Cursor LoadCursor(int resource) {
    State& s = S();
    if (resource != kForkCursor || !StartVideo()) return nullptr;
    if (!s.cursor) {
        SDL_Cursor* cursor = sdl::CreateForkCursor();
        if (cursor == nullptr) return nullptr;
        s.cursor = std::make_unique<CursorObject>(CursorObject{cursor});
    }
    return s.cursor.get();
}

void SetCursor(Cursor cursor) {
    if (cursor && cursor->sdl) SDL_SetCursor(cursor->sdl);
}

std::int32_t GetSystemMetrics(int index) {
    if (S().modeSet) return index == SM_CXSCREEN ? kPictureWidth : index == SM_CYSCREEN ? kPictureHeight : 0;
    SDL_DisplayMode mode{};
    if (!StartVideo() || SDL_GetDesktopDisplayMode(0, &mode) != 0) {
        mode.w = kPictureWidth;
        mode.h = kPictureHeight;
    }
    if (index == SM_CXSCREEN) return mode.w;
    if (index == SM_CYSCREEN) return mode.h;
    return 0;
}

bool GetMessage(Message* message) {
    State& s = S();
    for (;;) {
        PumpEvents();
        const common::MessageQueue::Taken taken = s.queue.Take(s.window.get(), message);
        if (taken != common::MessageQueue::Taken::Nothing) return taken == common::MessageQueue::Taken::Message;
        const std::int64_t now = Ticks();
        if (s.timers.TakeTick(now, message)) return true;
        Present(false);

        const auto next = s.timers.NextExpiry();
        const int timeout = next ? static_cast<int>(std::clamp<std::int64_t>(*next - now, 0, 1 << 30)) : -1;
        if (!s.videoStarted) {
            // No display and nothing to wait for: nothing will ever come.
            if (timeout < 0) return false;
            SDL_Delay(static_cast<Uint32>(timeout));
            continue;
        }
        SDL_Event event;
        const int got = timeout < 0 ? SDL_WaitEvent(&event) : SDL_WaitEventTimeout(&event, timeout);
        if (got) Translate(event);
    }
}

void TranslateMessage(const Message*) {}

std::intptr_t DispatchMessage(const Message* message) {
    State& s = S();
    if (message == nullptr || message->window == nullptr || message->window != s.window.get() ||
        s.classes.empty()) {
        return 0;
    }
    const std::intptr_t result = s.classes.begin()->second(message->window, message->message,
                                                           message->wParam, message->lParam);
    Present(false);
    return result;
}

std::intptr_t DefWindowProc(Window, unsigned, std::uintptr_t, std::intptr_t) { return 0; }

void PostQuitMessage(int) { S().queue.PostQuit(); }

void SetTimer(Window window, std::uintptr_t id, unsigned periodMs) {
    S().timers.Set(window, id, periodMs, Ticks());
}

void KillTimer(Window, std::uintptr_t id) { S().timers.Kill(id); }

void Sleep(unsigned ms) {
    Present(false);
    SDL_Delay(ms);
}

std::int64_t CalendarTime() { return static_cast<std::int64_t>(std::time(nullptr)); }

int MessageBox(Window owner, const char* text, const char* caption, unsigned type) {
    const bool yesNo = (type & 0xF) == MB_YESNO;
    const int fallback = yesNo ? IDNO : IDOK;
    const std::string utf8Text = common::Cp1250ToUtf8(text ? text : "");
    const std::string utf8Caption = common::Cp1250ToUtf8(caption ? caption : "");
    // Enter answers the first button, Escape the last.
    const SDL_MessageBoxButtonData yesNoButtons[2] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Tak"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "Nie"}};
    const SDL_MessageBoxButtonData okButton[1] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK, "OK"}};
    Uint32 flags = SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    flags |= (type & MB_ICONHAND) ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    SDL_Window* parent = (owner && owner->sdl) ? owner->sdl : nullptr;
    const SDL_MessageBoxData data{flags,
                                  parent,
                                  utf8Caption.c_str(),
                                  utf8Text.c_str(),
                                  yesNo ? 2 : 1,
                                  yesNo ? yesNoButtons : okButton,
                                  nullptr};
    int answer = -1;
    if (SDL_ShowMessageBox(&data, &answer) != 0) {
        // A person must still learn why the program stops.
        std::fprintf(stderr, "%s: %s\n", utf8Caption.c_str(), utf8Text.c_str());
        return fallback;
    }
    S().exposed = true;
    return answer == IDYES || answer == IDNO || answer == IDOK ? answer : fallback;
}

// ---------------------------------------------------------------- display
bool DirectDrawCreate(DirectDraw* directDraw) {
    if (directDraw == nullptr) return false;
    *directDraw = nullptr;
    if (!StartVideo()) return false;
    S().directDrawMade = true;
    *directDraw = &S().directDraw;
    return true;
}

bool SetCooperativeLevel(DirectDraw directDraw, Window window, unsigned flags) {
    if (directDraw != &S().directDraw || window == nullptr || window != S().window.get()) return false;
    S().cooperative = (flags & DDSCL_EXCLUSIVE) != 0;
    return true;
}

bool SetDisplayMode(DirectDraw directDraw, std::int32_t width, std::int32_t height,
                    std::int32_t bitsPerPixel) {
    // The monitor keeps its mode: the game's 800 x 600 picture is scaled onto it.
    if (directDraw != &S().directDraw || !S().cooperative || width != kPictureWidth ||
        height != kPictureHeight || bitsPerPixel != 16) {
        return false;
    }
    S().modeSet = true;
    return true;
}

bool CreatePrimarySurface(DirectDraw directDraw, Surface* surface) {
    if (surface == nullptr) return false;
    *surface = nullptr;
    if (directDraw != &S().directDraw || S().primary) return false;
    S().primary = common::NewSurface(kPictureWidth, kPictureHeight);
    *surface = S().primary;
    return *surface != nullptr;
}

bool CreateOffscreenSurface(DirectDraw directDraw, std::int32_t width, std::int32_t height,
                            Surface* surface) {
    if (surface == nullptr) return false;
    *surface = nullptr;
    if (directDraw != &S().directDraw) return false;
    *surface = common::NewSurface(width, height);
    return *surface != nullptr;
}

DrawingContext GetDC(Surface surface) { return common::OpenContext(surface); }

void ReleaseDC(Surface surface, DrawingContext context) { common::CloseContext(surface, context); }

}  // namespace platform
