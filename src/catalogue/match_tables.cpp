#include "catalogue/match_tables.h"

#include <algorithm>
#include <cstddef>

namespace tov {

namespace {

struct FoldEntry {
    char16_t from;
    char to[5]; // UTF-8, NUL-terminated
};

struct SeparatorRun {
    char16_t first;
    char16_t last;
};

#include "catalogue/match_tables.inc"

constexpr std::size_t kSymbolWidth = 2;
constexpr std::size_t kSyllableWidth = 6;
constexpr std::size_t kKanaWidth = 4;
constexpr char kSmallKana = 's';
constexpr char kFullKana = '.';

std::size_t SymbolAt(std::string_view table, std::size_t index) {
    const std::size_t base = kSymbols.size();
    const std::size_t at = index * kSymbolWidth;
    return kSymbols.find(table[at]) * base + kSymbols.find(table[at + 1]);
}

std::string_view Padded(std::string_view text) {
    return text.substr(0, text.find(' '));
}

std::string_view Syllable(std::size_t number) {
    return Padded(kSyllables.substr(number * kSyllableWidth, kSyllableWidth));
}

} // namespace

std::optional<std::string_view> FoldOf(char32_t c) {
    if (c < 0x80 || c > 0xFFFF)
        return std::nullopt;
    const auto* end = std::end(kFolds);
    const auto* at = std::lower_bound(std::begin(kFolds), end, c,
                                      [](const FoldEntry& e, char32_t key) { return e.from < key; });
    if (at == end || at->from != c)
        return std::nullopt;
    return std::string_view(at->to);
}

bool IsWordSeparator(char32_t c) {
    if (c < 0x80 || c > 0xFFFF)
        return false;
    const auto* end = std::end(kSeparators);
    const auto* at = std::upper_bound(std::begin(kSeparators), end, c,
                                      [](char32_t key, const SeparatorRun& r) { return key < r.first; });
    return at != std::begin(kSeparators) && c <= (at - 1)->last;
}

std::vector<std::string_view> HanReadingsOf(char32_t c) {
    if (c < kHanFirst || c > kHanLast)
        return {};
    const std::size_t value = SymbolAt(kHanReadings, c - kHanFirst);
    if (value == 0)
        return {};
    if (value <= kSyllableCount)
        return {Syllable(value - 1)};
    std::size_t at = value - kSyllableCount - 1;
    const std::size_t count = SymbolAt(kSeveral, at++);
    std::vector<std::string_view> readings;
    for (std::size_t k = 0; k < count; ++k)
        readings.push_back(Syllable(SymbolAt(kSeveral, at++)));
    return readings;
}

std::optional<KanaSound> KanaOf(char32_t c) {
    if (c < kKanaFirst || c > kKanaLast)
        return std::nullopt;
    const std::string_view entry = kKana.substr((c - kKanaFirst) * kKanaWidth, kKanaWidth);
    if (entry[0] != kSmallKana && entry[0] != kFullKana)
        return std::nullopt;
    return KanaSound{Padded(entry.substr(1)), entry[0] == kSmallKana};
}

} // namespace tov
