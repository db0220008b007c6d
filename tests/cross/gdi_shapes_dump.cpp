// Asks GDI itself which pixels its Ellipse and Rectangle paint, with the
// default one-pixel black pen and a solid brush, in a 16-bit (RGB565) bitmap
// like the game's screen, and writes them in the compact form the platform
// tests read (tests/cross/gdi_shapes.txt; its header says how to read it).
// The boxes: every ellipse the game draws (the six steps of a growing disc on
// each square of an 8 x 8 board, at their places on the 800 x 600 screen), the
// two colour swatches, and every ellipse box of 1..64 by 1..64 pixels, each
// drawn at an even and at an odd place to show that the place does not matter.
// A shape that paints anything but its pen and its brush inside its box, or
// two places that disagree, stop the tool with a message: the data then holds
// nothing that was not seen.
//
// usage (under Wine; tests/cross/wine_dumps.sh runs it):
//   wine gdi_shapes_dump.exe <output file>
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr COLORREF kBrushColour = 0x140A3C;  // player 1's first colour
constexpr std::uint16_t kBackground = 0xFFFF;  // white
constexpr std::uint16_t kPen = 0x0000;

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "gdi_shapes_dump: %s\n", what.c_str());
    std::exit(1);
}

// A 16-bit RGB565 DIB section selected into a memory context, white.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        struct {
            BITMAPINFOHEADER header;
            DWORD masks[3];
        } info{};
        info.header.biSize = sizeof info.header;
        info.header.biWidth = width;
        info.header.biHeight = -height;  // top row first
        info.header.biPlanes = 1;
        info.header.biBitCount = 16;
        info.header.biCompression = BI_BITFIELDS;
        info.masks[0] = 0xF800;
        info.masks[1] = 0x07E0;
        info.masks[2] = 0x001F;
        dc_ = ::CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        bitmap_ = ::CreateDIBSection(dc_, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
        if (dc_ == nullptr || bitmap_ == nullptr || bits == nullptr) Fail("no 16-bit DIB section");
        pixels_ = static_cast<std::uint16_t*>(bits);
        ::SelectObject(dc_, bitmap_);
        brush_ = ::CreateSolidBrush(kBrushColour);
        Clear();
    }

    void Clear() {
        ::GdiFlush();
        for (int i = 0; i < width_ * height_; ++i) pixels_[i] = kBackground;
    }

    // Draws the shape with the context's own pen and the brush, then waits for GDI.
    void Draw(bool ellipse, const RECT& box) {
        HGDIOBJ previous = ::SelectObject(dc_, brush_);
        const BOOL drawn = ellipse ? ::Ellipse(dc_, box.left, box.top, box.right, box.bottom)
                                   : ::Rectangle(dc_, box.left, box.top, box.right, box.bottom);
        ::SelectObject(dc_, previous);
        ::GdiFlush();
        if (!drawn) Fail("GDI refused a shape");
    }

    std::uint16_t At(int x, int y) const { return pixels_[y * width_ + x]; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    std::uint16_t FillPixel() const { return fill_; }
    void LearnFillPixel() {
        // The brush's colour as this bitmap stores it: one pixel of a 3 x 3 rectangle's inside.
        Clear();
        Draw(false, RECT{0, 0, 3, 3});
        fill_ = At(1, 1);
        if (fill_ == kPen || fill_ == kBackground) Fail("the brush cannot be told from the pen or the background");
        Clear();
    }

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HBRUSH brush_ = nullptr;
    std::uint16_t* pixels_ = nullptr;
    std::uint16_t fill_ = 0;
};

std::string Where(const RECT& box) {
    return std::to_string(box.left) + "," + std::to_string(box.top) + "-" + std::to_string(box.right) + "," +
           std::to_string(box.bottom);
}

// One row of a shape, relative to the box's left: pen on [a, b), brush on
// [b, c), pen on [c, d); all four 0 when the row paints nothing. On a few rows
// of very narrow boxes that have no pen on them, Wine also paints a span of the
// brush somewhere along the row, even outside the box, whose extent changes
// from run to run: a row with no pen and nothing but brush on it outside the
// box is counted and taken as what the shape paints there, nothing.
struct Row {
    int a = 0, b = 0, c = 0, d = 0;
    bool operator==(const Row&) const = default;
};

Row ReadRow(const Canvas& canvas, const RECT& box, int y, int* stray) {
    const std::uint16_t fill = canvas.FillPixel();
    bool outside = false;
    bool onlyBrush = true;
    for (int x = 0; x < canvas.Width(); ++x) {
        const std::uint16_t pixel = canvas.At(x, y);
        if ((x < box.left || x >= box.right) && pixel != kBackground) outside = true;
        if (pixel != kBackground && pixel != fill) onlyBrush = false;
    }
    if (outside) {
        if (!onlyBrush) Fail("paint outside the box " + Where(box) + " on row " + std::to_string(y));
        ++*stray;
        return {};
    }
    // The row must read background*, pen*, brush*, pen*, background*.
    int x = box.left;
    const auto run = [&](std::uint16_t pixel) {
        while (x < box.right && canvas.At(x, y) == pixel) ++x;
        return x - box.left;
    };
    Row row;
    row.a = run(kBackground);
    row.b = run(kPen);
    row.c = run(fill);
    row.d = run(kPen);
    run(kBackground);
    if (x != box.right) Fail("a row of " + Where(box) + " is not background, pen, brush, pen, background");
    if (row.a == row.d) return {};
    if (row.a == row.b && row.c == row.d) Fail("brush with no pen on a row of " + Where(box));
    return row;
}

std::vector<Row> Rows(Canvas& canvas, bool ellipse, const RECT& box, int* stray) {
    canvas.Clear();
    canvas.Draw(ellipse, box);
    // Nothing above or below the box.
    for (int y = 0; y < canvas.Height(); ++y) {
        if (y >= box.top && y < box.bottom) continue;
        for (int x = 0; x < canvas.Width(); ++x) {
            if (canvas.At(x, y) != kBackground) Fail("paint above or below the box " + Where(box));
        }
    }
    std::vector<Row> rows;
    for (int y = box.top; y < box.bottom; ++y) rows.push_back(ReadRow(canvas, box, y, stray));
    return rows;
}

// Every shape is symmetric about both of its axes (checked here), so the
// upper half of its rows is written, each as a and b alone: pen on [a, b) and
// on [w - b, w - a), brush between. One character per number, '0' + value; a
// run of equal rows once, with "*count".
std::string Encode(const RECT& box, const std::vector<Row>& rows) {
    const int width = box.right - box.left;
    const std::size_t height = rows.size();
    for (std::size_t y = 0; y < height; ++y) {
        const Row& row = rows[y];
        const bool mirrored = row == Row{} || (row.c == width - row.b && row.d == width - row.a) ||
                              (row.b == row.c && row.d == width - row.a);  // all pen
        if (!mirrored || rows[height - 1 - y] != row) Fail("the shape " + Where(box) + " is not symmetric");
    }
    std::vector<std::string> tokens;
    for (std::size_t y = 0; y < (height + 1) / 2; ++y) {
        const Row& row = rows[y];
        // An all-pen row's pen reaches the middle from each side.
        const int b = row.b == row.c ? (width + 1) / 2 : row.b;
        tokens.push_back({static_cast<char>('0' + row.a), static_cast<char>('0' + (row == Row{} ? 0 : b))});
    }
    std::string out;
    for (std::size_t i = 0; i < tokens.size();) {
        std::size_t j = i + 1;
        while (j < tokens.size() && tokens[j] == tokens[i]) ++j;
        out += ' ' + tokens[i];
        if (j - i > 1) out += '*' + std::to_string(j - i);
        i = j;
    }
    return out;
}

void Write(std::FILE* file, bool ellipse, const RECT& box, const std::vector<Row>& rows) {
    std::fprintf(file, "%s %ld %ld %ld %ld%s\n", ellipse ? "ellipse" : "rectangle", box.left, box.top, box.right,
                 box.bottom, Encode(box, rows).c_str());
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
        std::fprintf(stderr, "usage: gdi_shapes_dump <output file>\n");
        return 2;
    }
    std::FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr) Fail(std::string("cannot write ") + argv[1]);
    std::fprintf(file,
                 "# The pixels GDI's Ellipse and Rectangle paint with the default one-pixel black pen and\n"
                 "# a solid brush into a 16-bit bitmap, as written by tests/cross/gdi_shapes_dump.exe\n"
                 "# (%s). Regenerate: tests/cross/wine_dumps.sh; scripts/wine-smoke.sh checks\n"
                 "# that GDI still paints exactly this.\n"
                 "# One shape a line: kind, left, top, right, bottom (right and bottom excluded), then\n"
                 "# the upper half of its rows (the middle one too when the height is odd), from the\n"
                 "# top; the lower half mirrors them. A row is two characters a b, each '0' + a number\n"
                 "# counted from the box's left: pen on [a, b) and on [w - b, w - a) for a box w wide,\n"
                 "# brush between; \"00\" paints nothing. \"*n\" after a row: n equal rows.\n",
                 WineVersion().c_str());

    // The game's own shapes, at their places on the screen: not one stray span.
    int stray = 0;
    {
        Canvas screen(800, 600);
        screen.LearnFillPixel();
        for (int column = 0; column < 8; ++column) {
            for (int row = 0; row < 8; ++row) {
                const int left = 100 + 51 * column, top = 100 + 51 * row;
                for (int step = 0; step < 6; ++step) {
                    const RECT box{left + 10 - 2 * step, top + 10 - 2 * step, left + 40 + 2 * step,
                                   top + 40 + 2 * step};
                    Write(file, true, box, Rows(screen, true, box, &stray));
                }
            }
        }
        for (int y : {300, 350}) {
            const RECT swatch{440, y, 480, y + 20};
            Write(file, false, swatch, Rows(screen, false, swatch, &stray));
        }
        if (stray != 0) Fail("stray paint around the game's own shapes");
    }

    // Every box of 1..64 by 1..64, at an even and at an odd place.
    Canvas sweep(256, 160);
    sweep.LearnFillPixel();
    for (int width = 1; width <= 64; ++width) {
        for (int height = 1; height <= 64; ++height) {
            const RECT even{96, 32, 96 + width, 32 + height};
            const RECT odd{97, 33, 97 + width, 33 + height};
            const std::vector<Row> rows = Rows(sweep, true, even, &stray);
            if (Rows(sweep, true, odd, &stray) != rows) {
                Fail("the ellipse " + std::to_string(width) + " x " + std::to_string(height) +
                     " differs between an even and an odd place");
            }
            Write(file, true, even, rows);
        }
    }
    // Told, not written: their number changes from run to run.
    std::fprintf(stderr, "gdi_shapes_dump: %d rows without pen had a stray span of the brush\n", stray);
    if (std::fclose(file) != 0) Fail(std::string("cannot write ") + argv[1]);
    return 0;
}
