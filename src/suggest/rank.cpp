#include "suggest/rank.h"

#include "suggest/find_text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <numeric>
#include <unordered_set>

namespace tov {

namespace {

// Positions counted during the scan, enough for any phrase a catalogue build makes; longer
// phrases cost one more pass.
constexpr std::int32_t kCountedPositions = 255;
// Beyond this span (and the list's length) a counting sort would cost more than it saves.
constexpr std::size_t kCountingSortSpan = 4096;

// Orders the found matches by position, ties in the order found, and gives each mark (which
// holds its match's ordinal in `found`) the row its match went to.
void SortByPosition(const std::array<std::uint32_t, kCountedPositions + 1>& counted, std::int32_t maxPosition,
                    Ranking& r) {
    const std::vector<Match>& found = r.found;
    r.matches.resize(found.size()); // every row is written below; only growth costs a fill
    const auto span = static_cast<std::size_t>(maxPosition) + 1;
    if (span > kCountingSortSpan && span > found.size()) {
        std::vector<std::uint32_t> order(found.size());
        std::iota(order.begin(), order.end(), 0u);
        std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
            return found[a].position < found[b].position;
        });
        std::vector<std::uint32_t> rowOf(found.size());
        for (std::size_t row = 0; row < order.size(); ++row) {
            r.matches[row] = found[order[row]];
            rowOf[order[row]] = static_cast<std::uint32_t>(row);
        }
        for (MarkedRow& m : r.marked)
            m.row = rowOf[m.row];
    } else {
        std::vector<std::uint32_t>& next = r.next;
        next.assign(span, 0);
        if (maxPosition <= kCountedPositions)
            std::copy(counted.begin(), counted.begin() + static_cast<std::ptrdiff_t>(span), next.begin());
        else
            for (const Match& m : found)
                ++next[static_cast<std::size_t>(m.position)];
        std::exclusive_scan(next.begin(), next.end(), next.begin(), 0u);
        std::size_t mark = 0; // marks are in ordinal order
        for (std::size_t k = 0; k < found.size(); ++k) {
            const std::uint32_t row = next[static_cast<std::size_t>(found[k].position)]++;
            r.matches[row] = found[k];
            if (mark < r.marked.size() && r.marked[mark].row == k)
                r.marked[mark++].row = row;
        }
    }
    std::sort(r.marked.begin(), r.marked.end(),
              [](const MarkedRow& a, const MarkedRow& b) { return a.row < b.row; });
}

// Marks a match the usage memory has something to say about, at `row` (an ordinal until the
// exact matches are sorted).
struct Marker {
    const InfluenceIndex& influence;
    const std::vector<std::string>* tacked;
    bool anyInfluence;

    void Mark(std::string_view phrase, std::size_t row, std::vector<MarkedRow>& marked) const {
        const std::int16_t count =
            anyInfluence && influence.MightHoldLowered(phrase) ? influence.FindLowered(phrase) : 0;
        const bool isTacked = tacked && std::find(tacked->begin(), tacked->end(), phrase) != tacked->end();
        if (count != 0 || isTacked)
            marked.push_back({row, count, isTacked});
    }
};

} // namespace

void RankMatches(const std::vector<std::string>& phrases, std::string_view typed, const UsageMemory& usage,
                 Ranking& r, const NearOptions& nearOptions) {
    r.found.clear();
    r.marked.clear();
    r.near.clear();
    if (typed.empty() || phrases.size() < 2) {
        r.matches.clear();
        return;
    }
    const Marker marker{usage.influenceIndex, TackedCommands(usage, typed), !usage.influenceIndex.Empty()};
    const MatchForms* forms =
        nearOptions.forms && nearOptions.forms->Fits(phrases.size()) ? nearOptions.forms : nullptr;
    const NearQuery query = forms ? PrepareNearQuery(typed) : NearQuery{};
    const bool near = !query.folded.empty();

    // One pass over the phrases; marks carry the match's ordinal until the sort gives it a row.
    r.found.reserve(phrases.size() - 1);
    std::array<std::uint32_t, kCountedPositions + 1> counted{};
    std::int32_t maxPosition = 0;
    for (std::size_t i = 1; i < phrases.size(); ++i) {
        const std::string_view phrase = phrases[i];
        const std::size_t at = FindText(phrase, typed);
        if (at == std::string_view::npos) {
            if (near && MayMatchNear(query, *forms, i))
                if (const auto hit = FindNear(query, phrase, *forms, i))
                    r.near.push_back({static_cast<std::uint32_t>(i), hit.position, hit.kind});
            continue;
        }
        const auto position = static_cast<std::int32_t>(at + 1);
        marker.Mark(phrase, r.found.size(), r.marked);
        if (position <= kCountedPositions)
            ++counted[static_cast<std::size_t>(position)];
        maxPosition = std::max(maxPosition, position);
        r.found.push_back({static_cast<std::uint32_t>(i), position});
    }

    SortByPosition(counted, maxPosition, r);
    if (forms) {
        const std::string_view usLayout = nearOptions.usLayoutText;
        if (!FoundByLine(!r.found.empty(), r.near) && !usLayout.empty() && usLayout != typed)
            FindByUsLayout(phrases, *forms, usLayout, r.near);
        SortNearMatches(r.near);
        for (const NearFound& f : r.near) {
            marker.Mark(phrases[f.index], r.matches.size(), r.marked);
            r.matches.push_back({f.index, f.position, f.kind});
        }
    }
    ApplyInfluence(r.matches, r.marked, phrases);
    const auto firstTacked =
        std::find_if(r.marked.begin(), r.marked.end(), [](const MarkedRow& m) { return m.tacked; });
    if (firstTacked != r.marked.end()) {
        const auto row = r.matches.begin() + static_cast<std::ptrdiff_t>(firstTacked->row);
        std::rotate(r.matches.begin(), row, row + 1);
    }
}

std::vector<Match> RankMatches(const std::vector<std::string>& phrases, std::string_view typed,
                               const UsageMemory& usage, const NearOptions& near) {
    Ranking r;
    RankMatches(phrases, typed, usage, r, near);
    return std::move(r.matches);
}

std::string SelectMatch(const std::vector<std::string>& phrases, const std::vector<Match>& matches,
                        std::int16_t& selectedIndex) {
    if (matches.empty())
        return {};
    const auto last = static_cast<std::int64_t>(matches.size()) - 1;
    if (selectedIndex > last)
        selectedIndex = static_cast<std::int16_t>(last);
    if (selectedIndex < 0)
        return {};
    return phrases[matches[static_cast<std::size_t>(selectedIndex)].index];
}

void ApplyInfluence(std::vector<Match>& matches, std::vector<MarkedRow>& marked,
                    const std::vector<std::string>& phrases) {
    const std::size_t n = matches.size();
    const auto at = [&](std::size_t row) { return matches.begin() + static_cast<std::ptrdiff_t>(row); };
    const auto mark = [&](std::size_t j) { return marked.begin() + static_cast<std::ptrdiff_t>(j); };
    std::unordered_set<std::string_view> moved;
    std::size_t unvisited = 0; // the first row the pass has not looked at yet
    std::size_t j = 0;
    while (j < marked.size()) {
        const std::size_t row = marked[j].row;
        const std::int16_t count = marked[j].influence;
        if (row < unvisited || count == 0 || !moved.insert(phrases[matches[row].index]).second) {
            unvisited = std::max(unvisited, row + 1);
            ++j;
            continue;
        }
        unvisited = row + 1;
        MarkedRow self = marked[j];
        if (count < 0) {
            const std::size_t to = row + std::min<std::size_t>(static_cast<std::size_t>(-count), n - 1 - row);
            std::rotate(at(row), at(row + 1), at(to + 1));
            // The marks of the rows below slide up one; the moved mark goes after them. The mark
            // now at j is looked at next, and skipped if it slid into the visited row.
            std::size_t k = j + 1;
            for (; k < marked.size() && marked[k].row <= to; ++k)
                --marked[k].row;
            std::rotate(mark(j), mark(j + 1), mark(k));
            self.row = to;
            marked[k - 1] = self;
        } else {
            const std::size_t to = row - std::min<std::size_t>(static_cast<std::size_t>(count), row);
            std::rotate(at(to), at(row), at(row + 1));
            std::size_t k = j;
            for (; k > 0 && marked[k - 1].row >= to; --k)
                ++marked[k - 1].row;
            std::rotate(mark(k), mark(j), mark(j + 1));
            self.row = to;
            marked[k] = self;
            ++j;
        }
    }
}

} // namespace tov
