#include "catalogue/readings.h"

#include "base/text.h"
#include "catalogue/match_tables.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

namespace tov {

namespace {

using Alternatives = std::vector<std::string>;

constexpr char32_t kHangulFirst = 0xAC00;
constexpr char32_t kHangulLast = 0xD7A3;
constexpr int kHangulVowels = 21;
constexpr int kHangulFinals = 28;

// Revised Romanisation of Korean, by the jamo's place in the syllable's code.
constexpr std::array<std::string_view, 19> kRomanInitials = {
    "g", "kk", "n", "d", "tt", "r", "m", "b", "pp", "s", "ss", "", "j", "jj", "ch", "k", "t", "p", "h"};
constexpr std::array<std::string_view, kHangulVowels> kRomanVowels = {
    "a",  "ae", "ya", "yae", "eo", "e",  "yeo", "ye", "o",  "wa", "wae",
    "oe", "yo", "u",  "wo",  "we", "wi", "yu",  "eu", "ui", "i"};
constexpr std::array<std::string_view, kHangulFinals> kRomanFinals = {
    "",  "k", "k", "k", "n", "n", "n", "t",  "l", "k", "m", "l", "l", "l",
    "p", "l", "m", "p", "p", "t", "t", "ng", "t", "t", "k", "t", "p", "t"};
// The compatibility jamo a Korean keyboard types for each initial consonant.
constexpr std::array<char32_t, 19> kInitialJamo = {0x3131, 0x3132, 0x3134, 0x3137, 0x3138, 0x3139, 0x3141,
                                                   0x3142, 0x3143, 0x3145, 0x3146, 0x3147, 0x3148, 0x3149,
                                                   0x314A, 0x314B, 0x314C, 0x314D, 0x314E};

constexpr char32_t kProlongedSoundMark = 0x30FC;
constexpr std::ptrdiff_t kMostSkipped = 0xFFFF;
constexpr std::string_view kSmallTsu = "tsu";
constexpr std::string_view kVowels = "aiueo";
constexpr std::string_view kJoiningStarts = "aiueoyw";
// Before a small ya, yu or yo these drop their "i" and the "y" as well: "shi" + "ya" is "sha".
constexpr std::array<std::string_view, 3> kPalatalSounds = {"shi", "chi", "ji"};

struct Unit {
    std::string self;
    Alternatives alternatives;
    bool kana = false;
};

Alternatives HangulReadings(char32_t c) {
    const auto s = static_cast<int>(c - kHangulFirst);
    const int initial = s / (kHangulVowels * kHangulFinals);
    const int vowel = s / kHangulFinals % kHangulVowels;
    const int last = s % kHangulFinals;
    std::string roman = std::string(kRomanInitials[static_cast<std::size_t>(initial)]);
    roman += kRomanVowels[static_cast<std::size_t>(vowel)];
    roman += kRomanFinals[static_cast<std::size_t>(last)];
    std::string jamo;
    AppendUtf8(jamo, kInitialJamo[static_cast<std::size_t>(initial)]);
    return {roman, jamo};
}

// A small vowel, ya, yu, yo or wa joins the kana before it: "ki" + small "ya" is "kya", "fu" +
// small "a" is "fa". The small ka and ke are read as they are.
bool JoinSmallKana(std::vector<Unit>& units, std::string_view small) {
    if (units.empty() || !units.back().kana || small.empty() ||
        kJoiningStarts.find(small[0]) == std::string_view::npos)
        return false;
    for (std::string& before : units.back().alternatives) {
        if (before.empty())
            continue;
        const bool palatal = std::any_of(kPalatalSounds.begin(), kPalatalSounds.end(),
                                         [&](std::string_view sound) { return before.ends_with(sound); });
        before.pop_back();
        before += (palatal && small.size() > 1 && small[0] == 'y') ? small.substr(1) : small;
    }
    return true;
}

// The prolonged sound mark repeats the vowel before it; typed, it is often left out.
void Prolong(std::vector<Unit>& units) {
    if (units.empty() || !units.back().kana)
        return;
    Alternatives& alternatives = units.back().alternatives;
    const std::size_t count = alternatives.size();
    for (std::size_t k = 0; k < count; ++k) {
        const std::string& before = alternatives[k];
        if (!before.empty() && kVowels.find(before.back()) != std::string_view::npos)
            alternatives.push_back(before + before.back());
    }
}

// A small tsu doubles the consonant after it ("tch" before "ch").
std::string Doubled(std::string_view roman) {
    if (roman.starts_with("ch"))
        return "t" + std::string(roman);
    if (roman.empty() || kVowels.find(roman[0]) != std::string_view::npos)
        return std::string(roman);
    return roman[0] + std::string(roman);
}

// A name's characters that stand for themselves count for its readings only beside them, in the
// same word ("QQ" of "QQ音乐"): the words before and after are matched by their letters.
bool InWord(const Unit& unit) {
    std::size_t i = 0;
    const char32_t c = DecodeUtf8(unit.self, i);
    if (c < 0x80)
        return std::isalnum(static_cast<unsigned char>(c)) != 0;
    return !IsWordSeparator(c);
}

void Encode(const std::vector<Unit>& units, std::string& out) {
    constexpr std::size_t kMostBytes = 0xFF;
    const auto read = [](const Unit& u) { return !u.alternatives.empty(); };
    auto first = std::find_if(units.begin(), units.end(), read);
    if (first == units.end())
        return;
    auto last = std::find_if(units.rbegin(), units.rend(), read).base();
    while (first != units.begin() && InWord(*(first - 1)))
        --first;
    while (last != units.end() && InWord(*last))
        ++last;
    const auto skipped =
        static_cast<std::size_t>(std::min<std::ptrdiff_t>(first - units.begin(), kMostSkipped));
    out += static_cast<char>(skipped & 0xFF);
    out += static_cast<char>(skipped >> 8);
    for (auto it = first; it != last; ++it) {
        const Unit& unit = *it;
        if (unit.alternatives.empty()) {
            out += unit.self;
            continue;
        }
        const std::size_t count = std::min(unit.alternatives.size(), kMostBytes);
        out += static_cast<char>(kAlternativesMark);
        out += static_cast<char>(count);
        for (std::size_t k = 0; k < count; ++k) {
            const std::string& a = unit.alternatives[k];
            const std::size_t length = std::min(a.size(), kMostBytes);
            out += static_cast<char>(length);
            out.append(a, 0, length);
        }
    }
}

} // namespace

std::string ReadingUnits(std::string_view text) {
    // Nothing below the first kana has a reading; most names end here.
    constexpr char32_t kFirstWithReading = 0x3041;
    bool mayRead = false;
    for (std::size_t i = 0; i < text.size() && !mayRead;)
        mayRead = DecodeUtf8(text, i) >= kFirstWithReading;
    if (!mayRead)
        return {};
    std::vector<Unit> units;
    bool anyReading = false;
    bool doubleNext = false;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        const char32_t c = DecodeUtf8(text, i);
        const std::string_view self = text.substr(start, i - start);
        if (const auto kana = KanaOf(c)) {
            anyReading = true;
            if (kana->small && kana->roman == kSmallTsu) {
                doubleNext = true;
                continue;
            }
            if (kana->small && JoinSmallKana(units, kana->roman))
                continue;
            units.push_back(
                {std::string(self), {doubleNext ? Doubled(kana->roman) : std::string(kana->roman)}, true});
            doubleNext = false;
            continue;
        }
        doubleNext = false;
        if (c == kProlongedSoundMark) {
            Prolong(units);
            continue;
        }
        Alternatives readings;
        if (c >= kHangulFirst && c <= kHangulLast) {
            readings = HangulReadings(c);
        } else {
            for (std::string_view reading : HanReadingsOf(c))
                readings.emplace_back(reading);
        }
        anyReading = anyReading || !readings.empty();
        units.push_back({std::string(self), std::move(readings), false});
    }
    std::string out;
    if (anyReading)
        Encode(units, out);
    return out;
}

} // namespace tov
