// The win32 backend: every platform operation on the Win32, GDI and DirectDraw
// call of the same name. The handles are the Windows objects themselves (HWND,
// IDirectDrawSurface*, HDC, HBRUSH, HBITMAP, HCURSOR), passed through as opaque
// pointers. Texts are code page 1250 and are turned into UTF-16 for the wide
// calls, so Polish letters show whatever the system's ANSI code page is.
#include "platform/win32/win32_api.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/common/bitmap_header.h"
#include "platform/win32/win32_backend.h"

namespace platform {
namespace {

constexpr UINT kPolishCodePage = 1250;

struct State {
    // The game registers one window class; its procedure takes every message.
    WindowProc procedure = nullptr;
    int showCommand = SW_SHOWNORMAL;
    // The message GetMessage took last, so that dispatching it keeps its time and point.
    MSG last{};
    // The window that holds the display: a lost surface asks it for WM_PAINT.
    HWND displayWindow = nullptr;
    HFONT font = nullptr;
    bool fontTried = false;
};

State& S() {
    static State state;
    return state;
}

HWND Hwnd(Window window) { return reinterpret_cast<HWND>(window); }
Window ToWindow(HWND window) { return reinterpret_cast<Window>(window); }
IDirectDraw* Dd(DirectDraw directDraw) { return reinterpret_cast<IDirectDraw*>(directDraw); }
IDirectDrawSurface* Dds(Surface surface) { return reinterpret_cast<IDirectDrawSurface*>(surface); }
HDC Hdc(DrawingContext context) { return reinterpret_cast<HDC>(context); }
HBRUSH Hbrush(Brush brush) { return reinterpret_cast<HBRUSH>(brush); }
HBITMAP Hbitmap(Bitmap bitmap) { return reinterpret_cast<HBITMAP>(bitmap); }

HINSTANCE Instance() { return ::GetModuleHandleA(nullptr); }

LRESULT CALLBACK WindowTrampoline(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // DirectDraw minimises the full-screen window when another program is
    // switched to. Without a window manager nothing restores it, and Wine
    // delivers no click or key to a minimised window: when the program is
    // switched back to, the window comes back before the game redraws.
    if (message == WM_ACTIVATEAPP && wParam != 0 && ::IsIconic(window)) ::ShowWindow(window, SW_RESTORE);
    if (S().procedure == nullptr) return ::DefWindowProcA(window, message, wParam, lParam);
    return S().procedure(ToWindow(window), message, wParam, lParam);
}

// A call that finds its surface lost asks the window to be painted: the game
// restores the surfaces and redraws there, once the call's own step is over.
HRESULT Checked(HRESULT result) {
    if (result == DDERR_SURFACELOST && S().displayWindow != nullptr) {
        ::InvalidateRect(S().displayWindow, nullptr, FALSE);
    }
    return result;
}

std::wstring Wide(const char* text, int length) {
    if (text == nullptr || length <= 0) return {};
    const int count = ::MultiByteToWideChar(kPolishCodePage, 0, text, length, nullptr, 0);
    if (count <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(count), L'\0');
    ::MultiByteToWideChar(kPolishCodePage, 0, text, length, wide.data(), count);
    return wide;
}

std::wstring Wide(const char* text) {
    return text == nullptr ? std::wstring() : Wide(text, static_cast<int>(std::strlen(text)));
}

// The one font of TextOut: cells 17 pixels high (lines 20 pixels apart never
// overlap), with the East European character set so the font mapper picks a
// face that has every Polish letter. Null when none can be made: the context's
// own font is used then.
HFONT Font() {
    State& s = S();
    if (!s.fontTried) {
        s.fontTried = true;
        s.font = ::CreateFontW(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, EASTEUROPE_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                               DEFAULT_PITCH | FF_SWISS, L"Tahoma");
    }
    return s.font;
}

RECT ToRect(const Rect& rect) { return RECT{rect.left, rect.top, rect.right, rect.bottom}; }

bool SurfaceSize(IDirectDrawSurface* surface, LONG* width, LONG* height) {
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    if (surface == nullptr || FAILED(surface->GetSurfaceDesc(&desc))) return false;
    *width = static_cast<LONG>(desc.dwWidth);
    *height = static_cast<LONG>(desc.dwHeight);
    return true;
}

// DirectDraw refuses rectangles that stick out of a surface unless a clipper is
// attached; an unscaled copy is clipped to both surfaces here instead, as the
// platform promises. False when nothing is left to copy.
bool ClipUnscaled(IDirectDrawSurface* target, IDirectDrawSurface* from, RECT* destination,
                  RECT* source) {
    LONG targetWidth = 0, targetHeight = 0, fromWidth = 0, fromHeight = 0;
    if (!SurfaceSize(target, &targetWidth, &targetHeight) || !SurfaceSize(from, &fromWidth, &fromHeight)) {
        return false;
    }
    const LONG cutLeft = std::max({0L, -destination->left, -source->left});
    const LONG cutTop = std::max({0L, -destination->top, -source->top});
    const LONG cutRight = std::max({0L, destination->right - targetWidth, source->right - fromWidth});
    const LONG cutBottom = std::max({0L, destination->bottom - targetHeight, source->bottom - fromHeight});
    destination->left += cutLeft;
    source->left += cutLeft;
    destination->top += cutTop;
    source->top += cutTop;
    destination->right -= cutRight;
    source->right -= cutRight;
    destination->bottom -= cutBottom;
    source->bottom -= cutBottom;
    return destination->left < destination->right && destination->top < destination->bottom;
}

// A colour as a pixel of the surface's own format, for colour keys.
DWORD SurfacePixel(IDirectDrawSurface* surface, Colour colour) {
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    if (FAILED(surface->GetSurfaceDesc(&desc)) || (desc.ddpfPixelFormat.dwFlags & DDPF_RGB) == 0) {
        return colour;
    }
    const auto channel = [](DWORD value8, DWORD mask) -> DWORD {
        if (mask == 0) return 0;
        int shift = 0;
        while (((mask >> shift) & 1) == 0) ++shift;
        int bits = 0;
        while (((mask >> (shift + bits)) & 1) != 0 && shift + bits < 32) ++bits;
        const DWORD scaled = bits >= 8 ? value8 << (bits - 8) : value8 >> (8 - bits);
        return (scaled << shift) & mask;
    };
    const DDPIXELFORMAT& format = desc.ddpfPixelFormat;
    return channel(colour & 0xFF, format.dwRBitMask) | channel((colour >> 8) & 0xFF, format.dwGBitMask) |
           channel((colour >> 16) & 0xFF, format.dwBBitMask);
}

// The MSG behind a platform message: the one GetMessage took, when it is that one.
MSG ToMsg(const Message& message) {
    const MSG& last = S().last;
    if (last.hwnd == Hwnd(message.window) && last.message == message.message &&
        last.wParam == message.wParam && last.lParam == message.lParam) {
        return last;
    }
    MSG msg{};
    msg.hwnd = Hwnd(message.window);
    msg.message = message.message;
    msg.wParam = message.wParam;
    msg.lParam = message.lParam;
    msg.time = static_cast<DWORD>(::GetMessageTime());
    return msg;
}

// Whether the file's headers pass the size rule every backend applies, read
// before LoadImageA would allocate whatever picture the file claims. Only a
// file on a disk is read: a pipe or a device under the name could wait.
bool FileHeaderAccepted(const char* name) {
    HANDLE file = ::CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::uint8_t bytes[common::kBitmapHeadersSize];
    DWORD read = 0;
    const bool got = ::GetFileType(file) == FILE_TYPE_DISK &&
                     ::ReadFile(file, bytes, sizeof bytes, &read, nullptr) != 0;
    ::CloseHandle(file);
    common::BitmapHeader header;
    return got && common::ReadBitmapHeader(bytes, read, &header);
}

}  // namespace

namespace win32 {
void SetShowCommand(int showCommand) { S().showCommand = showCommand; }
}  // namespace win32

// ---------------------------------------------------------------- window system
bool RegisterClassEx(const char* className, WindowProc procedure) {
    if (className == nullptr || procedure == nullptr) return false;
    S().procedure = procedure;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WindowTrampoline;
    windowClass.hInstance = Instance();
    // No icon, no class cursor: the cursor set before the window stays over it.
    windowClass.lpszClassName = className;
    return ::RegisterClassExA(&windowClass) != 0;
}

Window CreateWindowEx(const char* className, const char* title, std::int32_t x, std::int32_t y,
                      std::int32_t width, std::int32_t height) {
    return ToWindow(::CreateWindowExA(0, className, title, WS_POPUP, x, y, width, height, nullptr,
                                      nullptr, Instance(), nullptr));
}

void ShowWindow(Window window) { ::ShowWindow(Hwnd(window), S().showCommand); }

void UpdateWindow(Window window) { ::UpdateWindow(Hwnd(window)); }

void SetForegroundWindow(Window window) { ::SetForegroundWindow(Hwnd(window)); }

void ValidateRect(Window window) { ::ValidateRect(Hwnd(window), nullptr); }

Cursor LoadCursor(int resource) {
    const auto name = reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(resource)));
    return reinterpret_cast<Cursor>(::LoadCursorA(Instance(), name));
}

void SetCursor(Cursor cursor) {
    if (cursor != nullptr) ::SetCursor(reinterpret_cast<HCURSOR>(cursor));
}

std::int32_t GetSystemMetrics(int index) { return ::GetSystemMetrics(index); }

bool GetMessage(Message* message) {
    MSG taken{};
    // -1 is an error (never for this thread's own queue); it ends the loop as quit does.
    const BOOL got = ::GetMessageA(&taken, nullptr, 0, 0);
    S().last = taken;
    if (message) *message = Message{ToWindow(taken.hwnd), taken.message, taken.wParam, taken.lParam};
    return got > 0;
}

void TranslateMessage(const Message* message) {
    if (message == nullptr) return;
    const MSG msg = ToMsg(*message);
    ::TranslateMessage(&msg);
}

std::intptr_t DispatchMessage(const Message* message) {
    if (message == nullptr) return 0;
    const MSG msg = ToMsg(*message);
    return ::DispatchMessageA(&msg);
}

std::intptr_t DefWindowProc(Window window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    return ::DefWindowProcA(Hwnd(window), message, wParam, lParam);
}

void PostQuitMessage(int exitCode) { ::PostQuitMessage(exitCode); }

void SetTimer(Window window, std::uintptr_t id, unsigned periodMs) {
    ::SetTimer(Hwnd(window), id, periodMs, nullptr);
}

void KillTimer(Window window, std::uintptr_t id) { ::KillTimer(Hwnd(window), id); }

void Sleep(unsigned ms) { ::Sleep(ms); }

int MessageBox(Window owner, const char* text, const char* caption, unsigned type) {
    const std::wstring wideText = Wide(text);
    const std::wstring wideCaption = Wide(caption);
    // An owned box keeps its owner disabled while it shows (the game passes its
    // window for every box after the window exists).
    return ::MessageBoxW(Hwnd(owner), wideText.c_str(), wideCaption.c_str(), type);
}

// ---------------------------------------------------------------- display
bool DirectDrawCreate(DirectDraw* directDraw) {
    if (directDraw == nullptr) return false;
    IDirectDraw* created = nullptr;
    const bool made = SUCCEEDED(::DirectDrawCreate(nullptr, &created, nullptr)) && created != nullptr;
    *directDraw = made ? reinterpret_cast<DirectDraw>(created) : nullptr;
    return made;
}

bool SetCooperativeLevel(DirectDraw directDraw, Window window, unsigned flags) {
    if (directDraw == nullptr || FAILED(Dd(directDraw)->SetCooperativeLevel(Hwnd(window), flags))) return false;
    S().displayWindow = Hwnd(window);
    return true;
}

bool SetDisplayMode(DirectDraw directDraw, std::int32_t width, std::int32_t height,
                    std::int32_t bitsPerPixel) {
    if (directDraw == nullptr || width <= 0 || height <= 0 || bitsPerPixel <= 0) return false;
    return SUCCEEDED(Dd(directDraw)->SetDisplayMode(static_cast<DWORD>(width), static_cast<DWORD>(height),
                                                    static_cast<DWORD>(bitsPerPixel)));
}

bool CreatePrimarySurface(DirectDraw directDraw, Surface* surface) {
    if (surface == nullptr) return false;
    *surface = nullptr;
    if (directDraw == nullptr) return false;
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    IDirectDrawSurface* created = nullptr;
    if (FAILED(Dd(directDraw)->CreateSurface(&desc, &created, nullptr)) || created == nullptr) return false;
    *surface = reinterpret_cast<Surface>(created);
    return true;
}

bool CreateOffscreenSurface(DirectDraw directDraw, std::int32_t width, std::int32_t height,
                            Surface* surface) {
    if (surface == nullptr) return false;
    *surface = nullptr;
    if (directDraw == nullptr || width <= 0 || height <= 0) return false;
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    desc.dwWidth = static_cast<DWORD>(width);
    desc.dwHeight = static_cast<DWORD>(height);
    IDirectDrawSurface* created = nullptr;
    if (FAILED(Dd(directDraw)->CreateSurface(&desc, &created, nullptr)) || created == nullptr) return false;
    *surface = reinterpret_cast<Surface>(created);
    return true;
}

void GetSurfaceSize(Surface surface, std::int32_t* width, std::int32_t* height) {
    LONG w = 0, h = 0;
    SurfaceSize(Dds(surface), &w, &h);
    if (width) *width = w;
    if (height) *height = h;
}

void ReleaseSurface(Surface surface) {
    if (surface != nullptr) Dds(surface)->Release();
}

bool IsLost(Surface surface) { return surface != nullptr && Dds(surface)->IsLost() == DDERR_SURFACELOST; }

bool Restore(Surface surface) { return surface != nullptr && SUCCEEDED(Dds(surface)->Restore()); }

DrawingContext GetDC(Surface surface) {
    HDC context = nullptr;
    if (surface == nullptr || FAILED(Checked(Dds(surface)->GetDC(&context)))) return nullptr;
    return reinterpret_cast<DrawingContext>(context);
}

void ReleaseDC(Surface surface, DrawingContext context) {
    if (surface != nullptr && context != nullptr) Dds(surface)->ReleaseDC(Hdc(context));
}

bool Blt(Surface target, const Rect* destination, Surface from, const Rect* source, unsigned flags) {
    if (target == nullptr) return false;
    RECT to{};
    RECT of{};
    RECT* toArgument = nullptr;
    RECT* ofArgument = nullptr;
    if (destination) {
        to = ToRect(*destination);
        toArgument = &to;
    }
    if (source) {
        of = ToRect(*source);
        ofArgument = &of;
    }
    const bool unscaled = destination && source && from &&
                          to.right - to.left == of.right - of.left && to.bottom - to.top == of.bottom - of.top;
    if (unscaled && !ClipUnscaled(Dds(target), Dds(from), &to, &of)) return false;
    return SUCCEEDED(Checked(Dds(target)->Blt(toArgument, Dds(from), ofArgument, flags, nullptr)));
}

bool BltFast(Surface target, std::int32_t x, std::int32_t y, Surface from, const Rect* source,
             unsigned flags) {
    if (target == nullptr || from == nullptr) return false;
    RECT of{};
    if (source) {
        of = ToRect(*source);
    } else if (!SurfaceSize(Dds(from), &of.right, &of.bottom)) {
        return false;
    }
    RECT to{x, y, x + (of.right - of.left), y + (of.bottom - of.top)};
    if (!ClipUnscaled(Dds(target), Dds(from), &to, &of)) return false;
    return SUCCEEDED(Checked(Dds(target)->BltFast(static_cast<DWORD>(to.left), static_cast<DWORD>(to.top),
                                                  Dds(from), &of, flags)));
}

bool SetColorKey(Surface surface, unsigned flags, Colour low, Colour high) {
    if (surface == nullptr) return false;
    DDCOLORKEY key{};
    key.dwColorSpaceLowValue = SurfacePixel(Dds(surface), low);
    key.dwColorSpaceHighValue = SurfacePixel(Dds(surface), high);
    return SUCCEEDED(Checked(Dds(surface)->SetColorKey(flags, &key)));
}

// ---------------------------------------------------------------- GDI
Brush CreateSolidBrush(Colour colour) { return reinterpret_cast<Brush>(::CreateSolidBrush(colour)); }

void DeleteObject(Brush brush) {
    if (brush != nullptr) ::DeleteObject(Hbrush(brush));
}

Brush SelectObject(DrawingContext context, Brush brush) {
    if (context == nullptr || brush == nullptr) return nullptr;
    return reinterpret_cast<Brush>(::SelectObject(Hdc(context), Hbrush(brush)));
}

bool Rectangle(DrawingContext context, std::int32_t left, std::int32_t top, std::int32_t right,
               std::int32_t bottom) {
    return context != nullptr && ::Rectangle(Hdc(context), left, top, right, bottom) != 0;
}

bool Ellipse(DrawingContext context, std::int32_t left, std::int32_t top, std::int32_t right,
             std::int32_t bottom) {
    return context != nullptr && ::Ellipse(Hdc(context), left, top, right, bottom) != 0;
}

Colour SetBkColor(DrawingContext context, Colour colour) {
    return context == nullptr ? CLR_INVALID : ::SetBkColor(Hdc(context), colour);
}

Colour SetTextColor(DrawingContext context, Colour colour) {
    return context == nullptr ? CLR_INVALID : ::SetTextColor(Hdc(context), colour);
}

bool TextOut(DrawingContext context, std::int32_t x, std::int32_t y, const char* text, std::int32_t length) {
    if (context == nullptr) return false;
    const std::wstring wide = Wide(text, length);
    HDC dc = Hdc(context);
    HFONT font = Font();
    HGDIOBJ previous = font ? ::SelectObject(dc, font) : nullptr;
    const bool drawn = ::TextOutW(dc, x, y, wide.c_str(), static_cast<int>(wide.size())) != 0;
    if (previous) ::SelectObject(dc, previous);
    return drawn;
}

// ---------------------------------------------------------------- bitmaps
Bitmap LoadImageFromFile(const char* name) {
    if (name == nullptr) return nullptr;
    // A bitmap resource of that name would win; the program carries none, so
    // the file is what loads.
    HANDLE image = ::LoadImageA(Instance(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (image == nullptr && FileHeaderAccepted(name)) {
        image = ::LoadImageA(nullptr, name, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    }
    return reinterpret_cast<Bitmap>(image);
}

void GetBitmapSize(Bitmap bitmap, std::int32_t* width, std::int32_t* height) {
    BITMAP info{};
    if (bitmap == nullptr || ::GetObjectA(Hbitmap(bitmap), sizeof info, &info) == 0) info = BITMAP{};
    if (width) *width = info.bmWidth;
    if (height) *height = std::abs(info.bmHeight);
}

bool StretchBitmap(DrawingContext context, std::int32_t x, std::int32_t y, std::int32_t width,
                   std::int32_t height, Bitmap bitmap) {
    if (context == nullptr || bitmap == nullptr) return false;
    BITMAP info{};
    if (::GetObjectA(Hbitmap(bitmap), sizeof info, &info) == 0) return false;
    HDC memory = ::CreateCompatibleDC(nullptr);
    if (memory == nullptr) return false;
    HGDIOBJ previous = ::SelectObject(memory, Hbitmap(bitmap));
    const bool copied = ::StretchBlt(Hdc(context), x, y, width, height, memory, 0, 0, info.bmWidth,
                                     std::abs(info.bmHeight), SRCCOPY) != 0;
    ::SelectObject(memory, previous);
    ::DeleteDC(memory);
    return copied;
}

void DeleteBitmap(Bitmap bitmap) {
    if (bitmap != nullptr) ::DeleteObject(Hbitmap(bitmap));
}

}  // namespace platform
