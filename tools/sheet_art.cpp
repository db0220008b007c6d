#include "tools/sheet_art.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "platform/common/bitmap_file.h"
#include "platform/common/surface.h"
#include "platform/common/text.h"
#include "screens/sheet.h"

namespace sheet_art {
namespace {

using platform::Colour;
using platform::Rect;
using platform::Surface;
using platform::common::Face;

constexpr Colour Rgb(int r, int g, int b) {
    return static_cast<Colour>(r) | (static_cast<Colour>(g) << 8) | (static_cast<Colour>(b) << 16);
}
int R(Colour c) { return static_cast<int>(c & 0xFF); }
int G(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
int B(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

Colour Mix(Colour a, Colour b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    const auto channel = [t](int x, int y) {
        return static_cast<int>(std::lround(x + (y - x) * t));
    };
    return Rgb(channel(R(a), R(b)), channel(G(a), G(b)), channel(B(a), B(b)));
}

Colour Lighter(Colour c, double t) { return Mix(c, Rgb(255, 255, 255), t); }
Colour Darker(Colour c, double t) { return Mix(c, Rgb(0, 0, 0), t); }

// The two sides' disc colours as the game makes them from colour index 3.
constexpr Colour kPlayer1 = Rgb(180, 30, 60);
constexpr Colour kPlayer2 = Rgb(30, 180, 60);

constexpr Colour kGold = Rgb(240, 196, 64);
constexpr Colour kGoldLight = Rgb(255, 238, 160);
constexpr Colour kGoldDark = Rgb(140, 92, 18);
constexpr Colour kCream = Rgb(252, 244, 218);
constexpr Colour kNavyDeep = Rgb(8, 12, 34);
constexpr Colour kNavy = Rgb(24, 40, 92);
constexpr Colour kRoyal = Rgb(46, 82, 168);
constexpr Colour kTeal = Rgb(100, 200, 200);  // the options screen's text colour

// Draws into one piece of the sheet, in the piece's own coordinates.
class Painter {
public:
    Painter(Surface sheet, Rect piece) : sheet_(sheet), piece_(piece) {}

    int Width() const { return piece_.right - piece_.left; }
    int Height() const { return piece_.bottom - piece_.top; }

    Colour Get(int x, int y) const {
        return platform::common::FromPixel(sheet_->pixels[Index(x, y)]);
    }
    void Set(int x, int y, Colour c) {
        if (Inside(x, y)) sheet_->pixels[Index(x, y)] = platform::common::ToPixel(c);
    }
    void Blend(int x, int y, Colour c, double alpha) {
        if (!Inside(x, y) || alpha <= 0) return;
        Set(x, y, alpha >= 1 ? c : Mix(Get(x, y), c, alpha));
    }

    void Fill(Rect r, Colour c) {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) Set(x, y, c);
    }
    void VerticalGradient(Rect r, Colour top, Colour bottom) {
        for (int y = r.top; y < r.bottom; ++y) {
            const Colour c = Mix(top, bottom, (y - r.top) / std::max(1.0, r.bottom - r.top - 1.0));
            for (int x = r.left; x < r.right; ++x) Set(x, y, c);
        }
    }

    // A shape given by its inside test, smoothed by 4 x 4 samples per pixel;
    // the colour may vary over the piece.
    void Shape(Rect bounds, const std::function<bool(double, double)>& inside,
               const std::function<Colour(double, double)>& colour) {
        for (int y = bounds.top; y < bounds.bottom; ++y) {
            for (int x = bounds.left; x < bounds.right; ++x) {
                int hits = 0;
                for (int sy = 0; sy < 4; ++sy)
                    for (int sx = 0; sx < 4; ++sx)
                        hits += inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4) ? 1 : 0;
                if (hits) Blend(x, y, colour(x + 0.5, y + 0.5), hits / 16.0);
            }
        }
    }
    // The same with hard edges: a pixel is painted when its centre is inside.
    // Used where black must stay exactly black (the colour-keyed overlay).
    void HardShape(Rect bounds, const std::function<bool(double, double)>& inside,
                   const std::function<Colour(double, double)>& colour) {
        for (int y = bounds.top; y < bounds.bottom; ++y)
            for (int x = bounds.left; x < bounds.right; ++x)
                if (inside(x + 0.5, y + 0.5)) Set(x, y, colour(x + 0.5, y + 0.5));
    }

    void Text(int x, int y, const std::string& utf8, Face face, int size, Colour c) {
        platform::common::DrawTextBlended(sheet_, piece_.left + x, piece_.top + y, utf8, face, size, c);
    }
    // Text with a soft dark shadow below-right.
    void ShadowedText(int x, int y, const std::string& utf8, Face face, int size, Colour c,
                      int offset = 2) {
        Text(x + offset, y + offset, utf8, face, size, Rgb(0, 0, 0));
        Text(x, y, utf8, face, size, c);
    }
    static platform::common::TextSize Measure(const std::string& utf8, Face face, int size) {
        platform::common::TextSize measured;
        platform::common::MeasureText(face, size, utf8, &measured);
        return measured;
    }

private:
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < Width() && y < Height(); }
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>((piece_.top + y) * sheet_->width + piece_.left + x);
    }

    Surface sheet_;
    Rect piece_;
};

auto InEllipse(double cx, double cy, double rx, double ry) {
    return [=](double x, double y) {
        const double dx = (x - cx) / rx;
        const double dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
    };
}

auto InRoundedRect(double left, double top, double right, double bottom, double radius) {
    return [=](double x, double y) {
        if (x < left || x > right || y < top || y > bottom) return false;
        const double cx = std::clamp(x, left + radius, right - radius);
        const double cy = std::clamp(y, top + radius, bottom - radius);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    };
}

// Inside a triangle given clockwise or anticlockwise.
auto InTriangle(double ax, double ay, double bx, double by, double cx, double cy) {
    return [=](double x, double y) {
        const double d1 = (x - bx) * (ay - by) - (ax - bx) * (y - by);
        const double d2 = (x - cx) * (by - cy) - (bx - cx) * (y - cy);
        const double d3 = (x - ax) * (cy - ay) - (cx - ax) * (y - ay);
        const bool negative = d1 < 0 || d2 < 0 || d3 < 0;
        const bool positive = d1 > 0 || d2 > 0 || d3 > 0;
        return !(negative && positive);
    };
}

auto Solid(Colour c) {
    return [c](double, double) { return c; };
}
auto Vertical(Colour top, Colour bottom, double y0, double y1) {
    return [=](double, double y) { return Mix(top, bottom, (y - y0) / (y1 - y0)); };
}

// A small repeatable noise for textures (no library randomness: the sheet must
// come out the same everywhere).
double Noise(int x, int y, std::uint32_t seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFF) / 65535.0 - 0.5;
}

// A shaded disc with a glossy highlight, as the game's discs look under the overlay.
void Disc(Painter& p, double cx, double cy, double rx, double ry, Colour colour) {
    p.Shape({static_cast<int>(cx - rx - 2), static_cast<int>(cy - ry - 2),
             static_cast<int>(cx + rx + 2), static_cast<int>(cy + ry + 2)},
            InEllipse(cx, cy, rx, ry), Solid(Rgb(0, 0, 0)));
    p.Shape({static_cast<int>(cx - rx), static_cast<int>(cy - ry), static_cast<int>(cx + rx + 1),
             static_cast<int>(cy + ry + 1)},
            InEllipse(cx, cy, rx - 1, ry - 1), [=](double x, double y) {
                const double d = ((x - cx) / rx + (y - cy) / ry) * 0.5;  // -1 top-left .. 1 bottom-right
                return d < 0 ? Lighter(colour, -d * 0.35) : Darker(colour, d * 0.45);
            });
    p.Shape({static_cast<int>(cx - rx), static_cast<int>(cy - ry), static_cast<int>(cx + 1),
             static_cast<int>(cy + 1)},
            InEllipse(cx - rx * 0.38, cy - ry * 0.42, rx * 0.28, ry * 0.18),
            Solid(Lighter(colour, 0.75)));
}

// A raised edge: light along the top and left, dark along the bottom and right.
void Bevel(Painter& p, Colour light, Colour dark, int thickness) {
    const int w = p.Width();
    const int h = p.Height();
    for (int i = 0; i < thickness; ++i) {
        const double fade = 1.0 - i / static_cast<double>(thickness);
        for (int x = i; x < w - i; ++x) {
            p.Blend(x, i, light, 0.8 * fade);
            p.Blend(x, h - 1 - i, dark, 0.8 * fade);
        }
        for (int y = i + 1; y < h - 1 - i; ++y) {
            p.Blend(i, y, light, 0.8 * fade);
            p.Blend(w - 1 - i, y, dark, 0.8 * fade);
        }
    }
}

void DrawMenuPicture(Surface sheet) {
    Painter p(sheet, sheet::MenuPicture);
    p.Fill({0, 0, 320, 340}, Rgb(0, 0, 0));

    // Title panel.
    p.Shape({0, 0, 320, 118}, InRoundedRect(6, 6, 314, 112, 16), Solid(kGoldDark));
    p.Shape({0, 0, 320, 118}, InRoundedRect(8, 8, 312, 110, 14), Vertical(kNavy, kNavyDeep, 8, 110));
    p.Shape({0, 0, 320, 118}, InRoundedRect(11, 11, 309, 107, 12), Vertical(Rgb(30, 52, 116), Rgb(10, 16, 44), 11, 107));
    // A soft glow behind the title.
    for (int y = 12; y < 107; ++y)
        for (int x = 12; x < 309; ++x) {
            const double dx = (x - 160) / 130.0;
            const double dy = (y - 50) / 48.0;
            p.Blend(x, y, Rgb(64, 104, 190), std::max(0.0, 1 - dx * dx - dy * dy) * 0.55);
        }
    const std::string title = "WOLBY";
    const auto titleSize = Painter::Measure(title, Face::SerifBold, 54);
    const int titleX = 160 - titleSize.width / 2;
    p.ShadowedText(titleX, 12, title, Face::SerifBold, 54, kGold, 3);
    // A lighter top half of the letters, like polished metal.
    p.Text(titleX, 11, title, Face::SerifBold, 54, kGoldLight);
    p.Text(titleX, 12, title, Face::SerifBold, 54, kGold);
    const std::string subtitle = "gra planszowa dla dwóch graczy";
    const auto subtitleSize = Painter::Measure(subtitle, Face::Sans, 13);
    p.Text(160 - subtitleSize.width / 2, 82, subtitle, Face::Sans, 13, kCream);
    Disc(p, 30, 58, 15, 15, kPlayer1);
    Disc(p, 290, 58, 15, 15, kPlayer2);

    // The four items, 50 pixels each from 120 down; their first 50 columns stay
    // black for the hover marker.
    const char* labels[4] = {"Rozpocznij grę", "Opcje", "Autorzy", "Wyjście"};
    for (int i = 0; i < 4; ++i) {
        const int top = 120 + 50 * i;
        const double t = top + 5.0;
        const double b = top + 45.0;
        p.Shape({54, top, 320, top + 50}, InRoundedRect(56, t, 314, b, 10), Solid(kGoldDark));
        p.Shape({54, top, 320, top + 50}, InRoundedRect(57, t + 1, 313, b - 1, 9),
                Vertical(kRoyal, kNavy, t, b));
        // A faint sheen over the upper half.
        p.Shape({54, top, 320, top + 50}, InRoundedRect(59, t + 2, 311, t + 18, 8),
                [&p](double x, double y) {
                    return Lighter(p.Get(static_cast<int>(x), static_cast<int>(y)), 0.14);
                });
        const std::string label = labels[i];
        const auto size = Painter::Measure(label, Face::SansBold, 20);
        p.ShadowedText(76, top + 25 - size.height / 2, label, Face::SansBold, 20, kCream);
        Disc(p, 292, top + 25, 9, 9, i % 2 == 0 ? kPlayer1 : kPlayer2);
    }

    // A closing ornament under the items.
    for (int x = 60; x < 300; ++x) {
        const double edge = std::min(x - 60, 299 - x) / 60.0;
        p.Blend(x, 330, kGold, std::min(1.0, edge));
        p.Blend(x, 331, kGoldDark, std::min(1.0, edge));
    }
    p.Shape({150, 322, 170, 340}, InTriangle(160, 324, 168, 330.5, 160, 337), Solid(kGold));
    p.Shape({150, 322, 170, 340}, InTriangle(160, 324, 152, 330.5, 160, 337), Solid(kGoldLight));
}

void DrawMenuMarker(Surface sheet) {
    Painter p(sheet, sheet::MenuMarker);
    p.Fill({0, 0, 50, 50}, Rgb(0, 0, 0));
    const auto shaft = InRoundedRect(5, 19, 26, 31, 3);
    const auto head = InTriangle(22, 7, 46, 25, 22, 43);
    const auto pointer = [=](double x, double y) { return shaft(x, y) || head(x, y); };
    const auto outline = [=](double x, double y) {
        return pointer(x, y) || pointer(x - 1.2, y) || pointer(x + 1.2, y) || pointer(x, y - 1.2) ||
               pointer(x, y + 1.2);
    };
    p.Shape({0, 0, 50, 50}, outline, Solid(kGoldDark));
    p.Shape({0, 0, 50, 50}, pointer, [](double x, double y) {
        // Lit from the top left, like the discs.
        const double t = (y - 7) / 36.0 * 0.8 + (x - 5) / 41.0 * 0.2;
        return t < 0.45 ? Mix(kGoldLight, kGold, t / 0.45) : Mix(kGold, kGoldDark, (t - 0.45) / 0.8);
    });
}

void DrawBackButton(Surface sheet) {
    Painter p(sheet, sheet::BackButton);
    p.Fill({0, 0, 100, 50}, Rgb(0, 0, 0));
    p.Shape({0, 0, 100, 50}, InRoundedRect(2, 4, 98, 46, 12), Solid(Lighter(kTeal, 0.3)));
    p.Shape({0, 0, 100, 50}, InRoundedRect(3.5, 5.5, 96.5, 44.5, 11),
            Vertical(Rgb(44, 132, 136), Rgb(14, 54, 66), 5, 45));
    p.Shape({0, 0, 100, 50}, InRoundedRect(6, 7, 94, 22, 8),
            [&p](double x, double y) { return Lighter(p.Get(static_cast<int>(x), static_cast<int>(y)), 0.18); });
    const std::string label = "Powrót";
    const auto size = Painter::Measure(label, Face::SansBold, 17);
    const int arrowWidth = 9;
    const int left = 50 - (size.width + arrowWidth + 6) / 2;
    p.Shape({0, 0, 100, 50}, InTriangle(left, 25, left + arrowWidth, 19, left + arrowWidth, 31), Solid(kCream));
    p.ShadowedText(left + arrowWidth + 6, 25 - size.height / 2, label, Face::SansBold, 17, kCream, 1);
}

void DrawDiscOverlay(Surface sheet) {
    // Black is the colour key: only the gloss is opaque, with hard edges so no
    // near-black pixel darkens the disc.
    Painter p(sheet, sheet::DiscOverlay);
    p.Fill({0, 0, 50, 48}, Rgb(0, 0, 0));
    // In these coordinates the stretched disc is the ellipse of the whole 50 x 48 piece.
    const auto rim = InEllipse(25, 24, 20.5, 19.5);
    const auto inner = InEllipse(28.5, 27.5, 21, 20);
    p.HardShape({0, 0, 50, 48}, [=](double x, double y) { return rim(x, y) && !inner(x, y); },
                [](double x, double y) {
                    // Brightest where the light falls, fading towards the crescent's tips.
                    const double d = std::hypot(x - 11, y - 10) / 22.0;
                    const int level = static_cast<int>(std::lround(235 - 95 * std::min(1.0, d)));
                    return Rgb(level, level, level);
                });
    p.HardShape({0, 0, 50, 48}, InEllipse(16, 14, 4.5, 3.2), Solid(Rgb(255, 255, 255)));
    p.HardShape({0, 0, 50, 48}, InEllipse(36, 35, 2.2, 1.6), Solid(Rgb(150, 150, 150)));
}

void DrawSquareTile(Surface sheet) {
    // Light sand-coloured stone: every disc colour the options offer, the reds
    // and greens of the first indices included, stands out against it.
    Painter p(sheet, sheet::SquareTile);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x) {
            const Colour base = Mix(Rgb(206, 184, 140), Rgb(168, 144, 100), (x + y) / 98.0);
            const double n = Noise(x, y, 7) * 0.08;
            p.Set(x, y, n > 0 ? Lighter(base, n) : Darker(base, -n));
        }
    Bevel(p, Rgb(236, 222, 190), Rgb(96, 76, 44), 3);
}

void DrawGameFrameTile(Surface sheet) {
    // Dark polished wood with a brass rivet: the game screen's frame.
    Painter p(sheet, sheet::GameFrameTile);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x) {
            const double grain = std::sin(y * 0.9 + std::sin(x * 0.13) * 2.2 + Noise(0, y, 3) * 1.5);
            const Colour base = Mix(Rgb(112, 64, 30), Rgb(70, 38, 16), 0.5 + grain * 0.35);
            p.Set(x, y, Darker(base, std::max(0.0, Noise(x, y, 11) * 0.12)));
        }
    Bevel(p, Rgb(196, 140, 84), Rgb(24, 12, 4), 3);
    p.Shape({16, 16, 34, 34}, InEllipse(25.5, 25.5, 6.5, 6.5), Solid(Rgb(40, 22, 8)));
    p.Shape({16, 16, 34, 34}, InEllipse(25, 25, 5.5, 5.5),
            [](double x, double y) { return Mix(kGoldLight, kGoldDark, ((x - 19.5) + (y - 19.5)) / 11.0); });
}

void DrawOptionsFrameTile(Surface sheet) {
    // Teal stone with a lighter diamond: the options screen's frame, in its text colour.
    Painter p(sheet, sheet::OptionsFrameTile);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x) {
            const Colour base = Mix(Rgb(28, 78, 96), Rgb(14, 44, 60), (x + y) / 98.0);
            p.Set(x, y, Lighter(base, std::max(0.0, Noise(x, y, 23) * 0.14)));
        }
    const auto diamond = [](double x, double y) { return std::abs(x - 25) + std::abs(y - 25) <= 18; };
    const auto inner = [](double x, double y) { return std::abs(x - 25) + std::abs(y - 25) <= 15; };
    p.Shape({0, 0, 50, 50}, diamond, Solid(Lighter(kTeal, 0.25)));
    p.Shape({0, 0, 50, 50}, inner, [](double x, double y) {
        return Mix(Rgb(90, 176, 180), Rgb(30, 96, 112), ((x - 10) + (y - 10)) / 30.0);
    });
    p.Shape({0, 0, 50, 50}, InEllipse(25, 25, 4, 4), Solid(kGold));
    Bevel(p, Rgb(150, 220, 220), Rgb(4, 20, 30), 3);
}

void DrawArrow(Surface sheet, Rect piece, bool pointsLeft) {
    Painter p(sheet, piece);
    p.Fill({0, 0, 25, 20}, Rgb(0, 0, 0));
    const double tip = pointsLeft ? 2.5 : 22.5;
    const double base = pointsLeft ? 21.5 : 3.5;
    const auto arrow = InTriangle(tip, 10, base, 1.5, base, 18.5);
    const auto outline = [=](double x, double y) {
        return arrow(x, y) || arrow(x - 1, y) || arrow(x + 1, y) || arrow(x, y - 1) || arrow(x, y + 1);
    };
    p.Shape({0, 0, 25, 20}, outline, Solid(Rgb(16, 60, 66)));
    p.Shape({0, 0, 25, 20}, arrow, Vertical(Rgb(190, 245, 240), Rgb(56, 150, 160), 1.5, 18.5));
}

void DrawCreditsStrip(Surface sheet) {
    // Shown stretched to twice its height, so the discs are drawn half as tall as wide.
    Painter p(sheet, sheet::CreditsStrip);
    for (int x = 0; x < 100; ++x) {
        const double side = std::abs(x - 49.5) / 49.5;
        const Colour c = Mix(Rgb(22, 36, 84), Rgb(4, 6, 18), side * side);
        for (int y = 0; y < 300; ++y) p.Set(x, y, c);
    }
    for (int y = 0; y < 300; ++y) {
        p.Set(5, y, kGoldDark);
        p.Set(6, y, kGold);
        p.Set(93, y, kGold);
        p.Set(94, y, kGoldDark);
    }
    for (int i = 0; i < 5; ++i) {
        const double cy = 30 + 60 * i;
        Disc(p, 50, cy, 27, 13.5, i % 2 == 0 ? kPlayer1 : kPlayer2);
        if (i == 4) break;
        // A small gold diamond between neighbouring discs.
        const double dy = cy + 30;
        p.Shape({40, static_cast<int>(dy) - 6, 60, static_cast<int>(dy) + 6},
                [=](double x, double y) { return std::abs(x - 50) / 6 + std::abs(y - dy) / 3 <= 1; },
                Solid(kGold));
    }
}

}  // namespace

Surface DrawSheet() {
    Surface sheet = platform::common::NewSurface(sheet::kWidth, sheet::kHeight);
    DrawMenuPicture(sheet);
    DrawMenuMarker(sheet);
    DrawBackButton(sheet);
    DrawDiscOverlay(sheet);
    DrawSquareTile(sheet);
    DrawGameFrameTile(sheet);
    DrawOptionsFrameTile(sheet);
    DrawArrow(sheet, sheet::ArrowLeft, true);
    DrawArrow(sheet, sheet::ArrowRight, false);
    DrawCreditsStrip(sheet);
    return sheet;
}

std::vector<std::uint8_t> SheetFile() { return platform::common::EncodeBmp24(DrawSheet()); }

}  // namespace sheet_art
