// Compares the pictures the two builds took of the Windows scenes (scenes.txt):
// the Windows build's under Wine and the Linux build's on the headless backend.
// Texts are drawn by each build's own font, so the cells that either build's
// text calls reported are left out; every other pixel must be the same. Prints
// one line per picture (pixels that differ in all, and outside the texts) and,
// for a picture that differs outside its texts, writes <diff folder>/<picture>.bmp:
// the differing pixels red, the text cells blue, the rest the Linux picture dimmed.
//   usage: wolby_scenes_compare <scenes.txt> <Windows folder> <Linux folder> <diff folder>
// Exit status 0 when no picture differs outside its texts.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tests/scenes/scenes.h"
#include "tests/support/bmp_file.h"

namespace {

constexpr std::size_t kPixels = static_cast<std::size_t>(scenes::kWidth) * scenes::kHeight;

bool ReadPixels(const std::string& path, std::vector<std::uint16_t>* pixels) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), {});
    if (bytes.size() != 2 * kPixels) return false;
    pixels->resize(kPixels);
    for (std::size_t i = 0; i < kPixels; ++i)
        (*pixels)[i] = static_cast<std::uint16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    return true;
}

// Marks the text rectangles of the file on the mask; false when it cannot be read.
bool ReadTexts(const std::string& path, std::vector<bool>* mask, int* count) {
    std::ifstream in(path);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::int32_t left, top, right, bottom;
        if (!(fields >> left >> top >> right >> bottom)) return false;
        ++*count;
        for (std::int32_t y = std::max(top, 0); y < std::min(bottom, scenes::kHeight); ++y)
            for (std::int32_t x = std::max(left, 0); x < std::min(right, scenes::kWidth); ++x)
                (*mask)[static_cast<std::size_t>(y * scenes::kWidth + x)] = true;
    }
    return true;
}

std::uint32_t Colour(std::uint16_t pixel) {
    const std::uint32_t value = pixel;
    const std::uint32_t r = (value >> 11) << 3, g = ((value >> 5) & 0x3Fu) << 2, b = (value & 0x1Fu) << 3;
    return r | g << 8 | b << 16;
}

bool WriteDiff(const std::string& path, const std::vector<std::uint16_t>& linuxPixels, const std::vector<bool>& differs,
               const std::vector<bool>& mask) {
    wolby_test::BmpPicture picture(scenes::kWidth, scenes::kHeight, 24);
    picture.topDown = true;
    picture.at = [&](std::int32_t x, std::int32_t y) -> std::uint32_t {
        const std::size_t i = static_cast<std::size_t>(y * scenes::kWidth + x);
        if (differs[i] && !mask[i]) return 0x0000FF;
        if (mask[i]) return 0x804000;
        return (Colour(linuxPixels[i]) >> 2) & 0x3F3F3F;
    };
    const std::vector<std::uint8_t> bytes = wolby_test::BmpFile(picture);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return out.good();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: wolby_scenes_compare <scenes.txt> <Windows folder> <Linux folder> <diff folder>\n");
        return 2;
    }
    const std::string windowsFolder = argv[2], linuxFolder = argv[3], diffFolder = argv[4];
    std::vector<scenes::Scene> file;
    std::string error;
    if (!scenes::Read(argv[1], &file, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::vector<std::string> names;
    for (const scenes::Scene& scene : file) {
        if (!scene.windows) continue;
        for (const std::string& name : scenes::ShotNames(scene)) names.push_back(name);
    }
    bool ok = !names.empty();
    std::printf("%-20s %14s %22s %12s\n", "picture", "pixels differ", "outside the texts", "text cells");
    for (const std::string& name : names) {
        std::vector<std::uint16_t> windowsPixels, linuxPixels;
        std::vector<bool> mask(kPixels, false);
        int texts = 0;
        if (!ReadPixels(windowsFolder + "/" + name + ".rgb565", &windowsPixels) ||
            !ReadPixels(linuxFolder + "/" + name + ".rgb565", &linuxPixels) ||
            !ReadTexts(windowsFolder + "/" + name + ".texts", &mask, &texts) ||
            !ReadTexts(linuxFolder + "/" + name + ".texts", &mask, &texts)) {
            std::printf("%-20s missing or unreadable in one of the builds\n", name.c_str());
            ok = false;
            continue;
        }
        std::vector<bool> differs(kPixels, false);
        long all = 0, outside = 0;
        for (std::size_t i = 0; i < kPixels; ++i) {
            differs[i] = windowsPixels[i] != linuxPixels[i];
            all += differs[i];
            outside += differs[i] && !mask[i];
        }
        std::printf("%-20s %14ld %22ld %12d\n", name.c_str(), all, outside, texts);
        if (outside != 0) {
            ok = false;
            const std::string path = diffFolder + "/" + name + ".bmp";
            if (WriteDiff(path, linuxPixels, differs, mask)) std::printf("%-20s differences: %s\n", "", path.c_str());
        }
    }
    return ok ? 0 : 1;
}
