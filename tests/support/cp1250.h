// Code page 1250 as the C library's iconv converts it: the tests' independent
// reading of the game's bytes.
#pragma once

#include <iconv.h>

#include <optional>
#include <string>

namespace test_support {

// The UTF-8 of `text`; none when the converter is missing or refuses a byte.
inline std::optional<std::string> IconvCp1250ToUtf8(const std::string& text) {
    iconv_t converter = iconv_open("UTF-8", "CP1250");
    if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string in = text;
    std::string out(text.size() * 4, '\0');
    char* from = in.data();
    char* to = out.data();
    std::size_t fromLeft = in.size();
    std::size_t toLeft = out.size();
    const std::size_t converted = iconv(converter, &from, &fromLeft, &to, &toLeft);
    iconv_close(converter);
    if (converted == static_cast<std::size_t>(-1)) return std::nullopt;
    out.resize(out.size() - toLeft);
    return out;
}

}  // namespace test_support
