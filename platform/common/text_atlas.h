// The file of a font's lines drawn beforehand: the browser build draws its text
// from it (web/web_text.cpp), and tools/make_text_atlas.cpp writes it with the
// Linux build's text code. Little-endian: "WLBYTXT1", the face, the size, the
// number of lines; then per line its UTF-8 bytes (16-bit length first), its
// width and height (16 bits each) and its levels, row after row.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/common/text.h"

namespace platform::common::text_atlas {

struct Entry {
    std::string utf8;
    ShadedLine line;
};

struct Atlas {
    Face face = Face::Sans;
    int size = 0;
    std::vector<Entry> entries;
};

std::vector<std::uint8_t> Encode(const Atlas& atlas);
// False, with `atlas` left as it was, for anything but a whole, well-formed file.
bool Decode(std::span<const std::uint8_t> bytes, Atlas* atlas);

}  // namespace platform::common::text_atlas
