#pragma once
// A name spelled for matching by sound. Each Han ideograph, kana and Hangul syllable becomes a
// unit of alternatives: a Han ideograph every Mandarin reading (pinyin without tones), a kana
// its Hepburn romanisation (read together with a small kana after it, doubled after a small
// tsu, lengthened by a prolonged sound mark), a Hangul syllable its Revised Romanisation and
// the jamo of its first consonant, as a Korean keyboard types it without an input method.
// Every other character stands for itself.
//
// The units are stored one after another: a character that stands for itself as its UTF-8
// bytes; a unit of alternatives as kAlternativesMark, the number of alternatives, and each
// alternative as its length and its bytes.
#include <cstddef>
#include <string>
#include <string_view>

namespace tov {

// Never a byte of UTF-8, so it cannot be mistaken for a character.
inline constexpr unsigned char kAlternativesMark = 0xF8;

// The units of `text` (folded, see catalogue/fold.h); empty when nothing in it has a reading.
std::string ReadingUnits(std::string_view text);

// One unit of an encoding as ReadingUnits writes it, read from the front of `units`.
struct ReadingUnit {
    std::string_view self;         // a character that stands for itself; empty for alternatives
    std::string_view alternatives; // the alternatives, still encoded; see NextAlternative
    std::size_t size = 0;          // bytes the unit takes in `units`
};
ReadingUnit FirstUnit(std::string_view units);
// Takes the first alternative off `alternatives`; empty when none is left.
std::string_view NextAlternative(std::string_view& alternatives);

} // namespace tov
