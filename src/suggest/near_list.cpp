#include "suggest/near_list.h"

#include "suggest/find_text.h"

#include <algorithm>
#include <tuple>

namespace tov {

bool FoundByLine(bool anyExact, const std::vector<NearFound>& near) {
    return anyExact || std::any_of(near.begin(), near.end(),
                                   [](const NearFound& f) { return f.kind < MatchKind::Layout; });
}

void FindByUsLayout(const std::vector<std::string>& phrases, const MatchForms& forms,
                    std::string_view usLayout, std::vector<NearFound>& near) {
    const NearQuery query = PrepareNearQuery(usLayout, false);
    for (std::size_t i = 1; i < phrases.size(); ++i) {
        const auto index = static_cast<std::uint32_t>(i);
        if (const std::size_t at = FindText(phrases[i], usLayout); at != std::string_view::npos)
            near.push_back({index, static_cast<std::int32_t>(at + 1), MatchKind::Layout, MatchKind::Exact});
        else if (!MayMatchNear(query, forms, i))
            continue;
        else if (const auto hit = FindNear(query, phrases[i], forms, i))
            near.push_back({index, hit.position, MatchKind::Layout, hit.kind});
    }
}

void SortNearMatches(std::vector<NearFound>& near) {
    // The phrase's index last makes the order total, so a sort that asks for no memory on every
    // key gives the order a stable one would.
    std::sort(near.begin(), near.end(), [](const NearFound& a, const NearFound& b) {
        return std::tie(a.kind, a.under, a.position, a.index) <
               std::tie(b.kind, b.under, b.position, b.index);
    });
}

} // namespace tov
