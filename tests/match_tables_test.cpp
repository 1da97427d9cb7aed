// Samples of the generated tables and of the forms built from them: each row a case a reader
// of that script would check by hand, not a copy of the tables.
#include "catalogue/fold.h"
#include "catalogue/match_forms.h"
#include "catalogue/match_tables.h"
#include "catalogue/readings.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tov {
namespace {

TEST(MatchTables, FoldingSetsAsideAccentsVariantsWidthAndLigatures) {
    const std::pair<const char*, const char*> cases[] = {
        {"crème brûlée", "creme brulee"},
        {"łódź", "lodz"},
        {"ŁÓŹ", "loz"},
        {"straße", "strasse"},
        {"æble øl", "aeble ol"},
        {"œuvre", "oeuvre"},
        {"þing", "thing"},
        {"đakovo", "dakovo"},
        {"ＡＢＣ１２３！", "abc123!"},
        {"ﬁle", "file"},
        {"ἀθῆναι", "αθηναι"},
        {"ёлка", "елка"},
        {"e\xcc\x81t\xc3\xa9", "ete"}, // a combining accent and a composed one
        {"tiếng việt", "tieng viet"},
        {"微信 カメラ 계산기", "微信 カメラ 계산기"}, // read, not folded
        {"\xff\xfe", "\xff\xfe"},
    };
    for (const auto& [text, folded] : cases)
        EXPECT_EQ(Fold(text), folded) << text;
    EXPECT_TRUE(IsWordSeparator(U'–'));
    EXPECT_TRUE(IsWordSeparator(U'·'));
    EXPECT_TRUE(IsWordSeparator(U'、'));
    EXPECT_FALSE(IsWordSeparator(U'é'));
    EXPECT_FALSE(IsWordSeparator(U'ж'));
}

TEST(MatchTables, HanReadingsAreEveryMandarinReadingWithoutTones) {
    const auto has = [](char32_t c, std::string_view reading) {
        const auto readings = HanReadingsOf(c);
        return std::find(readings.begin(), readings.end(), reading) != readings.end();
    };
    EXPECT_EQ(HanReadingsOf(U'微'), std::vector<std::string_view>{"wei"});
    EXPECT_EQ(HanReadingsOf(U'行').front(), "xing"); // the usual reading first
    EXPECT_TRUE(has(U'行', "hang"));
    EXPECT_TRUE(has(U'乐', "yue"));
    EXPECT_TRUE(has(U'绿', "lv"));
    EXPECT_TRUE(has(U'一', "yi")); // the first ideograph of the block
    EXPECT_TRUE(has(U'龥', "yu"));
    EXPECT_TRUE(HanReadingsOf(U'a').empty());
    EXPECT_TRUE(HanReadingsOf(U'カ').empty());
}

// The units written out, an alternatives unit as its alternatives between brackets.
std::string Spelled(std::string_view units) {
    std::string out;
    while (!units.empty()) {
        const ReadingUnit u = FirstUnit(units);
        units.remove_prefix(u.size);
        if (u.alternatives.empty()) {
            out += u.self;
            continue;
        }
        std::string_view rest = u.alternatives;
        out += '[';
        for (std::string_view a = NextAlternative(rest); !a.empty(); a = NextAlternative(rest))
            out += std::string(a) + (rest.empty() ? "]" : "|");
    }
    return out;
}

TEST(MatchTables, KanaAndHangulAreRomanisedAsTheirSystemsSay) {
    EXPECT_EQ(KanaOf(U'し')->roman, "shi");
    EXPECT_EQ(KanaOf(U'ツ')->roman, "tsu");
    EXPECT_EQ(KanaOf(U'ヲ')->roman, "o");
    EXPECT_TRUE(KanaOf(U'ゃ')->small);
    EXPECT_FALSE(KanaOf(U'ー').has_value());

    const std::pair<const char*, const char*> cases[] = {
        {"カメラ", "[ka][me][ra]"},
        {"キャッシュ", "[kya][sshu]"},
        {"ちゃ", "[cha]"},
        {"マッチ", "[ma][tchi]"},
        {"コーヒー", "[ko|koo][hi|hii]"},
        {"ファイル", "[fa][i][ru]"},
        {"계산기", "[gye|ㄱ][san|ㅅ][gi|ㄱ]"},
        {"한글", "[han|ㅎ][geul|ㄱ]"},
        {"앱", "[aep|ㅇ]"},
        {"qq音乐", "qq[yin][le|yue]"},
        {"run 微信 2 beta", "[wei][xin]"}, // the words beside stand for themselves
        {"a.b二c", "b[er]c"},
        {"plain words", ""},
    };
    for (const auto& [text, units] : cases)
        EXPECT_EQ(Spelled(UnitsOf(ReadingUnits(text))), units) << text;
}

TEST(MatchTables, FormsHoldTheFoldTheInitialsAndTheReadings) {
    const std::vector<std::string> phrases = {"",
                                              "run visual studio code",
                                              "run windows powershell",
                                              "run vscode",
                                              "run obs studio",
                                              "run microsoft office 365",
                                              "café–crème",
                                              "run 微信"};
    const std::vector<std::string> spelled = {"",
                                              "run Visual Studio Code",
                                              "run Windows PowerShell",
                                              "run VSCode",
                                              "run OBS Studio",
                                              "run Microsoft Office 365",
                                              "Café–Crème",
                                              "run 微信"};
    const MatchForms forms = BuildMatchForms(phrases, [&](std::size_t i) { return spelled[i]; });
    ASSERT_TRUE(forms.Fits(phrases.size()));
    const char* initials[] = {"", "vsc", "wps", "vc", "os", "mo3", "cc", ""};
    for (std::size_t i = 0; i < phrases.size(); ++i)
        EXPECT_EQ(forms.Initials(i), initials[i]) << phrases[i];
    EXPECT_EQ(forms.Folded(1), ""); // a phrase that folds to itself keeps no copy
    EXPECT_EQ(forms.Folded(6), "cafe–creme");
    EXPECT_EQ(Spelled(UnitsOf(forms.Readings(7))), "[wei][xin]");
    EXPECT_EQ(SkippedCharacters(forms.Readings(7)), 4u);
    EXPECT_EQ(forms.Readings(1), "");
    // Without the spelling the capitals are unknown, and only words count.
    EXPECT_EQ(BuildMatchForms(phrases).Initials(2), "wp");
    // A spelling that does not fit the phrase says nothing of its capitals.
    EXPECT_EQ(BuildMatchForms({"", "run powershell"}, [](std::size_t) { return std::string("PowerShellX"); })
                  .Initials(1),
              "p");
}

} // namespace
} // namespace tov
