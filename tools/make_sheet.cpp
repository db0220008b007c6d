// Writes the graphics sheet: wolby_make_sheet [output path, default zdj/15.bmp].
#include <cstdio>
#include <fstream>

#include "tools/sheet_art.h"

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : "zdj/15.bmp";
    const std::vector<std::uint8_t> bytes = sheet_art::SheetFile();
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        std::fprintf(stderr, "wolby_make_sheet: cannot write %s\n", path);
        return 1;
    }
    std::printf("wrote %s (%zu bytes)\n", path, bytes.size());
    return 0;
}
