#include "platform/common/text.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "platform/common/surface.h"

namespace platform::common {
namespace {

// Debian's fonts-dejavu-core puts them here; the others are the usual places
// of other distributions.
constexpr std::array<const char*, 4> kFontFolders = {
    "/usr/share/fonts/truetype/dejavu/", "/usr/share/fonts/TTF/", "/usr/share/fonts/dejavu/",
    "/usr/local/share/fonts/"};

const char* FileOf(Face face) {
    switch (face) {
        case Face::SansBold: return "DejaVuSans-Bold.ttf";
        case Face::SerifBold: return "DejaVuSerif-Bold.ttf";
        case Face::Sans: break;
    }
    return "DejaVuSans.ttf";
}

// Fonts stay open for the run and are closed, with the library, at exit.
class Fonts {
public:
    ~Fonts() {
        for (auto& entry : open_) {
            if (entry.second) TTF_CloseFont(entry.second);
        }
        if (initialised_) TTF_Quit();
    }

    TTF_Font* Get(Face face, int size) {
        const auto key = std::make_pair(face, size);
        auto found = open_.find(key);
        if (found != open_.end()) return found->second;
        TTF_Font* font = nullptr;
        if (initialised_ || TTF_Init() == 0) {
            initialised_ = true;
            for (const char* folder : kFontFolders) {
                const std::string path = std::string(folder) + FileOf(face);
                font = TTF_OpenFont(path.c_str(), size);
                if (font) break;
            }
        }
        if (font) {
            TTF_SetFontHinting(font, TTF_HINTING_NORMAL);
            TTF_SetFontKerning(font, 1);
        }
        open_[key] = font;  // a miss is remembered too: no search on every line
        return font;
    }

private:
    bool initialised_ = false;
    std::map<std::pair<Face, int>, TTF_Font*> open_;
};

TTF_Font* FontFor(Face face, int size) {
    static Fonts fonts;
    return fonts.Get(face, size);
}

SDL_Color ToSdl(Colour colour) {
    return SDL_Color{static_cast<Uint8>(colour & 0xFF), static_cast<Uint8>((colour >> 8) & 0xFF),
                     static_cast<Uint8>((colour >> 16) & 0xFF), 255};
}

using SdlSurface = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

std::uint16_t Blend(std::uint16_t under, Colour over, unsigned alpha) {
    const Colour base = FromPixel(under);
    Colour mixed = 0;
    for (unsigned shift = 0; shift < 24; shift += 8) {
        const unsigned b = (base >> shift) & 0xFF;
        const unsigned o = (over >> shift) & 0xFF;
        mixed |= ((o * alpha + b * (255 - alpha) + 127) / 255) << shift;
    }
    return ToPixel(mixed);
}

}  // namespace

std::string Cp1250ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    // Opened once: every text line passes through here.
    static iconv_t converter = iconv_open("UTF-8", "CP1250");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        for (char c : text) out.push_back(static_cast<unsigned char>(c) < 0x80 ? c : '?');
        return out;
    }
    std::string input(text);
    char* in = input.data();
    std::size_t inLeft = input.size();
    while (inLeft > 0) {
        std::array<char, 256> buffer{};
        char* outPointer = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t result = iconv(converter, &in, &inLeft, &outPointer, &outLeft);
        out.append(buffer.data(), buffer.size() - outLeft);
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            out.push_back('?');  // an undefined byte: skip it
            ++in;
            --inLeft;
        }
    }
    return out;
}

bool MeasureText(Face face, int size, const std::string& utf8, TextSize* measured) {
    TTF_Font* font = FontFor(face, size);
    if (font == nullptr) return false;
    int width = 0;
    int height = TTF_FontHeight(font);
    if (!utf8.empty() && TTF_SizeUTF8(font, utf8.c_str(), &width, &height) != 0) return false;
    if (measured) *measured = {width, height};
    return true;
}

namespace {

// One rendered line: its cell's pixels, background included.
struct RenderedLine {
    Face face = Face::Sans;
    int size = 0;
    Colour textColour = 0;
    Colour background = 0;
    std::string utf8;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint16_t> pixels;
    std::uint64_t lastUse = 0;
};

bool RenderLine(RenderedLine& line) {
    TTF_Font* font = FontFor(line.face, line.size);
    if (font == nullptr) return false;
    SdlSurface rendered(TTF_RenderUTF8_Shaded(font, line.utf8.c_str(), ToSdl(line.textColour),
                                              ToSdl(line.background)),
                        &SDL_FreeSurface);
    if (!rendered || rendered->format->BytesPerPixel != 1 || rendered->format->palette == nullptr) {
        return false;
    }
    // The shaded rendering is 8-bit: each palette entry is a blend of the two colours.
    std::array<std::uint16_t, 256> palette{};
    const SDL_Palette& colours = *rendered->format->palette;
    for (int i = 0; i < colours.ncolors && i < 256; ++i) {
        const SDL_Color c = colours.colors[i];
        palette[static_cast<std::size_t>(i)] =
            ToPixel(Colour{c.r} | (Colour{c.g} << 8) | (Colour{c.b} << 16));
    }
    // The cell is the font's full height even where the glyphs are shorter.
    line.width = rendered->w;
    line.height = TTF_FontHeight(font);
    line.pixels.assign(static_cast<std::size_t>(line.width) * static_cast<std::size_t>(line.height),
                       ToPixel(line.background));
    const auto* bytes = static_cast<const Uint8*>(rendered->pixels);
    for (int row = 0; row < rendered->h && row < line.height; ++row) {
        for (int column = 0; column < rendered->w; ++column) {
            line.pixels[static_cast<std::size_t>(row * line.width + column)] =
                palette[bytes[row * rendered->pitch + column]];
        }
    }
    return true;
}

// The game draws the same few status lines over and over (twice per move), and
// shaping and rasterising a line costs far more than copying it: the lines
// drawn last are kept, a bounded number of them.
const RenderedLine* CachedLine(Face face, int size, const std::string& utf8, Colour textColour,
                               Colour background) {
    constexpr std::size_t kKept = 64;
    static std::vector<RenderedLine> lines;
    static std::uint64_t uses = 0;
    ++uses;
    RenderedLine* oldest = nullptr;
    for (RenderedLine& line : lines) {
        if (line.face == face && line.size == size && line.textColour == textColour &&
            line.background == background && line.utf8 == utf8) {
            line.lastUse = uses;
            return &line;
        }
        if (oldest == nullptr || line.lastUse < oldest->lastUse) oldest = &line;
    }
    RenderedLine fresh{face, size, textColour, background, utf8, 0, 0, {}, uses};
    if (!RenderLine(fresh)) return nullptr;
    if (lines.size() < kKept) {
        lines.push_back(std::move(fresh));
        return &lines.back();
    }
    *oldest = std::move(fresh);
    return oldest;
}

}  // namespace

bool DrawTextOpaque(Surface surface, std::int32_t x, std::int32_t y, const std::string& utf8,
                    Face face, int size, Colour textColour, Colour background) {
    if (surface == nullptr) return false;
    if (FontFor(face, size) == nullptr) return false;
    if (utf8.empty()) return true;
    const RenderedLine* line = CachedLine(face, size, utf8, textColour & 0xFFFFFF, background & 0xFFFFFF);
    if (line == nullptr) return false;
    for (std::int32_t row = 0; row < line->height; ++row) {
        const std::int64_t ty = std::int64_t{y} + row;
        if (ty < 0 || ty >= surface->height) continue;
        const std::int64_t first = std::max<std::int64_t>(0, -std::int64_t{x});
        const std::int64_t end = std::min<std::int64_t>(line->width, std::int64_t{surface->width} - x);
        if (first >= end) break;
        const std::uint16_t* source = line->pixels.data() + static_cast<std::ptrdiff_t>(row) * line->width;
        std::copy(source + first, source + end,
                  surface->pixels.begin() + static_cast<std::ptrdiff_t>(ty * surface->width + x + first));
    }
    MarkDrawn(*surface, {x, y, static_cast<std::int32_t>(std::int64_t{x} + line->width), y + line->height});
    return true;
}

bool DrawTextBlended(Surface surface, std::int32_t x, std::int32_t y, const std::string& utf8,
                     Face face, int size, Colour textColour) {
    if (surface == nullptr) return false;
    TTF_Font* font = FontFor(face, size);
    if (font == nullptr) return false;
    if (utf8.empty()) return true;
    SdlSurface rendered(TTF_RenderUTF8_Blended(font, utf8.c_str(), ToSdl(textColour)),
                        &SDL_FreeSurface);
    if (!rendered) return false;
    SdlSurface argb(SDL_ConvertSurfaceFormat(rendered.get(), SDL_PIXELFORMAT_ARGB8888, 0),
                    &SDL_FreeSurface);
    if (!argb) return false;
    for (int row = 0; row < argb->h; ++row) {
        const std::int64_t ty = std::int64_t{y} + row;
        if (ty < 0 || ty >= surface->height) continue;
        const auto* source =
            reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(argb->pixels) + row * argb->pitch);
        for (int column = 0; column < argb->w; ++column) {
            const std::int64_t tx = std::int64_t{x} + column;
            if (tx < 0 || tx >= surface->width) continue;
            const unsigned alpha = source[column] >> 24;
            if (alpha == 0) continue;
            auto& pixel = surface->pixels[static_cast<std::size_t>(ty * surface->width + tx)];
            pixel = Blend(pixel, textColour, alpha);
        }
    }
    MarkDrawn(*surface, {x, y, static_cast<std::int32_t>(std::int64_t{x} + argb->w), y + argb->h});
    return true;
}

}  // namespace platform::common

namespace platform {

bool TextOut(DrawingContext context, std::int32_t x, std::int32_t y, const char* text,
             std::int32_t length) {
    if (context == nullptr || text == nullptr || length < 0) return false;
    const std::string utf8 =
        common::Cp1250ToUtf8(std::string_view(text, static_cast<std::size_t>(length)));
    return common::DrawTextOpaque(context->surface, x, y, utf8, common::kScreenFace,
                                  common::kScreenFontSize, context->text, context->background);
}

}  // namespace platform
