#include "platform/code_pages.h"

#include "base/text.h"

#include <array>

namespace tov {

namespace {

// Windows-1252, the ANSI code page of Western Windows installations, stands in for the
// system code page where there is no Windows to ask. Bytes 0x80-0x9F differ from Latin-1;
// the five that 1252 leaves unassigned map to the control characters of the same number, as
// Windows maps them, so every byte reads and writes back unchanged.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr unsigned char kFirstHighControl = 0x80;
constexpr unsigned char kLastHighControl = 0x9F;

std::optional<char> Western(char16_t c) {
    if (c < kFirstHighControl || (c > kLastHighControl && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t k = 0; k < kHighControls.size(); ++k)
        if (kHighControls[k] == c)
            return static_cast<char>(kFirstHighControl + k);
    return std::nullopt;
}

} // namespace

unsigned AnsiCodePage() {
    return kWesternCodePage;
}

std::optional<std::string> DecodeCodePage(std::string_view bytes, unsigned codePage) {
    if (codePage == kUtf8CodePage)
        return IsValidUtf8(bytes) ? std::optional<std::string>(bytes) : std::nullopt;
    if (codePage != kWesternCodePage)
        return std::nullopt;
    std::u16string wide;
    wide.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        wide += (b >= kFirstHighControl && b <= kLastHighControl) ? kHighControls[b - kFirstHighControl]
                                                                  : static_cast<char16_t>(b);
    }
    return Utf16ToUtf8(wide);
}

std::optional<std::string> EncodeCodePage(std::string_view utf8, unsigned codePage) {
    if (!IsValidUtf8(utf8))
        return std::nullopt;
    if (codePage == kUtf8CodePage)
        return std::string(utf8);
    if (codePage != kWesternCodePage)
        return std::nullopt;
    std::string out;
    out.reserve(utf8.size());
    for (char16_t c : Utf8ToUtf16(utf8)) {
        const auto mapped = Western(c);
        if (!mapped)
            return std::nullopt;
        out += *mapped;
    }
    return out;
}

} // namespace tov
