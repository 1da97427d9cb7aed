#pragma once
// Influence counts by phrase, letter case ignored. The ranking asks about every match on
// every keystroke and nearly every answer is "none", so a look-up reads only the first and
// last eight bytes of the phrase and lower-cases nothing unless those bytes are not ASCII
// or their hash is one of the entries'.
#include <cstdint>
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

  private:
    struct Slot {
        std::uint64_t hash = 0;
        std::int32_t key = -1; // index into keys_; -1 when the slot is free
    };
    std::int16_t FindLowered(std::string_view lowered) const;
    std::int16_t Probe(std::uint64_t hash, std::string_view phrase, bool lowered) const;

    std::vector<std::string> keys_; // lower-cased
    std::vector<std::int16_t> counts_;
    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
};

} // namespace tov
