#include "catalogue/html_text.h"

#include "base/text.h"

#include <array>
#include <optional>
#include <utility>

namespace tov {

namespace {

constexpr std::array<std::pair<std::string_view, char>, 5> kNamedReferences = {
    {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}}};
// "&#x10FFFF;" is the longest reference decoded; no name or number needs more.
constexpr std::size_t kLongestReference = 10;
constexpr char32_t kLastCharacter = 0x10FFFF;
constexpr char32_t kFirstSurrogate = 0xD800;
constexpr char32_t kLastSurrogate = 0xDFFF;
constexpr int kDecimal = 10;
constexpr int kHexadecimal = 16;

std::optional<int> DigitValue(char c, int base) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (base == kHexadecimal && c >= 'a' && c <= 'f')
        return c - 'a' + kDecimal;
    if (base == kHexadecimal && c >= 'A' && c <= 'F')
        return c - 'A' + kDecimal;
    return std::nullopt;
}

// The character of a numeric reference's body ("#39", "#x27"), when it names one.
std::optional<char32_t> NumericReference(std::string_view body) {
    if (!body.starts_with('#') || body.size() < 2)
        return std::nullopt;
    body.remove_prefix(1);
    int base = kDecimal;
    if (body.front() == 'x' || body.front() == 'X') {
        base = kHexadecimal;
        body.remove_prefix(1);
    }
    if (body.empty())
        return std::nullopt;
    char32_t value = 0;
    for (char c : body) {
        const auto digit = DigitValue(c, base);
        if (!digit)
            return std::nullopt;
        value = value * base + static_cast<char32_t>(*digit);
        if (value > kLastCharacter)
            return std::nullopt;
    }
    if (value == 0 || (value >= kFirstSurrogate && value <= kLastSurrogate))
        return std::nullopt;
    return value;
}

} // namespace

std::string DecodeCharacterReferences(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t amp = text.find('&', at);
        out.append(text.substr(at, amp == std::string_view::npos ? text.size() - at : amp - at));
        if (amp == std::string_view::npos)
            break;
        at = amp + 1;
        const std::size_t semicolon = text.substr(at, kLongestReference).find(';');
        if (semicolon == std::string_view::npos) {
            out += '&';
            continue;
        }
        const std::string_view body = text.substr(at, semicolon);
        std::optional<char32_t> decoded = NumericReference(body);
        for (const auto& [name, character] : kNamedReferences)
            if (body == name)
                decoded = static_cast<char32_t>(character);
        if (!decoded) {
            out += '&';
            continue;
        }
        AppendUtf8(out, *decoded);
        at += semicolon + 1;
    }
    return out;
}

} // namespace tov
