#pragma once
// What matching needs of each phrase beside its own text, computed when the catalogue is built
// (on the worker) so that the work on every key stays one pass over compact data: the folded
// form (catalogue/fold.h), the initials of the name's words and capitalised parts ("Visual
// Studio Code" → "vsc", "PowerShell" → "ps"), the reading units (catalogue/readings.h), and a
// set of the bytes all of them hold, which rules most phrases out at a glance.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

// One bit per kind of character: each ASCII letter its own, digits, other ASCII bytes and other
// characters sharing the rest. A text can hold another only when its set covers the other's.
std::uint64_t LetterSet(std::string_view text);

// The pairs of neighbouring bytes a text holds, hashed to 256 bits: a text that holds another
// holds all of the other's pairs.
struct PairSet {
    std::array<std::uint64_t, 4> bits{};
    bool Holds(const PairSet& other) const {
        std::uint64_t lacking = 0;
        for (std::size_t k = 0; k < bits.size(); ++k)
            lacking |= other.bits[k] & ~bits[k];
        return lacking == 0;
    }
};
PairSet PairsOf(std::string_view text);

struct PhraseForms {
    std::uint64_t letters = 0; // LetterSet of the phrase's forms together
    std::uint32_t start = 0;   // of the phrase's forms in MatchForms::bytes: folded, initials, readings
    std::uint16_t initialsAt = 0;
    std::uint16_t readingsAt = 0;
};

struct MatchForms {
    // One for each phrase of the list it was built for, and one more where the last one's ends.
    std::vector<PhraseForms> phrases;
    std::string bytes;
    // The pairs of each phrase's folded text; apart, as only the one-edit test reads them.
    std::vector<PairSet> pairs;

    bool Fits(std::size_t phraseCount) const { return phrases.size() == phraseCount + 1; }
    // Empty when the phrase folds to itself.
    std::string_view Folded(std::size_t phrase) const;
    std::string_view Initials(std::size_t phrase) const;
    // Empty when nothing in the phrase has a reading.
    std::string_view Readings(std::size_t phrase) const;
};

// The phrase as its source wrote it, in its own letter case; phrases are lower case, and the
// capitals mark where the parts of a name like "PowerShell" begin.
using SpellingOf = std::function<std::string(std::size_t phrase)>;

// The forms of every phrase; without `spelling` the phrases' words alone make the initials.
MatchForms BuildMatchForms(const std::vector<std::string>& phrases, const SpellingOf& spelling = {});

} // namespace tov
