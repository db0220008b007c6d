// Draws every line the game can draw (tools/text_lines.cpp) with the Linux
// build's text code and writes their coverage as the browser build's text file.
// usage: wolby_make_text_atlas <output file>
#include <cstdio>
#include <fstream>

#include "platform/common/text.h"
#include "platform/common/text_atlas.h"
#include "tools/text_lines.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output file>\n", argv[0]);
        return 2;
    }
    using namespace platform::common;
    text_atlas::Atlas atlas{kScreenFace, kScreenFontSize, {}};
    for (const std::string& line : text_lines::All()) {
        const std::string utf8 = Cp1250ToUtf8(line);
        const ShadedLine* shaded = ShapeLine(kScreenFace, kScreenFontSize, utf8);
        if (shaded == nullptr) {
            std::fprintf(stderr, "%s: cannot draw \"%s\" (is fonts-dejavu-core installed?)\n", argv[0],
                         utf8.c_str());
            return 1;
        }
        atlas.entries.push_back({utf8, *shaded});
    }
    const std::vector<std::uint8_t> bytes = text_atlas::Encode(atlas);
    // The format holds 16-bit sizes: a line or a list beyond them must stop
    // the build, not leave the browser build without its text.
    text_atlas::Atlas read;
    bool same = text_atlas::Decode(bytes, &read) && read.entries.size() == atlas.entries.size();
    for (std::size_t i = 0; same && i < atlas.entries.size(); ++i) {
        const text_atlas::Entry& made = atlas.entries[i];
        const text_atlas::Entry& back = read.entries[i];
        same = made.utf8 == back.utf8 && made.line.width == back.line.width &&
               made.line.height == back.line.height && made.line.levels == back.line.levels;
    }
    if (!same) {
        std::fprintf(stderr, "%s: the atlas does not read back as it was made\n", argv[0]);
        return 1;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
