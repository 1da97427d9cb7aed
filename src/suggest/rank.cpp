#include "suggest/rank.h"

#include <algorithm>
#include <numeric>

namespace tov {

namespace {

// Positions are bounded by the longest matching phrase; a counting sort over them is one
// pass, unless a freak phrase makes the span far larger than the list.
constexpr std::int32_t kCountingSortSpan = 4096;

void SortByPosition(std::vector<Match>& matches, std::int32_t maxPosition) {
    if (maxPosition > kCountingSortSpan && static_cast<std::size_t>(maxPosition) > matches.size()) {
        std::stable_sort(matches.begin(), matches.end(),
                         [](const Match& a, const Match& b) { return a.position < b.position; });
        return;
    }
    std::vector<std::uint32_t> next(static_cast<std::size_t>(maxPosition) + 1, 0);
    for (const Match& m : matches)
        ++next[static_cast<std::size_t>(m.position)];
    std::exclusive_scan(next.begin(), next.end(), next.begin(), 0u);
    std::vector<Match> sorted(matches.size());
    for (const Match& m : matches)
        sorted[next[static_cast<std::size_t>(m.position)]++] = m;
    matches.swap(sorted);
}

} // namespace

std::vector<Match> RankMatches(const std::vector<std::string>& phrases, std::string_view typed,
                               const UsageMemory& usage) {
    std::vector<Match> matches;
    if (typed.empty() || phrases.size() < 2)
        return matches;
    const std::vector<std::string>* tacked = TackedCommands(usage, typed);
    const bool influence = !usage.influenceIndex.Empty();
    matches.reserve(phrases.size() - 1);
    std::int32_t maxPosition = 0;
    for (std::size_t i = 1; i < phrases.size(); ++i) {
        const std::string_view phrase = phrases[i];
        const std::size_t at = phrase.find(typed);
        if (at == std::string_view::npos)
            continue;
        Match m;
        m.index = static_cast<std::uint32_t>(i);
        m.position = static_cast<std::int32_t>(at + 1);
        if (influence)
            m.influence = usage.influenceIndex.Find(phrase);
        if (tacked)
            m.tacked = std::find(tacked->begin(), tacked->end(), phrase) != tacked->end();
        maxPosition = std::max(maxPosition, m.position);
        matches.push_back(m);
    }
    SortByPosition(matches, maxPosition);
    if (influence)
        ApplyInfluence(matches, phrases);
    if (tacked)
        MoveTackedToTop(matches);
    return matches;
}

void ApplyInfluence(std::vector<Match>& matches, const std::vector<std::string>& phrases) {
    const std::size_t n = matches.size();
    std::vector<std::string_view> moved;
    const auto row = matches.begin();
    for (std::size_t i = 0; i < n; ++i) {
        const std::int16_t count = matches[i].influence;
        if (count == 0)
            continue;
        const std::string_view phrase = phrases[matches[i].index];
        if (std::find(moved.begin(), moved.end(), phrase) != moved.end())
            continue;
        moved.push_back(phrase);
        if (count < 0) {
            const std::size_t d = std::min<std::size_t>(static_cast<std::size_t>(-count), n - 1 - i);
            std::rotate(row + i, row + i + 1, row + i + d + 1);
        } else {
            const std::size_t d = std::min<std::size_t>(static_cast<std::size_t>(count), i);
            std::rotate(row + i - d, row + i, row + i + 1);
        }
    }
}

void MoveTackedToTop(std::vector<Match>& matches) {
    const auto first = std::find_if(matches.begin(), matches.end(), [](const Match& m) { return m.tacked; });
    if (first != matches.end())
        std::rotate(matches.begin(), first, first + 1);
}

} // namespace tov
