#include "base/text.h"
#include "catalogue/build.h"
#include "catalogue/settings_pages.h"
#include "platform/fake/fake_platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

namespace tov {
namespace {

constexpr std::string_view kScheme = "ms-settings:";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(Trim(line));
    return lines;
}

bool IsAddressCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

TEST(SettingsPages, EveryLineOfTheTableIsAPageWithAWellFormedAddressAndNamesOfItsOwn) {
    std::ifstream file(TOVLEN_SOURCE_DIR "/src/catalogue/settings_pages.txt");
    std::stringstream text;
    text << file.rdbuf();
    const std::string table = text.str();
    const auto dataLines = std::ranges::count_if(
        Lines(table), [](const std::string& line) { return !line.empty() && line.front() != '#'; });
    const std::vector<SettingsPage>& pages = SettingsPages();
    EXPECT_EQ(static_cast<std::ptrdiff_t>(pages.size()), dataLines) << "a line of the table was not read";
    EXPECT_GE(pages.size(), 50u);

    std::set<std::string> phrases;
    std::set<std::string> addresses;
    for (const SettingsPage& page : pages) {
        ASSERT_TRUE(page.address.starts_with(kScheme)) << page.address;
        const std::string_view rest = std::string_view(page.address).substr(kScheme.size());
        EXPECT_TRUE(std::ranges::all_of(rest, IsAddressCharacter)) << page.address;
        EXPECT_TRUE(addresses.insert(page.address).second) << "two pages open " << page.address;
        for (const std::string& phrase : SettingsPhrases(page)) {
            EXPECT_TRUE(phrases.insert(phrase).second) << "'" << phrase << "' names two pages";
            EXPECT_EQ(phrase, Trim(phrase));
            EXPECT_TRUE(std::ranges::none_of(phrase, [](char c) { return c >= 'A' && c <= 'Z'; })) << phrase;
            EXPECT_EQ(SettingsPageAddress(phrase), page.address) << phrase;
        }
    }
    EXPECT_EQ(SettingsPageAddress(std::string(kSettingsWord)), kScheme) << "the word alone opens the app";
}

TEST(SettingsPages, ALineThatIsNoPageIsLeftOut) {
    const std::vector<SettingsPage> pages =
        ReadSettingsPages("# a comment | x | ms-settings:x\n"
                          "\n"
                          "sound | audio,  volume ,, | ms-settings:sound\r\n"
                          "two fields | ms-settings:two\n"
                          "no address | x |  \n"
                          "  | home | ms-settings:\n");
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].name, "sound");
    EXPECT_EQ(pages[0].synonyms, (std::vector<std::string>{"audio", "volume"}));
    EXPECT_EQ(pages[0].address, "ms-settings:sound");
    EXPECT_EQ(SettingsPhrases(pages[1]), (std::vector<std::string>{"settings", "settings home"}));
}

TEST(SettingsPages, OfferedLastAndOnlyWhereTheSettingsAppIsAndTheUserWantsThem) {
    FakePlatform platform;
    for (const bool app : {false, true}) {
        for (const bool wanted : {false, true}) {
            platform.settingsApp = app;
            const Catalogue catalogue =
                BuildCatalogue(SystemCatalogueSources(platform, CatalogueChoices{.settingsPages = wanted}));
            EXPECT_EQ(catalogue.settingsPages, app && wanted);
            const bool offered = std::ranges::count(catalogue.phrases, "settings wifi") == 1;
            EXPECT_EQ(offered, app && wanted) << app << wanted;
            if (offered) {
                EXPECT_EQ(catalogue.phrases.back(), SettingsPhrases(SettingsPages().back()).back());
            }
        }
    }
}

} // namespace
} // namespace tov
