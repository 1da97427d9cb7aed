#include "base/text.h"
#include "catalogue/match_forms.h"
#include "suggest/near_match.h"
#include "suggest/rank.h"
#include "suggest/typed_keys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>

namespace tov {
namespace {

struct Row {
    std::string phrase;
    MatchKind kind;
    bool operator==(const Row&) const = default;
};

void PrintTo(const Row& row, std::ostream* out) {
    *out << row.phrase << " (" << KindName(row.kind) << ")";
}

// A phrase list with its forms, as a catalogue build leaves them: slot 0 empty, then the names
// lower-cased, their own spelling giving the capitals.
struct Listing {
    explicit Listing(std::vector<std::string> spelled) {
        spelled.insert(spelled.begin(), "");
        for (const std::string& s : spelled)
            phrases.push_back(LowerCase(s));
        forms = BuildMatchForms(phrases, [spelled](std::size_t i) { return spelled[i]; });
    }
    std::vector<Row> Rank(std::string_view typed, const UsageMemory& usage = {},
                          std::string_view usLayout = {}) const {
        std::vector<Row> rows;
        for (const Match& m : RankMatches(phrases, typed, usage, {.forms = &forms, .usLayoutText = usLayout}))
            rows.push_back({phrases[m.index], m.kind});
        return rows;
    }
    std::vector<std::string> phrases;
    MatchForms forms;
};

TEST(NearMatches, EachKindFindsNamesWrittenInItsOwnWay) {
    struct Case {
        std::string name;
        std::string typed;
        MatchKind kind;
    };
    const Case cases[] = {
        {"run Café Crème", "cafe", MatchKind::Folded},
        {"run Café Crème", "creme", MatchKind::Folded},
        {"run Câmera", "camera", MatchKind::Folded},
        {"run Łódź Maps", "lodz", MatchKind::Folded},
        {"run Straße", "strasse", MatchKind::Folded},
        {"run ＴＯＯＬ１", "tool1", MatchKind::Folded},
        {"run cafe", "café", MatchKind::Folded},
        {"run Visual Studio Code", "vsc", MatchKind::Initials},
        {"run Windows PowerShell", "ps", MatchKind::Initials},
        {"run Windows PowerShell", "wps", MatchKind::Initials},
        {"run Éditeur de Texte", "edt", MatchKind::Initials},
        {"run 微信", "weixin", MatchKind::Reading},
        {"run 微信", "wx", MatchKind::Reading},
        {"run 微信", "weix", MatchKind::Reading},
        {"run QQ音乐", "qqyinyue", MatchKind::Reading},
        {"run 中国银行", "yinhang", MatchKind::Reading},
        {"run 绿色", "lvse", MatchKind::Reading},
        {"run 绿色", "luse", MatchKind::Reading},
        {"run カメラ", "kamera", MatchKind::Reading},
        {"run キャッシュ", "kyasshu", MatchKind::Reading},
        {"run 계산기", "gyesangi", MatchKind::Reading},
        {"run 계산기", "gsg", MatchKind::Reading},
        {"run 계산기", "ㄱㅅㄱ", MatchKind::Reading},
        {"run Visual Studio Code", "visaul", MatchKind::Edit},
        {"run Visual Studio Code", "visal", MatchKind::Edit},
        {"run Visual Studio Code", "visuall", MatchKind::Edit},
        {"run Visual Studio Code", "vixual", MatchKind::Edit},
        {"run Łódź Maps", "lodzz", MatchKind::Edit},
    };
    for (const Case& c : cases) {
        const Listing listing({"run Notepad", c.name});
        EXPECT_EQ(listing.Rank(c.typed), (std::vector<Row>{{LowerCase(c.name), c.kind}})) << c.typed;
    }
}

TEST(NearMatches, WhatIsNoNearMatch) {
    const Listing listing({"run Visual Studio Code", "run 微信", "run 계산기", "run Calculator"});
    for (const char* typed : {"visl", "vsaul", "vixuxl", "vc", "wxx", "eixin", "ㄱㄱ", "gyesangix", "calq"})
        EXPECT_TRUE(listing.Rank(typed).empty()) << typed;
}

TEST(NearMatches, EveryExactMatchFirstThenTheKindsInOrderThenPlaceThenListOrder) {
    const Listing listing({"run Kamara", "run カメラ", "run Kilo Alpha Mike Echo Romeo Alpha",
                           "run the Kämera", "run Kämera", "run Kämera Two", "run Kamera Pro",
                           "run my kamera"});
    EXPECT_EQ(listing.Rank("kamera"),
              (std::vector<Row>{{"run kamera pro", MatchKind::Exact},
                                {"run my kamera", MatchKind::Exact},
                                {"run kämera", MatchKind::Folded},
                                {"run kämera two", MatchKind::Folded},
                                {"run the kämera", MatchKind::Folded},
                                {"run kilo alpha mike echo romeo alpha", MatchKind::Initials},
                                {"run カメラ", MatchKind::Reading},
                                {"run kamara", MatchKind::Edit}}));
}

TEST(NearMatches, TheKeysReadWithTheUsLayoutCountOnlyWhenTheLineFindsNothing) {
    const Listing listing({"run Calculator", "run сфдсгж", "run Paint Tool"});
    // "сфдс" is what C, A, L, C type with a Russian layout.
    EXPECT_EQ(listing.Rank("сфдс", {}, "calc"), (std::vector<Row>{{"run сфдсгж", MatchKind::Exact}}));
    EXPECT_EQ(listing.Rank("сфдсх", {}, "calc["), (std::vector<Row>{{"run сфдсгж", MatchKind::Edit}}));
    // Found by the keys, and before the line's own one-edit matches.
    EXPECT_EQ(listing.Rank("сфдсгд", {}, "calcul"),
              (std::vector<Row>{{"run calculator", MatchKind::Layout}, {"run сфдсгж", MatchKind::Edit}}));
    EXPECT_EQ(listing.Rank("зфште", {}, "paint"), (std::vector<Row>{{"run paint tool", MatchKind::Layout}}));
    EXPECT_EQ(listing.Rank("зе", {}, "pt"),
              (std::vector<Row>{{"run paint tool", MatchKind::Layout}})); // initials
    EXPECT_TRUE(listing.Rank("calq", {}, "calq").empty());

    const std::vector<TypedKey> calc = {{'C', 1}, {'A', 1}, {'L', 1}, {'C', 1}};
    EXPECT_EQ(UsLayoutText(calc, "сфдс"), "calc");
    EXPECT_EQ(UsLayoutText({{'1', 1}, {0xBE, 1}, {0x20, 1}, {0x61, 1}}, "1ю 1"), "1. 1");
    EXPECT_EQ(UsLayoutText({{'A', 2}}, "´a"), "a"); // a dead key's accent and the letter
    EXPECT_EQ(UsLayoutText(calc, "сфд"), "");       // the keys of another line
    EXPECT_EQ(UsLayoutText({{'C', 1}, {0x0D, 1}}, "с\r"), "");
}

TEST(NearMatches, InfluenceAndTacksMoveNearMatchesAsTheyMoveExactOnes) {
    const Listing listing({"run Visual Studio Code", "run VSCodium", "run Vscan"});
    const Row code{"run visual studio code", MatchKind::Initials};
    const Row codium{"run vscodium", MatchKind::Exact};
    const Row scan{"run vscan", MatchKind::Exact};
    EXPECT_EQ(listing.Rank("vsc"), (std::vector<Row>{codium, scan, code}));

    UsageMemory usage;
    SetInfluenceList(usage, {{"Run Visual Studio Code", 1}});
    EXPECT_EQ(listing.Rank("vsc", usage), (std::vector<Row>{codium, code, scan}));
    SetInfluenceList(usage, {{"run vscodium", -5}});
    EXPECT_EQ(listing.Rank("vsc", usage), (std::vector<Row>{scan, code, codium}));
    SetTackList(usage, {{"run visual studio code", "vsc"}});
    EXPECT_EQ(listing.Rank("vsc", usage), (std::vector<Row>{code, scan, codium}));
}

TEST(NearMatches, OffOrWithFormsOfAnotherListTheRankingIsTheExactOne) {
    const Listing listing({"run Café", "run cafeteria"});
    const std::vector<Match> off = RankMatches(listing.phrases, "cafe", {});
    ASSERT_EQ(off.size(), 1u);
    EXPECT_EQ(off[0].index, 2u);
    std::vector<std::string> longer = listing.phrases;
    longer.push_back("run café au lait");
    EXPECT_EQ(RankMatches(longer, "cafe", {}, {.forms = &listing.forms}).size(), 1u);
    EXPECT_EQ(RankMatches(listing.phrases, "cafe", {}, {.forms = &listing.forms}).size(), 2u);
}

// Whether some part of `text` is `typed` with at most one character wrong, two neighbours
// swapped, one missing or one extra, tried the long way.
// Where the first part of `text` within one edit of `typed` ends (in characters), if any does.
std::optional<std::size_t> EndWithinOneEdit(const std::u32string& text, const std::u32string& typed) {
    const auto distance = [](const std::u32string& a, const std::u32string& b) {
        std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
        for (std::size_t i = 0; i <= a.size(); ++i)
            for (std::size_t j = 0; j <= b.size(); ++j) {
                if (i == 0 || j == 0) {
                    d[i][j] = i + j;
                    continue;
                }
                d[i][j] =
                    std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
                if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                    d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        return d[a.size()][b.size()];
    };
    for (std::size_t end = 0; end <= text.size(); ++end)
        for (std::size_t start = 0; start <= end; ++start)
            if (distance(text.substr(start, end - start), typed) <= 1)
                return end;
    return std::nullopt;
}

std::u32string CodePoints(std::string_view utf8) {
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();)
        out += DecodeUtf8(utf8, i);
    return out;
}

TEST(NearMatches, OneEditAgreesWithTheLongWay) {
    const std::vector<std::string> pieces = {"a", "b", "c", "d", " ", "ж", "ш", "微", "信", "𝒜"};
    std::mt19937 random(5);
    const auto piece = [&] { return pieces[random() % pieces.size()]; };
    const auto text = [&](std::size_t fewest, std::size_t most) {
        std::vector<std::string> t;
        for (std::size_t k = 0, n = fewest + random() % (most - fewest + 1); k < n; ++k)
            t.push_back(piece());
        return t;
    };
    const auto joined = [](const std::vector<std::string>& t) {
        std::string s;
        for (const std::string& p : t)
            s += p;
        return s;
    };
    // The typed text changed in one or two places: a character changed, swapped, left out or added.
    const auto changed = [&](std::vector<std::string> t) {
        for (int edits = 1 + static_cast<int>(random() % 2); edits > 0; --edits) {
            const std::size_t at = random() % t.size();
            switch (random() % 4) {
            case 0:
                t[at] = piece();
                break;
            case 1:
                if (at + 1 < t.size())
                    std::swap(t[at], t[at + 1]);
                break;
            case 2:
                if (t.size() > 1)
                    t.erase(t.begin() + static_cast<std::ptrdiff_t>(at));
                break;
            default:
                t.insert(t.begin() + static_cast<std::ptrdiff_t>(at), piece());
            }
        }
        return t;
    };
    int near = 0;
    int far = 0;
    for (int round = 0; round < 3000; ++round) {
        const std::vector<std::string> typedPieces = text(5, 7);
        const std::string typed = joined(typedPieces);
        const std::string phrase = joined(text(0, 3)) + joined(changed(typedPieces)) + joined(text(0, 3));
        if (phrase.find(typed) != std::string::npos)
            continue; // an exact match, which the ranking never asks about
        const MatchForms forms = BuildMatchForms({"", phrase});
        const NearQuery query = PrepareNearQuery(typed);
        const NearHit hit = MayMatchNear(query, forms, 1) ? FindNear(query, phrase, forms, 1) : NearHit{};
        if (const auto end = EndWithinOneEdit(CodePoints(phrase), CodePoints(typed))) {
            ++near;
            EXPECT_TRUE(hit) << phrase << " / " << typed;
            // A match is placed where the first one to end would begin without its edit.
            const auto characters = static_cast<std::int32_t>(CodePoints(typed).size());
            if (hit.kind == MatchKind::Edit) {
                EXPECT_EQ(hit.position, std::max(1, static_cast<std::int32_t>(*end) - characters + 1))
                    << phrase << " / " << typed;
            }
        } else if (hit) {
            ++far;
            EXPECT_NE(hit.kind, MatchKind::Edit) << phrase << " / " << typed;
        } else {
            ++far;
        }
    }
    EXPECT_GT(near, 1000) << "too few near cases to tell";
    EXPECT_GT(far, 300) << "too few far cases to tell";
}

// Every exact match keeps its place relative to the others with near matches on. Tacks stay
// out: the one tacked row moved to the top may then be a near match.
TEST(NearMatches, ExactMatchesKeepTheirOrderAmongThemselves) {
    const std::vector<std::string> pieces = {"a",  "b",  "A",  "é",  "É",  "ab", " ",  "-",
                                             "微", "信", "カ", "メ", "계", "ß",  "ss", "Ｂ"};
    std::mt19937 random(24);
    const auto text = [&](std::size_t most) {
        std::string t;
        for (std::size_t k = 0, n = 1 + random() % most; k < n; ++k)
            t += pieces[random() % pieces.size()];
        return t;
    };
    for (int round = 0; round < 500; ++round) {
        std::vector<std::string> names;
        for (std::size_t k = 0, n = 1 + random() % 30; k < n; ++k)
            names.push_back(text(8));
        const Listing listing(names);
        std::vector<InfluenceEntry> influence;
        for (int k = 0, n = static_cast<int>(random() % 8); k < n; ++k)
            influence.push_back({listing.phrases[1 + random() % names.size()],
                                 static_cast<std::int16_t>(static_cast<int>(random() % 13) - 6)});
        UsageMemory usage;
        SetInfluenceList(usage, influence);
        const std::string typed = LowerCase(text(3));
        std::vector<std::uint32_t> exactOff;
        for (const Match& m : RankMatches(listing.phrases, typed, usage))
            exactOff.push_back(m.index);
        std::vector<std::uint32_t> exactOn;
        for (const Match& m : RankMatches(listing.phrases, typed, usage, {.forms = &listing.forms}))
            if (m.kind == MatchKind::Exact)
                exactOn.push_back(m.index);
        ASSERT_EQ(exactOn, exactOff) << "round " << round << ", typed " << typed;
    }
}

} // namespace
} // namespace tov
