#pragma once
// The near matches of one typed line, gathered during the ranking's pass and put in order
// after it: apart from the ranking's pass, as it runs only for the (short) list of them.
#include "catalogue/match_forms.h"
#include "suggest/near_match.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

struct NearFound {
    std::uint32_t index = 0; // of the phrase in the phrase list
    std::int32_t position = 0;
    MatchKind kind = MatchKind::Folded;
    MatchKind under = MatchKind::Exact; // a layout match: the kind the re-read text matched by
};

// Whether the line found anything itself: an exact match, or a near one before the layout's.
bool FoundByLine(bool anyExact, const std::vector<NearFound>& near);

// The phrases that `usLayout` (the line's keys read with the US layout) finds: those that
// contain it, then those it matches near, one-edit matches aside.
void FindByUsLayout(const std::vector<std::string>& phrases, const MatchForms& forms,
                    std::string_view usLayout, std::vector<NearFound>& near);

// By kind (layout matches then by the kind their re-read text matched by), then position, then
// phrase-list order.
void SortNearMatches(std::vector<NearFound>& near);

} // namespace tov
