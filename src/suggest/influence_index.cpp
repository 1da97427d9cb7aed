#include "suggest/influence_index.h"

#include "platform/text.h"
#include "suggest/lower_compare.h"

#include <cstring>

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

// The first and the last eight bytes (the whole text, zero-padded, when it is shorter).
// Lower-casing maps an ASCII byte to one ASCII byte, so when both ends are ASCII the ends of
// the lower-cased text are these bytes folded, whatever the middle holds.
struct Ends {
    std::uint64_t head = 0;
    std::uint64_t tail = 0;
    bool Ascii() const { return ((head | tail) & kHighBits) == 0; }
};

Ends EndsOf(std::string_view s) {
    Ends e;
    if (s.size() >= sizeof(std::uint64_t)) {
        std::memcpy(&e.head, s.data(), sizeof e.head);
        std::memcpy(&e.tail, s.data() + s.size() - sizeof e.tail, sizeof e.tail);
    } else {
        std::memcpy(&e.head, s.data(), s.size());
        e.tail = e.head;
    }
    return e;
}

std::uint64_t HashEnds(std::uint64_t head, std::uint64_t tail) {
    std::uint64_t h = (head ^ (tail * 0x9E3779B97F4A7C15ull)) * 0xBF58476D1CE4E5B9ull;
    return h ^ (h >> 31);
}

} // namespace

void InfluenceIndex::Build(const std::vector<std::string>& phrases, const std::vector<std::int16_t>& counts) {
    keys_.clear();
    counts_.clear();
    std::size_t size = 16;
    while (size < phrases.size() * 4)
        size *= 2;
    slots_.assign(size, Slot{});
    mask_ = size - 1;
    for (std::size_t i = 0; i < phrases.size() && i < counts.size(); ++i) {
        std::string lowered = LowerCase(phrases[i]);
        const Ends ends = EndsOf(lowered);
        const std::uint64_t hash = HashEnds(FoldAscii(ends.head), FoldAscii(ends.tail));
        std::size_t at = hash & mask_;
        bool seen = false;
        while (slots_[at].key >= 0 && !seen) {
            seen = slots_[at].hash == hash && keys_[static_cast<std::size_t>(slots_[at].key)] == lowered;
            at = (at + 1) & mask_;
        }
        if (seen)
            continue;
        slots_[at] = Slot{hash, static_cast<std::int32_t>(keys_.size())};
        keys_.push_back(std::move(lowered));
        counts_.push_back(counts[i]);
    }
}

std::int16_t InfluenceIndex::Find(std::string_view phrase) const {
    if (keys_.empty())
        return 0;
    const Ends ends = EndsOf(phrase);
    if (!ends.Ascii())
        return FindLowered(LowerCase(phrase));
    return Probe(HashEnds(FoldAscii(ends.head), FoldAscii(ends.tail)), phrase, false);
}

std::int16_t InfluenceIndex::FindLowered(std::string_view lowered) const {
    const Ends ends = EndsOf(lowered);
    return Probe(HashEnds(FoldAscii(ends.head), FoldAscii(ends.tail)), lowered, true);
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
