#include "suggest/near_match.h"

#include "base/text.h"
#include "catalogue/fold.h"
#include "catalogue/readings.h"
#include "suggest/find_text.h"

#include <algorithm>
#include <bit>

namespace tov {

namespace {

constexpr std::array<std::string_view, 6> kKindNames = {"exact",   "folded", "initials",
                                                        "reading", "layout", "edit"};

std::uint64_t MaskOf(const NearQuery& q, char32_t c) {
    if (c < q.asciiMasks.size())
        return q.asciiMasks[c];
    for (const auto& [other, mask] : q.otherMasks)
        if (other == c)
            return mask;
    return 0;
}

// Whether the text holds the typed text with one edit (Damerau: a character wrong, two
// neighbours swapped, one missing or one extra), and the character where that match begins.
// Bit j of `exact` holds when the typed text's first j+1 characters end at the text's current
// character; `near` the same with one edit; a swap needs `exact` of two characters back.
// The search begins at byte `from`, a character's start where no match begins before.
std::optional<std::int32_t> FindWithOneEdit(const NearQuery& q, std::string_view text, std::size_t from) {
    const std::size_t m = q.characters;
    const std::uint64_t all = (m >= 64) ? ~std::uint64_t{0} : (std::uint64_t{1} << m) - 1;
    const std::uint64_t last = std::uint64_t{1} << (m - 1);
    std::uint64_t exact = 0;
    std::uint64_t exactBefore = 0; // `exact` one character back
    std::uint64_t near = 1;        // the first typed character may be the missing one
    std::uint64_t previousMask = 0;
    auto at = static_cast<std::int32_t>(CharacterCount(text.substr(0, from)));
    for (std::size_t i = from; i < text.size(); ++at) {
        const auto b = static_cast<unsigned char>(text[i]);
        const char32_t c = b < 0x80 ? text[i++] : DecodeUtf8(text, i);
        const std::uint64_t mask = MaskOf(q, c);
        const std::uint64_t nextExact = ((exact << 1) | 1) & mask;
        const std::uint64_t swapped = ((((exactBefore << 1) | 1) & mask) << 1) & previousMask;
        const std::uint64_t nextNear = (((near << 1) | 1) & mask) // a match after an edit
                                       | ((exact << 1) | 1)       // this character is the wrong one
                                       | exact                    // this character is the extra one
                                       | ((nextExact << 1) | 1)   // the next typed character is missing
                                       | swapped;
        exactBefore = exact;
        exact = nextExact & all;
        near = nextNear & all;
        previousMask = mask;
        if (near & last)
            return std::max<std::int32_t>(1, at - static_cast<std::int32_t>(m) + 2);
    }
    return std::nullopt;
}

// Where the first match with one edit can begin: a match holds the typed text's head whole
// where it begins, or its tail whole where it ends, and is at most a character longer than
// the typed text. Most phrases hold neither (npos); the rest are searched from there, not from
// their start.
std::size_t EarliestEditStart(const NearQuery& q, std::string_view text) {
    const std::string_view typed = q.folded;
    const std::string_view tail = typed.substr(q.tailStart);
    std::size_t earliest = FindText(text, typed.substr(0, q.headBytes));
    if (const std::size_t at = FindText(text, tail); at != std::string_view::npos) {
        std::size_t start = at + tail.size();
        for (std::size_t back = q.characters + 1; back > 0 && start > 0;)
            back -= (static_cast<unsigned char>(text[--start]) & 0xC0) != 0x80;
        earliest = std::min(earliest, start);
    }
    return earliest;
}

// Pinyin's u with diaeresis is written "v"; typed, it is often "u" ("lvse", "luse").
bool SameLetter(char reading, char typed) {
    return reading == typed || (reading == 'v' && typed == 'u');
}

// Whether the typed text is spelled by consecutive reading units, each one whole or begun (a
// syllable's first letters), and the earliest unit where such a spelling starts. A character
// that stands for itself is taken whole.
std::optional<std::int32_t> FindInReadings(std::string_view typed, std::string_view readings) {
    constexpr std::uint16_t kNone = 0xFFFF;
    const std::size_t m = typed.size();
    // For each count k of typed bytes spelled so far, the earliest unit where that spelling began.
    std::array<std::uint16_t, kMostNearBytes + 1> starts[2];
    std::size_t now = 0;
    std::uint64_t reach = 0; // bit k: the typed text's first k bytes end before this unit
    std::uint16_t best = kNone;
    std::uint16_t unit = 0;
    for (std::string_view units = UnitsOf(readings); !units.empty() && unit < kNone; ++unit) {
        const ReadingUnit u = FirstUnit(units);
        units.remove_prefix(std::max<std::size_t>(u.size, 1));
        reach |= 1;
        starts[now][0] = unit;
        std::uint64_t next = 0;
        std::array<std::uint16_t, kMostNearBytes + 1>& nextStart = starts[1 - now];
        const auto advance = [&](std::size_t k, std::size_t to) {
            const std::uint16_t start = starts[now][k];
            if (to == m) {
                best = std::min(best, start);
                return;
            }
            if (!(next >> to & 1) || start < nextStart[to])
                nextStart[to] = start;
            next |= std::uint64_t{1} << to;
        };
        for (std::uint64_t r = reach; r != 0; r &= r - 1) {
            const auto k = static_cast<std::size_t>(std::countr_zero(r));
            const std::string_view rest = typed.substr(k);
            if (u.alternatives.empty()) {
                if (!u.self.empty() && rest.starts_with(u.self))
                    advance(k, k + u.self.size());
                continue;
            }
            std::string_view alternatives = u.alternatives;
            for (std::string_view a = NextAlternative(alternatives); !a.empty();
                 a = NextAlternative(alternatives)) {
                const std::size_t common =
                    std::mismatch(a.begin(), a.end(), rest.begin(), rest.end(), SameLetter).first - a.begin();
                for (std::size_t n = 1; n <= common; ++n)
                    advance(k, k + n);
            }
        }
        reach = next;
        now = 1 - now;
        // A spelling that begins later cannot begin earlier than one already found.
        if (best != kNone) {
            std::uint16_t earliest = kNone;
            for (std::uint64_t r = reach; r != 0; r &= r - 1)
                earliest = std::min(earliest, starts[now][static_cast<std::size_t>(std::countr_zero(r))]);
            if (earliest >= best)
                break;
        }
    }
    if (best == kNone)
        return std::nullopt;
    return static_cast<std::int32_t>(SkippedCharacters(readings) + best + 1);
}

std::optional<std::int32_t> Position(std::size_t at) {
    if (at == std::string_view::npos)
        return std::nullopt;
    return static_cast<std::int32_t>(at + 1);
}

} // namespace

std::string_view KindName(MatchKind kind) {
    return kKindNames[static_cast<std::size_t>(kind)];
}

NearQuery PrepareNearQuery(std::string_view typed, bool allowEdit) {
    NearQuery q;
    std::string folded = Fold(typed);
    if (folded.empty() || folded.size() > kMostNearBytes)
        return q;
    q.foldChanges = folded != typed;
    q.letters = LetterSet(folded);
    std::size_t place = 0;
    std::array<std::size_t, kMostNearBytes + 1> starts{};
    for (std::size_t i = 0; i < folded.size(); ++place) {
        const std::size_t start = i;
        starts[place] = start;
        const char32_t c = DecodeUtf8(folded, i);
        q.mostCharacterLetters =
            std::max(q.mostCharacterLetters,
                     std::popcount(LetterSet(std::string_view(folded).substr(start, i - start))));
        const std::uint64_t bit = std::uint64_t{1} << place;
        if (c < q.asciiMasks.size()) {
            q.asciiMasks[c] |= bit;
            continue;
        }
        const auto known = std::find_if(q.otherMasks.begin(), q.otherMasks.end(),
                                        [c](const auto& other) { return other.first == c; });
        if (known != q.otherMasks.end())
            known->second |= bit;
        else
            q.otherMasks.emplace_back(c, bit);
    }
    q.characters = place;
    q.edit = allowEdit && place >= kFewestEditCharacters;
    // Split before character h: an edit before it leaves the tail whole, one at or after it the
    // head, and a swap across the split (characters h-1 and h) leaves the text after h whole.
    // A text of five characters or more leaves both pieces two characters or more.
    if (q.edit) {
        const std::size_t h = (place - 1) / 2;
        q.headBytes = starts[h];
        q.tailStart = starts[h + 1];
        q.headPairs = PairsOf(std::string_view(folded).substr(0, q.headBytes));
        q.tailPairs = PairsOf(std::string_view(folded).substr(q.tailStart));
    }
    q.folded = std::move(folded);
    return q;
}

NearHit FindNear(const NearQuery& q, std::string_view phrase, const MatchForms& forms, std::size_t index) {
    if (q.folded.empty())
        return {};
    const PhraseForms& f = forms.phrases[index];
    const bool missing = (q.letters & ~f.letters) != 0;
    const std::string_view folded = forms.Folded(index);
    const std::string_view text = folded.empty() ? phrase : folded;
    if (!missing) {
        // A phrase that folds to itself was already searched for a text that does.
        if (!folded.empty() || q.foldChanges)
            if (const auto at = Position(FindText(text, q.folded)))
                return NearHit{MatchKind::Folded, *at};
        if (const auto at = Position(FindText(forms.Initials(index), q.folded)))
            return NearHit{MatchKind::Initials, *at};
        if (const std::string_view readings = forms.Readings(index); !readings.empty())
            if (const auto at = FindInReadings(q.folded, readings))
                return NearHit{MatchKind::Reading, *at};
    }
    if (q.edit && (forms.pairs[index].Holds(q.headPairs) || forms.pairs[index].Holds(q.tailPairs)))
        if (const std::size_t from = EarliestEditStart(q, text); from != std::string_view::npos)
            if (const auto at = FindWithOneEdit(q, text, from))
                return NearHit{MatchKind::Edit, *at};
    return {};
}

} // namespace tov
