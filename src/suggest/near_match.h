#pragma once
// Near matches: phrases that do not contain the typed text but match it in another way, tried
// in this order: folded (accents and letter variants set aside on both sides), initials (the
// starts of consecutive words or capitalised parts of the name), readings (Han ideographs by
// their pinyin, kana by Hepburn, Hangul by Revised Romanisation or its first jamo, each syllable
// typed whole or begun), and one edit (a letter wrong, swapped, missing or extra) for a text of
// five characters or more. The ranking adds the keys re-read with the US layout (MatchKind::Layout).
#include "catalogue/match_forms.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tov {

// In the order the ranking puts them: every exact match first, then each kind of near match.
enum class MatchKind : std::uint8_t { Exact, Folded, Initials, Reading, Layout, Edit };

// "exact", "folded", "initials", "reading", "layout", "edit".
std::string_view KindName(MatchKind kind);

// Longer typed texts are matched exactly only; no name is that long.
inline constexpr std::size_t kMostNearBytes = 63;
inline constexpr std::size_t kFewestEditCharacters = 5;

// The typed text made ready for near matching, once per key.
struct NearQuery {
    std::string folded; // empty: no near matching for this text
    bool foldChanges = false;
    std::uint64_t letters = 0;
    bool edit = false; // one-edit matches are looked for
    std::size_t characters = 0;
    int mostCharacterLetters = 0; // bits of LetterSet that one character of the text takes at most
    // A text that holds the folded text with one edit holds one of two pieces of it whole:
    // its first `headBytes`, or what follows `tailStart` (bytes, at characters' starts), and
    // with it the piece's pairs of bytes.
    std::size_t headBytes = 0;
    std::size_t tailStart = 0;
    PairSet headPairs;
    PairSet tailPairs;
    std::array<std::uint64_t, 128> asciiMasks{}; // per character, the places it holds in the text
    std::vector<std::pair<char32_t, std::uint64_t>> otherMasks;
};

// `allowEdit` false: no one-edit matches, whatever the length.
NearQuery PrepareNearQuery(std::string_view typed, bool allowEdit = true);

struct NearHit {
    MatchKind kind = MatchKind::Exact; // Exact: no near match
    std::int32_t position = 0;         // 1-based, where the match begins in the form that matched
    explicit operator bool() const { return kind != MatchKind::Exact; }
};

// Whether phrase `index` of `forms` holds the bytes a near match needs: most phrases do not, and
// this is asked of every one on every key, so it is kept where the ranking's pass inlines it.
inline bool MayMatchNear(const NearQuery& q, const MatchForms& forms, std::size_t index) {
    // One edit can leave out every byte of one character of the typed text.
    std::uint64_t missing = q.letters & ~forms.phrases[index].letters;
    if (missing == 0)
        return true;
    if (!q.edit)
        return false;
    for (int allowed = q.mostCharacterLetters; allowed > 0 && missing != 0; --allowed)
        missing &= missing - 1;
    return missing == 0;
}

// The first kind by which phrase `index` of `forms` (whose text is `phrase`, and which does not
// contain the typed text) matches, and where; no hit when none does. MayMatchNear first. (A plain
// value, not an optional: this is answered for many phrases on every key.)
NearHit FindNear(const NearQuery& query, std::string_view phrase, const MatchForms& forms, std::size_t index);

} // namespace tov
