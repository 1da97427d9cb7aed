#pragma once
// What the Unicode data says about a character, as far as matching typed text needs it: what it
// folds to, whether it ends a word, how a Han ideograph or a kana is read in Latin letters. The
// tables are generated (match_tables.inc, by scripts/make_match_tables.py).
#include <optional>
#include <string_view>
#include <vector>

namespace tov {

// What `c` becomes with accents, letter variants, width and compatibility forms set aside, in
// lower case: "é" → "e", "ß" → "ss", "Ａ" → "a". Nothing when it stays as it is.
std::optional<std::string_view> FoldOf(char32_t c);

// Punctuation, symbols, spaces and format characters outside ASCII.
bool IsWordSeparator(char32_t c);

// Every Mandarin reading of a Han ideograph, toneless and lower case, the usual one first
// ("行" → "xing", "hang", "heng"); none for other characters.
std::vector<std::string_view> HanReadingsOf(char32_t c);

struct KanaSound {
    std::string_view roman; // Hepburn: "ka", "shi", "tsu"
    bool small = false;     // a small kana, read together with the one before it
};
// Hiragana and katakana letters; nothing for other characters and for kana marks.
std::optional<KanaSound> KanaOf(char32_t c);

} // namespace tov
