#pragma once
// Influence counts by phrase, letter case ignored. The ranking asks about every match on
// every keystroke and nearly every answer is "none", so a bit filter over the first and last
// sixteen bytes of the phrase answers most questions inline, with a few instructions; the
// rest hash the phrase as if lower case, without a copy, and lower-case only text that is
// not ASCII.
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

class InfluenceIndex {
  public:
    // `phrases[i]` has count `counts[i]`; the first of several equal (lower-cased) phrases wins.
    void Build(const std::vector<std::string>& phrases, const std::vector<std::int16_t>& counts);
    std::int16_t Find(std::string_view phrase) const;
    bool Empty() const { return keys_.empty(); }

    // False only when `phrase` has no count; true also when Find must look closer.
    bool MightHold(std::string_view phrase) const {
        const Ends ends = EndsOf(phrase);
        return !ends.Ascii() || FilterHolds(ends);
    }

    // For a phrase already lower case, as the catalogue's are: its ends are a key's ends
    // whatever its script, so the filter answers for text that is not ASCII too.
    bool MightHoldLowered(std::string_view lowered) const { return FilterHolds(EndsOf(lowered)); }
    std::int16_t FindLowered(std::string_view lowered) const;

  private:
    static_assert(std::endian::native == std::endian::little, "the words are read as little-endian");
    static constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    // Small enough to stay in the cache while the phrases stream past, large enough that a
    // few hundred entries leave most bits clear.
    static constexpr std::size_t kFilterBits = 8192;

    // The first and the last sixteen bytes, or the whole text zero-padded when it is shorter.
    // Lower-casing maps an ASCII byte to one ASCII byte, so when both ends are ASCII the ends
    // of the lower-cased text are these bytes lower-cased, whatever the middle holds.
    static constexpr std::size_t kEndBytes = 16;
    struct Ends {
        std::uint64_t w[4] = {};
        bool Ascii() const { return ((w[0] | w[1] | w[2] | w[3]) & kHighBits) == 0; }
    };
    static Ends EndsOf(std::string_view s) {
        constexpr std::size_t kWord = sizeof(std::uint64_t);
        Ends e;
        if (s.size() >= kEndBytes) {
            std::memcpy(&e.w[0], s.data(), kWord);
            std::memcpy(&e.w[1], s.data() + kWord, kWord);
            std::memcpy(&e.w[2], s.data() + s.size() - 2 * kWord, kWord);
            std::memcpy(&e.w[3], s.data() + s.size() - kWord, kWord);
        } else {
            for (std::size_t k = 0; k < s.size(); ++k)
                e.w[k / kWord] |= std::uint64_t{static_cast<unsigned char>(s[k])} << (8 * (k % kWord));
            e.w[2] = e.w[0];
            e.w[3] = e.w[1];
        }
        return e;
    }
    // Clearing bit 0x20 of every byte puts capitals and small letters together (and some
    // punctuation with them, which only costs a closer look).
    static std::size_t FilterBit(const Ends& e) {
        constexpr std::uint64_t kCaseBits = ~0x2020202020202020ull;
        const std::uint64_t mixed = (e.w[0] & kCaseBits) ^ std::rotl(e.w[1] & kCaseBits, 17) ^
                                    std::rotl(e.w[2] & kCaseBits, 31) ^ std::rotl(e.w[3] & kCaseBits, 47);
        return static_cast<std::size_t>((mixed * 0x9E3779B97F4A7C15ull) >> 32) % kFilterBits;
    }

    bool FilterHolds(const Ends& ends) const {
        const std::size_t bit = FilterBit(ends);
        return (filter_[bit / 64] >> (bit % 64)) & 1;
    }

    struct Slot {
        std::uint64_t hash = 0;
        std::int32_t key = -1; // index into keys_; -1 when the slot is free
    };
    std::int16_t Probe(std::uint64_t hash, std::string_view phrase, bool lowered) const;

    std::vector<std::string> keys_; // lower-cased
    std::vector<std::int16_t> counts_;
    std::vector<Slot> slots_;
    std::vector<std::uint64_t> filter_ = std::vector<std::uint64_t>(kFilterBits / 64, 0);
    std::size_t mask_ = 0;
};

} // namespace tov
