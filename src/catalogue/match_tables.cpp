#include "catalogue/match_tables.h"

#include <algorithm>
#include <cstddef>

namespace tov {

namespace {

struct SeparatorRun {
    char16_t first;
    char16_t last;
};

#include "catalogue/match_tables.inc"

constexpr std::size_t kSyllableWidth = 6;
constexpr std::size_t kKanaWidth = 4;
constexpr std::size_t kMoreReadingWidth = 4;
constexpr char kSmallKana = 's';
constexpr char kFullKana = '.';

std::string_view Padded(std::string_view text, char pad) {
    return text.substr(0, text.find(pad));
}

std::string_view Syllable(std::size_t number) {
    return Padded(kSyllables.substr(number * kSyllableWidth, kSyllableWidth), ' ');
}

unsigned Byte(std::string_view table, std::size_t at) {
    return static_cast<unsigned char>(table[at]);
}

unsigned UsualReading(std::size_t ideograph) {
    const std::size_t bit = ideograph * kReadingBits;
    const std::size_t at = bit / 8;
    unsigned bits = Byte(kUsualReadings, at) | Byte(kUsualReadings, at + 1) << 8;
    return bits >> (bit % 8) & ((1u << kReadingBits) - 1);
}

} // namespace

std::optional<std::string_view> FoldOf(char32_t c) {
    if (c < 0x80 || c > 0xFFFF)
        return std::nullopt;
    const auto* at = std::lower_bound(std::begin(kFoldFrom), std::end(kFoldFrom), c);
    if (at == std::end(kFoldFrom) || *at != c)
        return std::nullopt;
    const std::size_t text = kFoldTo[at - std::begin(kFoldFrom)];
    return Padded(kFoldTexts.substr(text * kFoldWidth, kFoldWidth), '\0');
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
    const std::size_t ideograph = c - kHanFirst;
    const unsigned usual = UsualReading(ideograph);
    if (usual == 0)
        return {};
    std::vector<std::string_view> readings = {Syllable(usual - 1)};
    // The other readings, ordered by ideograph: a binary search finds the first of this one's.
    std::size_t low = 0;
    std::size_t high = kMoreReadings.size() / kMoreReadingWidth;
    const auto ideographAt = [](std::size_t k) {
        return Byte(kMoreReadings, k * kMoreReadingWidth) | Byte(kMoreReadings, k * kMoreReadingWidth + 1)
                                                                << 8;
    };
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        if (ideographAt(middle) < ideograph)
            low = middle + 1;
        else
            high = middle;
    }
    for (std::size_t k = low; k < kMoreReadings.size() / kMoreReadingWidth && ideographAt(k) == ideograph;
         ++k)
        readings.push_back(Syllable(Byte(kMoreReadings, k * kMoreReadingWidth + 2) |
                                    Byte(kMoreReadings, k * kMoreReadingWidth + 3) << 8));
    return readings;
}

std::optional<KanaSound> KanaOf(char32_t c) {
    if (c < kKanaFirst || c > kKanaLast)
        return std::nullopt;
    const std::string_view entry = kKana.substr((c - kKanaFirst) * kKanaWidth, kKanaWidth);
    if (entry[0] != kSmallKana && entry[0] != kFullKana)
        return std::nullopt;
    return KanaSound{Padded(entry.substr(1), ' '), entry[0] == kSmallKana};
}

} // namespace tov
