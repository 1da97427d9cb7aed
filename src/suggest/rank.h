#pragma once
// Ranking of the phrase list against the typed text, apart from any window: the phrases
// that contain the text, by where it first occurs, then moved by the usage memory.
#include "suggest/usage.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

struct Match {
    std::uint32_t index = 0;    // of the phrase in the phrase list
    std::int32_t position = 0;  // 1-based, of the first occurrence of the typed text
    std::int16_t influence = 0; // the phrase's influence count
    bool tacked = false;        // the phrase is tacked to the typed text
};

// Every phrase from index 1 on that contains `typed` (exact bytes), ordered by position,
// ties in phrase-list order, then moved by influence and by the first tacked match.
// Empty when `typed` is empty.
std::vector<Match> RankMatches(const std::vector<std::string>& phrases, std::string_view typed,
                               const UsageMemory& usage);

// Moves each match by its influence count: up (towards row 1) for a positive count, down
// for a negative one, never past either end. Rows are visited from the top; a phrase moves
// at most once per pass, and the match that slides into a row that has been visited is not
// looked at again.
void ApplyInfluence(std::vector<Match>& matches, const std::vector<std::string>& phrases);

// Moves the first tacked match to row 1; the rows above it move down by one.
void MoveTackedToTop(std::vector<Match>& matches);

} // namespace tov
