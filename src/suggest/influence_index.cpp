#include "suggest/influence_index.h"

#include "base/text.h"
#include "suggest/lower_compare.h"

namespace tov {

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighBits = 0x80 * kOnes;

// Lower-cases the ASCII capitals among eight bytes at once; other bytes stay as they are.
std::uint64_t FoldAscii(std::uint64_t w) {
    const std::uint64_t low7 = w & (0x7F * kOnes);
    const std::uint64_t atLeastA = low7 + (0x80 - 'A') * kOnes;
    const std::uint64_t aboveZ = low7 + (0x80 - 'Z' - 1) * kOnes;
    const std::uint64_t capitals = atLeastA & ~aboveZ & ~w & kHighBits;
    return w | (capitals >> 2);
}

struct Hashed {
    std::uint64_t hash = 0;
    bool ascii = true;
};

// Hashes the text as if its ASCII capitals were lower case, eight bytes at a time. For ASCII
// text that is the hash of its LowerCase; other text has to be lower-cased first.
Hashed HashFolded(std::string_view s) {
    constexpr std::size_t kWord = sizeof(std::uint64_t);
    std::uint64_t h = 0;
    std::uint64_t seen = 0;
    // A cheap combination per word and one strong mix at the end: a weak spot only costs a
    // comparison, never a wrong answer.
    auto mix = [&](std::uint64_t w) {
        seen |= w;
        h = std::rotl(h, 23) ^ FoldAscii(w);
    };
    std::size_t i = 0;
    for (; i + kWord <= s.size(); i += kWord) {
        std::uint64_t w;
        std::memcpy(&w, s.data() + i, kWord);
        mix(w);
    }
    if (const std::size_t rest = s.size() - i; rest > 0) {
        std::uint64_t w = 0;
        if (s.size() >= kWord) {
            // The last eight bytes, shifted so that only the ones not yet hashed remain.
            std::memcpy(&w, s.data() + s.size() - kWord, kWord);
            w >>= 8 * (kWord - rest);
        } else {
            for (std::size_t k = 0; k < rest; ++k)
                w |= std::uint64_t{static_cast<unsigned char>(s[i + k])} << (8 * k);
        }
        mix(w);
    }
    h ^= s.size() * 0x9E3779B97F4A7C15ull;
    h = (h ^ (h >> 33)) * 0xFF51AFD7ED558CCDull;
    h = (h ^ (h >> 33)) * 0xC4CEB9FE1A85EC53ull;
    return {h ^ (h >> 33), (seen & kHighBits) == 0};
}

} // namespace

void InfluenceIndex::Build(const std::vector<std::string>& phrases, const std::vector<std::int16_t>& counts) {
    keys_.clear();
    counts_.clear();
    std::size_t size = 16;
    while (size < phrases.size() * 4)
        size *= 2;
    slots_.assign(size, Slot{});
    filter_.assign(kFilterBits / 64, 0);
    mask_ = size - 1;
    for (std::size_t i = 0; i < phrases.size() && i < counts.size(); ++i) {
        std::string lowered = LowerCase(phrases[i]);
        const std::uint64_t hash = HashFolded(lowered).hash;
        std::size_t at = hash & mask_;
        bool seen = false;
        while (slots_[at].key >= 0 && !seen) {
            seen = slots_[at].hash == hash && keys_[static_cast<std::size_t>(slots_[at].key)] == lowered;
            at = (at + 1) & mask_;
        }
        if (seen)
            continue;
        slots_[at] = Slot{hash, static_cast<std::int32_t>(keys_.size())};
        const std::size_t bit = FilterBit(EndsOf(lowered));
        filter_[bit / 64] |= std::uint64_t{1} << (bit % 64);
        keys_.push_back(std::move(lowered));
        counts_.push_back(counts[i]);
    }
}

std::int16_t InfluenceIndex::Find(std::string_view phrase) const {
    if (keys_.empty())
        return 0;
    if (!MightHold(phrase))
        return 0;
    const Hashed hashed = HashFolded(phrase);
    if (!hashed.ascii)
        return FindLowered(LowerCase(phrase));
    return Probe(hashed.hash, phrase, false);
}

std::int16_t InfluenceIndex::FindLowered(std::string_view lowered) const {
    if (keys_.empty())
        return 0;
    return Probe(HashFolded(lowered).hash, lowered, true);
}

std::int16_t InfluenceIndex::Probe(std::uint64_t hash, std::string_view phrase, bool lowered) const {
    for (std::size_t at = hash & mask_; slots_[at].key >= 0; at = (at + 1) & mask_) {
        if (slots_[at].hash != hash)
            continue;
        const auto key = static_cast<std::size_t>(slots_[at].key);
        if (lowered ? keys_[key] == phrase : LowersTo(phrase, keys_[key]))
            return counts_[key];
    }
    return 0;
}

} // namespace tov
