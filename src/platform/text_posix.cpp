#include "platform/text.h"

#include <array>

namespace tov {

namespace {

// Windows-1252, the ANSI code page of Western Windows installations, stands in for the
// system code page where there is no Windows to ask. Bytes 0x80-0x9F differ from Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

} // namespace

std::string AnsiToUtf8(std::string_view ansi) {
    std::u16string wide;
    wide.reserve(ansi.size());
    for (char ch : ansi) {
        const auto b = static_cast<unsigned char>(ch);
        wide += (b >= 0x80 && b <= 0x9F) ? kHighControls[b - 0x80] : static_cast<char16_t>(b);
    }
    return Utf16ToUtf8(wide);
}

std::string Utf8ToAnsi(std::string_view utf8, bool* lossless) {
    bool exact = true;
    std::string out;
    for (char16_t c : Utf8ToUtf16(utf8)) {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
            continue;
        }
        char mapped = 0;
        for (std::size_t k = 0; k < kHighControls.size(); ++k)
            if (kHighControls[k] == c && c != 0xFFFD)
                mapped = static_cast<char>(0x80 + k);
        if (mapped == 0) {
            exact = false;
            mapped = '?';
        }
        out += mapped;
    }
    if (lossless)
        *lossless = exact;
    return out;
}

} // namespace tov
