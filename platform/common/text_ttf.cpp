// The Linux build's text: DejaVu fonts through SDL_ttf (glyph rendering only,
// no window). The browser build has no FreeType; it takes its lines from a
// table this code makes (tools/make_text_atlas.cpp).
#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <map>
#include <memory>
#include <utility>

#include "platform/common/surface.h"
#include "platform/common/text.h"

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

// SDL_ttf's shaded rendering is 8-bit: its pixel values are the coverage
// levels, whatever the two colours (only its palette depends on them).
bool RenderLevels(TTF_Font* font, const std::string& utf8, ShadedLine* line) {
    line->height = TTF_FontHeight(font);
    if (utf8.empty()) {
        line->width = 0;
        line->levels.clear();
        return true;
    }
    SdlSurface rendered(TTF_RenderUTF8_Shaded(font, utf8.c_str(), SDL_Color{255, 255, 255, 255},
                                              SDL_Color{0, 0, 0, 255}),
                        &SDL_FreeSurface);
    if (!rendered || rendered->format->BytesPerPixel != 1) return false;
    line->width = rendered->w;
    line->levels.assign(static_cast<std::size_t>(line->width) * static_cast<std::size_t>(line->height), 0);
    const auto* bytes = static_cast<const Uint8*>(rendered->pixels);
    for (int row = 0; row < rendered->h && row < line->height; ++row) {
        std::copy(bytes + row * rendered->pitch, bytes + row * rendered->pitch + rendered->w,
                  line->levels.begin() + static_cast<std::ptrdiff_t>(row) * line->width);
    }
    return true;
}

struct CachedLine {
    Face face = Face::Sans;
    int size = 0;
    std::string utf8;
    ShadedLine line;
    std::uint64_t lastUse = 0;
};

}  // namespace

// The game draws the same few status lines over and over (twice per move), and
// shaping and rasterising a line costs far more than colouring it: the lines
// drawn last are kept, a bounded number of them.
const ShadedLine* ShapeLine(Face face, int size, const std::string& utf8) {
    constexpr std::size_t kKept = 64;
    static std::vector<CachedLine> lines;
    static std::uint64_t uses = 0;
    TTF_Font* font = FontFor(face, size);
    if (font == nullptr) return nullptr;
    ++uses;
    CachedLine* oldest = nullptr;
    for (CachedLine& cached : lines) {
        if (cached.face == face && cached.size == size && cached.utf8 == utf8) {
            cached.lastUse = uses;
            return &cached.line;
        }
        if (oldest == nullptr || cached.lastUse < oldest->lastUse) oldest = &cached;
    }
    CachedLine fresh{face, size, utf8, {}, uses};
    if (!RenderLevels(font, utf8, &fresh.line)) return nullptr;
    if (lines.size() < kKept) {
        lines.push_back(std::move(fresh));
        return &lines.back().line;
    }
    *oldest = std::move(fresh);
    return &oldest->line;
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
