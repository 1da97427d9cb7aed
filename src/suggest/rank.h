#pragma once
// Ranking of the phrase list against the typed text, apart from any window: the phrases
// that contain the text, by where it first occurs, then the near matches (suggest/near_match.h)
// by kind and place, then all of them moved by the usage memory.
#include "catalogue/match_forms.h"
#include "suggest/near_list.h"
#include "suggest/near_match.h"
#include "suggest/usage.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

struct Match {
    std::uint32_t index;   // of the phrase in the phrase list
    std::int32_t position; // 1-based, of the first occurrence of the typed text (near: see NearHit)
    MatchKind kind = MatchKind::Exact;
};

// Near matches are looked for only with the phrases' forms.
struct NearOptions {
    const MatchForms* forms = nullptr; // built for this phrase list; null: exact matches only
    std::string_view usLayoutText;     // the line's keys read with the US layout; empty: none
};

// A match the usage memory has something to say about, and the row it stands in.
struct MarkedRow {
    std::size_t row;
    std::int16_t influence;
    bool tacked;
};

// The ranked matches, with the working storage of the ranking kept from call to call: on
// every key the ranking then reuses its memory instead of asking for a fresh megabyte.
struct Ranking {
    std::vector<Match> matches;

    std::vector<Match> found;
    std::vector<MarkedRow> marked;
    std::vector<std::uint32_t> next;
    std::vector<NearFound> near;
};

// Every phrase from index 1 on that contains `typed` (exact bytes), ordered by position with
// ties in phrase-list order; with `near` forms, after them the phrases that match near, by kind,
// then position, then phrase-list order, and when the line itself found nothing (exactly or by
// folding, initials or readings) the phrases that its keys re-read with the US layout find. The
// whole list is then moved by the influence counts (ApplyInfluence), and the first tacked match
// put on row 1. No matches when `typed` is empty. The phrases are lower case, as the catalogue
// makes them: their influence counts are looked up by their exact bytes.
void RankMatches(const std::vector<std::string>& phrases, std::string_view typed, const UsageMemory& usage,
                 Ranking& ranking, const NearOptions& near = {});
std::vector<Match> RankMatches(const std::vector<std::string>& phrases, std::string_view typed,
                               const UsageMemory& usage, const NearOptions& near = {});

// Lowers `selectedIndex` to the last row when it lies beyond the matches (it is never raised)
// and gives the phrase of the selected row: "" when there are no matches or the index is negative.
std::string SelectMatch(const std::vector<std::string>& phrases, const std::vector<Match>& matches,
                        std::int16_t& selectedIndex);

// Moves each marked match by its influence count: up (towards row 0) for a positive count,
// down for a negative one, never past either end. Rows are visited from the top; a phrase
// moves at most once per pass, and a match that slides into a row already visited is not
// looked at again. Only marked rows can move, so the work follows the marks, not the list;
// `marked` must be in row order and is kept so.
void ApplyInfluence(std::vector<Match>& matches, std::vector<MarkedRow>& marked,
                    const std::vector<std::string>& phrases);

} // namespace tov
