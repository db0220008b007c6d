// Asks DirectDraw itself which source pixels a stretching Blt copies, and
// writes them in the compact form the platform tests read
// (tests/cross/blt_stretch.txt; its header says how to read it). The
// stretches: the game's own two (the disc's highlight, 50 x 48 onto 50 x 50
// with the source colour key, and the credits' strip, 100 x 300 onto 100 x 600)
// and every source length of 1..64 onto every destination length of 1..64,
// each at two places of either parity. A blit that does not take whole source
// pixels, whose columns depend on its rows (or the other way round), or whose
// picture changes with its place, stops the tool with a message.
//
// usage (under Wine, with the Direct3D renderer "gdi" as the game is tested;
// tests/cross/wine_dumps.sh runs it):
//   wine blt_stretch_dump.exe <output file>
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <ddraw.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "blt_stretch_dump: %s\n", what.c_str());
    std::exit(1);
}

IDirectDraw* g_directDraw = nullptr;

// An off-screen surface of 16-bit RGB565 pixels in system memory, one of each
// size for the whole run.
IDirectDrawSurface* NewSurface(int width, int height) {
    static std::map<std::pair<int, int>, IDirectDrawSurface*> made;
    IDirectDrawSurface*& surface = made[{width, height}];
    if (surface != nullptr) return surface;
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    desc.dwWidth = static_cast<DWORD>(width);
    desc.dwHeight = static_cast<DWORD>(height);
    desc.ddpfPixelFormat.dwSize = sizeof desc.ddpfPixelFormat;
    desc.ddpfPixelFormat.dwFlags = DDPF_RGB;
    desc.ddpfPixelFormat.dwRGBBitCount = 16;
    desc.ddpfPixelFormat.dwRBitMask = 0xF800;
    desc.ddpfPixelFormat.dwGBitMask = 0x07E0;
    desc.ddpfPixelFormat.dwBBitMask = 0x001F;
    if (FAILED(g_directDraw->CreateSurface(&desc, &surface, nullptr)) || surface == nullptr) {
        Fail("no 16-bit off-screen surface");
    }
    return surface;
}

// Calls `visit(x, y, pixel&)` for every pixel of the locked surface.
template <typename Visit>
void EachPixel(IDirectDrawSurface* surface, Visit visit) {
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    if (FAILED(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr))) Fail("a surface cannot be locked");
    auto* bytes = static_cast<std::uint8_t*>(desc.lpSurface);
    for (DWORD y = 0; y < desc.dwHeight; ++y) {
        auto* row = reinterpret_cast<std::uint16_t*>(bytes + static_cast<std::ptrdiff_t>(y) * desc.lPitch);
        for (DWORD x = 0; x < desc.dwWidth; ++x) visit(static_cast<int>(x), static_cast<int>(y), row[x]);
    }
    surface->Unlock(nullptr);
}

constexpr std::uint16_t kUntouched = 0xFFFF;

// Blits the whole source onto the destination rectangle of a target the given
// size and reads back, for each destination column and row, the source column
// and row it took: the source's pixels carry their own coordinates (column + 1
// in one blit, row + 1 in a second one, so that none is the colour key 0).
struct Taken {
    std::vector<int> columns;
    std::vector<int> rows;
};

Taken Stretch(int sourceWidth, int sourceHeight, const RECT& to, int targetWidth, int targetHeight, bool keyed) {
    IDirectDrawSurface* source = NewSurface(sourceWidth, sourceHeight);
    IDirectDrawSurface* target = NewSurface(targetWidth, targetHeight);
    DDCOLORKEY key{0, 0};
    if (FAILED(source->SetColorKey(DDCKEY_SRCBLT, keyed ? &key : nullptr))) Fail("no source colour key");
    const int width = to.right - to.left, height = to.bottom - to.top;
    std::vector<std::vector<int>> seen(2);
    for (int axis = 0; axis < 2; ++axis) {
        EachPixel(source, [&](int x, int y, std::uint16_t& pixel) { pixel = static_cast<std::uint16_t>((axis ? y : x) + 1); });
        EachPixel(target, [](int, int, std::uint16_t& pixel) { pixel = kUntouched; });
        RECT destination = to;
        const DWORD flags = DDBLT_WAIT | (keyed ? DDBLT_KEYSRC | DDBLT_ALPHADEST : 0);
        if (FAILED(target->Blt(&destination, source, nullptr, flags, nullptr))) Fail("a blit failed");
        std::vector<int>& taken = seen[static_cast<std::size_t>(axis)];
        taken.assign(static_cast<std::size_t>(axis ? height : width), -1);
        EachPixel(target, [&](int x, int y, std::uint16_t& pixel) {
            const bool inside = x >= to.left && x < to.right && y >= to.top && y < to.bottom;
            if (!inside) {
                if (pixel != kUntouched) Fail("a blit painted outside its rectangle");
                return;
            }
            const int limit = axis ? sourceHeight : sourceWidth;
            if (pixel < 1 || pixel > limit) Fail("a blit made a pixel that is no source pixel");
            int& at = taken[static_cast<std::size_t>(axis ? y - to.top : x - to.left)];
            if (at == -1) at = pixel - 1;
            if (at != pixel - 1) Fail("a blit's columns depend on its rows, or its rows on its columns");
        });
    }
    return {seen[0], seen[1]};
}

// A mapping as the number of destination pixels each source pixel gives, from
// the first source pixel: one character each, '0' + count, with "*n" after a
// run of n equal counts. Fails unless the source pixels are taken in order.
std::string Counts(const std::vector<int>& taken, int sourceLength) {
    std::vector<int> counts(static_cast<std::size_t>(sourceLength), 0);
    for (std::size_t i = 0; i < taken.size(); ++i) {
        if (i > 0 && taken[i] < taken[i - 1]) Fail("a blit took its source out of order");
        ++counts[static_cast<std::size_t>(taken[i])];
    }
    std::string out;
    for (std::size_t i = 0; i < counts.size();) {
        std::size_t j = i + 1;
        while (j < counts.size() && counts[j] == counts[i]) ++j;
        if (counts[i] > 74) Fail("a count beyond the file's characters");
        out += ' ';
        out += static_cast<char>('0' + counts[i]);
        if (j - i > 1) out += '*' + std::to_string(j - i);
        i = j;
    }
    return out;
}

std::string WineVersion() {
    HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    using Version = const char*(CDECL*)();
    auto version = ntdll ? reinterpret_cast<Version>(reinterpret_cast<void*>(::GetProcAddress(ntdll, "wine_get_version")))
                         : nullptr;
    return version ? std::string("Wine ") + version() : std::string("Windows");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: blt_stretch_dump <output file>\n");
        return 2;
    }
    if (FAILED(::DirectDrawCreate(nullptr, &g_directDraw, nullptr)) || g_directDraw == nullptr ||
        FAILED(g_directDraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL))) {
        Fail("no DirectDraw");
    }
    std::FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr) Fail(std::string("cannot write ") + argv[1]);
    std::fprintf(file,
                 "# The source pixels DirectDraw's Blt takes when it stretches, as written by\n"
                 "# tests/cross/blt_stretch_dump.exe (%s). Regenerate: tests/cross/wine_dumps.sh;\n"
                 "# scripts/wine-smoke.sh checks that DirectDraw still takes exactly these.\n"
                 "# One stretch of a length a line (columns and rows follow the same rule, checked):\n"
                 "# the source length, the destination length, then for each source pixel from the\n"
                 "# first, how many destination pixels take it, as '0' + count; \"*n\" after a count:\n"
                 "# n source pixels in a row with that count.\n",
                 WineVersion().c_str());

    // The game's own: the highlight, keyed, on a square; the credits' strip.
    const Taken highlight = Stretch(50, 48, RECT{100, 100, 150, 150}, 800, 600, true);
    std::fprintf(file, "stretch 50 50%s\n", Counts(highlight.columns, 50).c_str());
    std::fprintf(file, "stretch 48 50%s\n", Counts(highlight.rows, 48).c_str());
    const Taken strip = Stretch(100, 300, RECT{700, 0, 800, 600}, 800, 600, false);
    std::fprintf(file, "stretch 100 100%s\n", Counts(strip.columns, 100).c_str());
    std::fprintf(file, "stretch 300 600%s\n", Counts(strip.rows, 300).c_str());

    // Every length of 1..64 onto every length of 1..64, as columns of one
    // blit and rows of another, at an even and an odd place.
    for (int from = 1; from <= 64; ++from) {
        for (int to = 1; to <= 64; ++to) {
            const Taken even = Stretch(from, 7, RECT{32, 16, 32 + to, 16 + 5}, 160, 96, false);
            const Taken odd = Stretch(7, from, RECT{33, 17, 33 + 5, 17 + to}, 160, 96, false);
            if (even.columns != odd.rows) Fail("columns and rows, or two places, stretch otherwise");
            std::fprintf(file, "stretch %d %d%s\n", from, to, Counts(even.columns, from).c_str());
        }
    }
    if (std::fclose(file) != 0) Fail(std::string("cannot write ") + argv[1]);
    g_directDraw->Release();
    return 0;
}
