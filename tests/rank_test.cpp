#include "suggest/rank.h"

#include "base/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <set>

namespace tov {
namespace {

std::vector<std::string> Ranked(const std::vector<std::string>& phrases, std::string_view typed,
                                const UsageMemory& usage = {}) {
    std::vector<std::string> out;
    for (const Match& m : RankMatches(phrases, typed, usage))
        out.push_back(phrases[m.index]);
    return out;
}

UsageMemory Influence(std::vector<InfluenceEntry> entries) {
    UsageMemory usage;
    SetInfluenceList(usage, std::move(entries));
    return usage;
}

TEST(Ranking, NothingMatchesTheEmptyTextSlotZeroOrADifferentCase) {
    const std::vector<std::string> phrases = {"note", "", "Notepad", "notepad"};
    EXPECT_TRUE(RankMatches(phrases, "", {}).empty());
    EXPECT_EQ(Ranked(phrases, "note"), std::vector<std::string>{"notepad"});
    EXPECT_TRUE(RankMatches({}, "a", {}).empty());
}

TEST(Ranking, InfluenceIgnoresLetterCaseAndTheFirstEntryWins) {
    const std::vector<std::string> phrases = {"", "run calc", "run notepad", "run paint"};
    const UsageMemory usage = Influence({{"Run Notepad", 5}, {"run notepad", -5}, {"RUN PAINT", 1}});
    EXPECT_EQ(GetInfluence(usage, "run notepad"), 5);
    EXPECT_EQ(GetInfluence(usage, "RUN notepad"), 5);
    EXPECT_EQ(GetInfluence(usage, "run note"), 0);
    EXPECT_EQ(Ranked(phrases, "run", usage),
              (std::vector<std::string>{"run notepad", "run paint", "run calc"}));

    // The dotted capital I lower-cases to a shorter text, also where the look-up reads only
    // both ends of a long phrase.
    const UsageMemory middle = Influence({{"start of a long phrase, İ, and then its end", 6}});
    EXPECT_EQ(GetInfluence(middle, "START OF A LONG PHRASE, İ, AND THEN ITS END"), 6);
    EXPECT_EQ(GetInfluence(middle, "start of a long phrase, i, and then its end"), 6);
    EXPECT_EQ(GetInfluence(middle, "start of a long phrase, I, and then its end"), 6);
    EXPECT_EQ(GetInfluence(middle, "start of a long phrase, j, and then its end"), 0);
    EXPECT_EQ(GetInfluence(middle, "start of a long phrase, ii, and then its end"), 0);
}

TEST(Ranking, InfluenceLookUpAgreesWithLowerCasingBothSides) {
    // Short, middling and long phrases, so that both the ends the quick test reads and the
    // middle it skips hold capitals, accents and the dotted capital I.
    const std::vector<std::string> pieces = {"a", "A", "i", "I", "İ", "é", "É", " ", "run ", "Ω", "ω", "-"};
    std::mt19937 random(7);
    auto phrase = [&] {
        std::string p;
        for (std::size_t k = 0, n = random() % 40; k < n; ++k)
            p += pieces[random() % pieces.size()];
        return p;
    };
    for (int round = 0; round < 200; ++round) {
        std::vector<InfluenceEntry> entries;
        for (int k = 0; k < 8; ++k)
            entries.push_back({phrase(), static_cast<std::int16_t>(k + 1)});
        const UsageMemory usage = Influence(entries);
        std::vector<std::string> queries;
        for (const auto& e : entries) {
            queries.push_back(LowerCase(e.phrase));
            std::string swapped = e.phrase;
            for (char& c : swapped)
                if (c == 'a' || c == 'A')
                    c = static_cast<char>(c ^ 0x20);
            queries.push_back(swapped);
        }
        for (int k = 0; k < 8; ++k)
            queries.push_back(phrase());
        for (const auto& q : queries) {
            std::int16_t expected = 0;
            for (const auto& e : entries)
                if (LowerCase(e.phrase) == LowerCase(q)) {
                    expected = e.count;
                    break;
                }
            ASSERT_EQ(GetInfluence(usage, q), expected) << '"' << q << '"';
        }
    }
}

TEST(Ranking, EachPhraseMovesOncePerPass) {
    // A moves down and B slides into the row already visited, so B's own count is not applied.
    const std::vector<std::string> phrases = {"", "a*", "b*", "c*"};
    EXPECT_EQ(Ranked(phrases, "*", Influence({{"a*", -1}, {"b*", -1}})),
              (std::vector<std::string>{"b*", "a*", "c*"}));

    // A phrase that stands twice moves only at its first row.
    const std::vector<std::string> twice = {"", "a*", "x*", "b*", "x*"};
    EXPECT_EQ(Ranked(twice, "*", Influence({{"x*", 1}})), (std::vector<std::string>{"x*", "a*", "b*", "x*"}));

    // An upward move does not skip the row after it: c* still moves.
    const std::vector<std::string> four = {"", "a*", "b*", "c*", "d*"};
    EXPECT_EQ(Ranked(four, "*", Influence({{"b*", 1}, {"c*", 1}})),
              (std::vector<std::string>{"b*", "c*", "a*", "d*"}));
}

TEST(Ranking, LongPhrasesKeepTheirPositions) {
    std::vector<std::string> phrases = {"", std::string(10000, 'a') + "z", "za",
                                        std::string(5000, 'b') + "z"};
    const auto matches = RankMatches(phrases, "z", {});
    ASSERT_EQ(matches.size(), 3u);
    EXPECT_EQ(matches[0].position, 1);
    EXPECT_EQ(matches[1].position, 5001);
    EXPECT_EQ(matches[2].position, 10001);
}

// The ranking written out row by row, as plainly as it reads, to check the fast one against.
std::vector<std::string> PlainRanking(const std::vector<std::string>& phrases, const std::string& typed,
                                      const std::vector<InfluenceEntry>& influence,
                                      const std::vector<TackEntry>& tacks) {
    std::vector<std::pair<std::string, std::size_t>> rows;
    for (std::size_t i = 1; i < phrases.size(); ++i)
        if (const auto at = phrases[i].find(typed); at != std::string::npos)
            rows.emplace_back(phrases[i], at + 1);
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto& a, const auto& b) { return a.second < b.second; });
    auto countOf = [&](const std::string& phrase) {
        for (const auto& e : influence)
            if (LowerCase(e.phrase) == LowerCase(phrase))
                return static_cast<int>(e.count);
        return 0;
    };
    const int n = static_cast<int>(rows.size());
    std::set<std::string> moved;
    for (int i = 0; i < n; ++i) {
        const std::string p = rows[static_cast<std::size_t>(i)].first;
        const int c = countOf(p);
        if (moved.count(p) || c == 0)
            continue;
        moved.insert(p);
        const int to = c < 0 ? std::min(i - c, n - 1) : std::max(i - c, 0);
        auto row = rows[static_cast<std::size_t>(i)];
        rows.erase(rows.begin() + i);
        rows.insert(rows.begin() + to, row);
    }
    for (int i = 0; i < n; ++i) {
        const auto& p = rows[static_cast<std::size_t>(i)].first;
        if (std::any_of(tacks.begin(), tacks.end(),
                        [&](const TackEntry& t) { return t.command == p && t.typed == typed; })) {
            auto row = rows[static_cast<std::size_t>(i)];
            rows.erase(rows.begin() + i);
            rows.insert(rows.begin(), row);
            break;
        }
    }
    std::vector<std::string> out;
    for (const auto& r : rows)
        out.push_back(r.first);
    return out;
}

TEST(Ranking, AgreesWithThePlainRankingOnRandomLists) {
    std::mt19937 random(20240611);
    // Letters of more than one script, so that influence is found for phrases that are not ASCII.
    const std::array<std::pair<std::string_view, std::string_view>, 5> letters = {
        {{"a", "A"}, {"b", "B"}, {"c", "C"}, {"é", "É"}, {"ж", "Ж"}}};
    auto word = [&](std::size_t length) {
        std::string w;
        for (std::size_t k = 0; k < length; ++k)
            w += letters[random() % letters.size()].first;
        return w;
    };
    auto capitals = [&](std::string_view w) {
        std::string out;
        for (std::size_t at = 0; at < w.size();) {
            const auto letter = std::find_if(letters.begin(), letters.end(), [&](const auto& l) {
                return w.substr(at).starts_with(l.first);
            });
            out += letter->second;
            at += letter->first.size();
        }
        return out;
    };
    for (int round = 0; round < 400; ++round) {
        std::vector<std::string> phrases = {""};
        const std::size_t size = 1 + random() % 40;
        for (std::size_t i = 0; i < size; ++i)
            phrases.push_back(random() % 5 == 0 && phrases.size() > 1
                                  ? phrases[1 + random() % (phrases.size() - 1)]
                                  : word(1 + random() % 6));
        std::vector<InfluenceEntry> influence;
        for (int k = 0, entries = static_cast<int>(random() % 12); k < entries; ++k) {
            std::string phrase = random() % 4 ? phrases[1 + random() % size] : word(3);
            if (random() % 3 == 0)
                phrase = capitals(phrase);
            const int count = static_cast<int>(random() % 2 ? random() % 7 : random() % 60) - 3;
            influence.push_back({phrase, static_cast<std::int16_t>(count)});
        }
        const std::string typed = word(1 + random() % 2);
        std::vector<TackEntry> tacks;
        for (int k = 0, entries = static_cast<int>(random() % 3); k < entries; ++k)
            tacks.push_back({phrases[1 + random() % size], random() % 2 ? typed : word(2)});
        UsageMemory usage;
        SetInfluenceList(usage, influence);
        SetTackList(usage, tacks);
        ASSERT_EQ(Ranked(phrases, typed, usage), PlainRanking(phrases, typed, influence, tacks))
            << "round " << round;
        for (const Match& m : RankMatches(phrases, typed, usage)) // texts occur many times, overlapping
            ASSERT_EQ(static_cast<std::size_t>(m.position), phrases[m.index].find(typed) + 1)
                << "round " << round;
    }
}

} // namespace
} // namespace tov
