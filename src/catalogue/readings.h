#pragma once
// A name spelled for matching by sound. Each Han ideograph, kana and Hangul syllable becomes a
// unit of alternatives: a Han ideograph every Mandarin reading (pinyin without tones), a kana
// its Hepburn romanisation (read together with a small kana after it, doubled after a small
// tsu, lengthened by a prolonged sound mark), a Hangul syllable its Revised Romanisation and
// the jamo of its first consonant, as a Korean keyboard types it without an input method.
// Every other character stands for itself.
//
// Only the stretch of the name from the first read character to the last is kept, with the
// characters of the same words before and after it ("QQ音乐" keeps its "QQ"). It is stored as
// the number of the name's characters before it (two bytes, little-endian), then the units one
// after another: a character that stands for itself as its UTF-8 bytes; a unit of alternatives
// as kAlternativesMark, the number of alternatives, and each alternative as its length and its
// bytes.
#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace tov {

// Never a byte of UTF-8, so it cannot be mistaken for a character.
inline constexpr unsigned char kAlternativesMark = 0xF8;

inline constexpr std::size_t kReadingHeader = 2;

// The units of `text` (folded, see catalogue/fold.h); empty when nothing in it has a reading.
std::string ReadingUnits(std::string_view text);

// The characters of the name before the units, and the units, of what ReadingUnits made.
inline std::size_t SkippedCharacters(std::string_view readings) {
    return readings.size() < kReadingHeader
               ? 0
               : static_cast<unsigned char>(readings[0]) |
                     static_cast<std::size_t>(static_cast<unsigned char>(readings[1])) << 8;
}
inline std::string_view UnitsOf(std::string_view readings) {
    return readings.substr(std::min(readings.size(), kReadingHeader));
}

// One unit of an encoding as ReadingUnits writes it, read from the front of `units`.
struct ReadingUnit {
    std::string_view self;         // a character that stands for itself; empty for alternatives
    std::string_view alternatives; // the alternatives, still encoded; see NextAlternative
    std::size_t size = 0;          // bytes the unit takes in `units`
};
// Read once per unit on every key, so kept where the matcher can inline them.
inline ReadingUnit FirstUnit(std::string_view units) {
    if (units.empty())
        return {};
    const auto lead = static_cast<unsigned char>(units[0]);
    if (lead != kAlternativesMark) {
        const std::size_t bytes = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        const std::size_t size = std::min(bytes, units.size());
        return {units.substr(0, size), {}, size};
    }
    constexpr std::size_t kUnitHeader = 2; // the mark and the count
    if (units.size() < kUnitHeader)
        return {{}, {}, units.size()};
    const std::size_t count = static_cast<unsigned char>(units[1]);
    std::size_t at = kUnitHeader;
    for (std::size_t k = 0; k < count && at < units.size(); ++k)
        at += 1 + static_cast<unsigned char>(units[at]);
    at = std::min(at, units.size());
    return {{}, units.substr(kUnitHeader, at - kUnitHeader), at};
}

// Takes the first alternative off `alternatives`; empty when none is left.
inline std::string_view NextAlternative(std::string_view& alternatives) {
    if (alternatives.empty())
        return {};
    const std::size_t length =
        std::min<std::size_t>(static_cast<unsigned char>(alternatives[0]), alternatives.size() - 1);
    const std::string_view alternative = alternatives.substr(1, length);
    alternatives.remove_prefix(1 + length);
    return alternative;
}

} // namespace tov
