// The browser build's text: no font renderer, but every line the game can draw,
// drawn beforehand by the Linux build's text code (tools/make_text_atlas.cpp),
// read from the page's data file at the first line. A line it does not hold is
// said once on the console and not drawn; the program tests keep that from
// happening (every line they see the game draw must be in the list).
#include <cstdio>
#include <set>
#include <unordered_map>

#include "platform/common/regular_file.h"
#include "platform/common/text.h"
#include "platform/common/text_atlas.h"

namespace platform::common {
namespace {

constexpr const char* kAtlasFile = "/data/text-lines.bin";

struct Lines {
    bool read = false;
    text_atlas::Atlas atlas;
    std::unordered_map<std::string, const ShadedLine*> byText;
    std::set<std::string> missing;
};

Lines& Loaded() {
    static Lines lines;
    if (!lines.read) {
        lines.read = true;
        // Read whole, as the game's other files are, not byte by byte.
        constexpr std::uint64_t kMostBytes = 16u * 1024u * 1024u;
        std::vector<std::uint8_t> bytes;
        if (!ReadRegularFile(kAtlasFile, kMostBytes, bytes) || !text_atlas::Decode(bytes, &lines.atlas)) {
            std::fprintf(stderr, "wolby: cannot read the text lines of %s\n", kAtlasFile);
        }
        for (const text_atlas::Entry& entry : lines.atlas.entries) lines.byText[entry.utf8] = &entry.line;
    }
    return lines;
}

}  // namespace

const ShadedLine* ShapeLine(Face face, int size, const std::string& utf8) {
    Lines& lines = Loaded();
    if (face != lines.atlas.face || size != lines.atlas.size) return nullptr;
    const auto found = lines.byText.find(utf8);
    if (found != lines.byText.end()) return found->second;
    if (utf8.empty()) {
        static ShadedLine empty;
        return &empty;
    }
    if (lines.missing.insert(utf8).second) {
        std::fprintf(stderr, "wolby: no drawn line \"%s\" in %s\n", utf8.c_str(), kAtlasFile);
    }
    return nullptr;
}

}  // namespace platform::common
