#pragma once
// The first occurrence of a text in a phrase, for the passes that ask it of every phrase on
// every key: inline, as a call per phrase would cost more than the search of a short one.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace tov {

namespace find_text_detail {

inline constexpr std::uint64_t kOnes = 0x0101010101010101ull;
inline constexpr std::uint64_t kLow7 = 0x7F * kOnes;

inline std::uint64_t LoadWord(const char* p) {
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

// 0x80 in every byte of `x` that is zero, nothing elsewhere.
inline std::uint64_t ZeroBytes(std::uint64_t x) {
    return ~(((x & kLow7) + kLow7) | x | kLow7);
}

} // namespace find_text_detail

// The first occurrence of `typed` (not empty) in `phrase`. Phrases are short, so rather than call a
// library search per false start this tests eight places at once for the first byte (and
// the second) of the text, and compares the rest only where both agree.
inline std::size_t FindText(std::string_view phrase, std::string_view typed) {
    static_assert(std::endian::native == std::endian::little, "the lowest byte must be the first");
    constexpr std::size_t kWord = sizeof(std::uint64_t);
    const std::size_t n = phrase.size();
    const std::size_t m = typed.size();
    if (m > n)
        return std::string_view::npos;
    const std::uint64_t first = find_text_detail::kOnes * static_cast<unsigned char>(typed[0]);
    if (m == 1) {
        if (n < kWord)
            return phrase.find(typed[0]);
        for (std::size_t block = 0; block < n; block += kWord) {
            const std::size_t at = std::min(block, n - kWord);
            if (const std::uint64_t hits =
                    find_text_detail::ZeroBytes(find_text_detail::LoadWord(phrase.data() + at) ^ first))
                return at + static_cast<std::size_t>(std::countr_zero(hits)) / 8;
        }
        return std::string_view::npos;
    }
    if (n < kWord + 1)
        return phrase.find(typed);
    const std::uint64_t second = find_text_detail::kOnes * static_cast<unsigned char>(typed[1]);
    const std::size_t lastStart = n - m;
    for (std::size_t block = 0; block <= lastStart; block += kWord) {
        // The last block is moved back to end with the phrase; its repeated places were
        // rejected before, or they would have ended the search.
        const std::size_t at = std::min(block, n - kWord - 1);
        std::uint64_t candidates =
            find_text_detail::ZeroBytes((find_text_detail::LoadWord(phrase.data() + at) ^ first) |
                                        (find_text_detail::LoadWord(phrase.data() + at + 1) ^ second));
        while (candidates) {
            const std::size_t start = at + static_cast<std::size_t>(std::countr_zero(candidates)) / 8;
            if (start > lastStart)
                return std::string_view::npos;
            if (std::memcmp(phrase.data() + start + 2, typed.data() + 2, m - 2) == 0)
                return start;
            candidates &= candidates - 1;
        }
    }
    return std::string_view::npos;
}

} // namespace tov
