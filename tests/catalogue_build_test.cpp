#include "app/app.h"
#include "app/catalogue_build.h"
#include "app/contexts.h"
#include "catalogue/build.h"
#include "catalogue/built_in_commands.h"
#include "catalogue/list_file.h"
#include "catalogue/start_menu.h"
#include "platform/fake/fake_platform.h"
#include "platform/files.h"
#include "suggest/near_match.h"
#include "support/shortcut_writer.h"
#include "support/temp_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <unistd.h>

namespace tov {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::ProgramLink;
using testing::WriteFile;
using testing::WriteShortcut;

const std::vector<std::string> kFixedSlots = FixedPhraseSlots();

std::vector<std::string> Names(const Catalogue& c) {
    std::vector<std::string> names;
    for (const auto& e : c.table)
        names.push_back(e.Name);
    return names;
}

std::vector<std::string> AddedPhrases(const Catalogue& c) {
    return std::vector<std::string>(c.phrases.begin() + static_cast<std::ptrdiff_t>(kFixedSlots.size()),
                                    c.phrases.end());
}

void ExpectEveryEntryHasItsPhrase(const Catalogue& c) {
    for (const auto& e : c.table)
        EXPECT_NE(std::find(c.phrases.begin(), c.phrases.end(), RunPhrase(e.Name)), c.phrases.end())
            << e.Name;
}

class CatalogueBuild : public ::testing::Test {
  protected:
    Catalogue Build() {
        Catalogue c = BuildCatalogue(sources);
        ExpectEveryEntryHasItsPhrase(c);
        return c;
    }
    std::filesystem::path Common() const { return temp.Path() / "Common Programs"; }
    std::filesystem::path User() const { return temp.Path() / "Programs"; }

    testing::TempFolder temp;
    CatalogueSources sources{.programFolder = temp / "Tovlen",
                             .commonPrograms = temp / "Common Programs",
                             .programs = temp / "Programs",
                             .favorites = temp / "Favorites",
                             .commonFavorites = temp / "Common Favorites",
                             .firefoxProfiles = temp / "Profiles"};
};

// A rebuild takes an unchanged shortcut from what the last build read and reads a changed one.
TEST_F(CatalogueBuild, RebuildReadsOnlyTheShortcutsThatChanged) {
    WriteShortcut(User() / "Keep.lnk", ProgramLink("C:\\keep.exe"));
    WriteShortcut(User() / "Change.lnk", ProgramLink("C:\\old.exe"));
    WriteShortcut(User() / "Gone.lnk", ProgramLink("C:\\gone.exe"));
    ShortcutMemory first;
    sources.shortcutsRead = &first;
    Build();
    ASSERT_EQ(first.size(), 3u);
    for (auto& [path, known] : first)
        if (path.ends_with("Keep.lnk"))
            known.info.Target = "C:\\remembered.exe"; // shows whether the file was read again
    WriteShortcut(User() / "Change.lnk", ProgramLink("C:\\Newer Folder\\new.exe"));
    std::filesystem::remove(User() / "Gone.lnk");

    ShortcutMemory second;
    sources.knownShortcuts = std::make_shared<const ShortcutMemory>(first);
    sources.shortcutsRead = &second;
    const Catalogue c = Build();
    std::vector<std::string> targets;
    for (const auto& e : c.table)
        targets.push_back(e.Target);
    EXPECT_THAT(targets, ElementsAre("C:\\Newer Folder\\new.exe", "C:\\remembered.exe"));
    EXPECT_EQ(second.size(), 2u);
}

// Every row must be reachable by its own text, and the catalogue offers each offered word once.
TEST(BuiltInCommands, AreEachFoundByTheirTextAndOfferedOnce) {
    for (const BuiltInCommand& row : kBuiltInCommands) {
        const std::string line = BuiltInCommandLine(row.action, IsPrefix(row) ? "x" : "");
        EXPECT_EQ(FindBuiltInCommand(line), &row) << line;
        EXPECT_EQ(std::count(kFixedSlots.begin(), kFixedSlots.end(), line), row.offered ? 1 : 0) << line;
    }
}

TEST_F(CatalogueBuild, AllUsersShortcutWinsAnExactNameClash) {
    WriteShortcut(Common() / "Notepad.lnk", ProgramLink("C:\\Windows\\notepad.exe", "/a", "C:\\common"));
    WriteShortcut(User() / "Notepad.lnk", ProgramLink("C:\\Other\\notepad.exe", "/u", "C:\\user"));
    WriteShortcut(Common() / "Paint.lnk", ProgramLink("C:\\Windows\\paint.exe"));
    WriteShortcut(User() / "paint.lnk", ProgramLink("C:\\Mine\\paint.exe"));
    const Catalogue c = Build();
    ASSERT_THAT(Names(c), ElementsAre("Notepad", "Paint", "paint"));
    EXPECT_EQ(c.table[0].Target, "C:\\Windows\\notepad.exe");
    EXPECT_EQ(c.table[0].Arguments, "/a");
    EXPECT_EQ(c.table[0].WorkingFolder, "C:\\common");
    EXPECT_EQ(std::count(c.phrases.begin(), c.phrases.end(), "run notepad"), 1);
    EXPECT_EQ(std::count(c.phrases.begin(), c.phrases.end(), "run paint"), 2);
    EXPECT_TRUE(IsInCommandTable(c, "Paint"));
    EXPECT_FALSE(IsInCommandTable(c, "NOTEPAD"));
}

TEST_F(CatalogueBuild, TableIsSortedOrdinallyWhilePhrasesKeepTheWalkOrder) {
    // One per level, so the breadth-first walk order is fixed: root, then A, then A\B.
    WriteShortcut(Common() / "Zeta.lnk", ProgramLink("C:\\z.exe"));
    WriteShortcut(Common() / "A" / "alpha.lnk", ProgramLink("C:\\a.exe"));
    WriteShortcut(Common() / "A" / "B" / "Beta.lnk", ProgramLink("C:\\b.exe"));
    WriteShortcut(Common() / "A" / "B" / "C" / "Be.lnk", ProgramLink("C:\\be.exe"));
    const Catalogue c = Build();
    EXPECT_THAT(Names(c), ElementsAre("Be", "Beta", "Zeta", "alpha"));
    EXPECT_THAT(AddedPhrases(c), ElementsAre("run zeta", "run alpha", "run beta", "run be"));
}

TEST_F(CatalogueBuild, EqualNamesKeepTheirOrderOfAddition) {
    WriteShortcut(User() / "google.lnk", ProgramLink("C:\\google.exe"));
    WriteFile(temp.Path() / "Common Favorites" / "Google.url",
              "[InternetShortcut]\r\nURL=http://google.com/\r\n");
    WriteFile(temp.Path() / "Common Favorites" / "Sub" / "GOOGLE.url",
              "[InternetShortcut]\r\nURL=http://g.cn/\r\n");
    sources.ieFavorites = true;
    const Catalogue c = Build();
    ASSERT_THAT(Names(c), ElementsAre("google", "google", "google"));
    EXPECT_EQ(c.table[0].Target, "C:\\google.exe");
    EXPECT_EQ(c.table[1].Target, "http://google.com/");
    EXPECT_EQ(c.table[2].Target, "http://g.cn/");
    EXPECT_EQ(std::count(c.phrases.begin(), c.phrases.end(), "run google"), 3);
}

TEST_F(CatalogueBuild, OnlyShortcutsToProgramsBecomeEntries) {
    WriteShortcut(Common() / "Readme.lnk", ProgramLink("C:\\App\\readme.txt"));
    WriteShortcut(Common() / "Loud.lnk", ProgramLink("C:\\App\\LOUD.EXE"));
    WriteShortcut(Common() / "Capitals.LNK", ProgramLink("C:\\App\\capitals.exe"));
    WriteFile(Common() / "desktop.ini", "[.ShellClassInfo]\r\n");
    WriteFile(Common() / "Broken.lnk", "not a shortcut at all");
    testing::LinkSpec advertised;
    advertised.idList = std::string(10, '\x01');
    WriteShortcut(Common() / "Advertised.lnk", advertised);
    WriteShortcut(Common() / "Tool.lnk.bak", ProgramLink("C:\\App\\bak.exe"));
    WriteShortcut(Common() / "Tool.lnk", ProgramLink("C:\\App\\tool.exe"));
    WriteShortcut(Common() / "Sub" / "Tool.lnk", ProgramLink("C:\\Sub\\tool.exe"));
    const Catalogue c = Build();
    ASSERT_THAT(Names(c), ElementsAre("Loud", "Tool"));
    EXPECT_EQ(c.table[0].Target, "C:\\App\\LOUD.EXE");
    EXPECT_EQ(c.table[1].Target, "C:\\App\\tool.exe"); // the root's files come before a subfolder's
}

TEST_F(CatalogueBuild, RelativePathIsTakenFromTheShortcutsOwnFolder) {
    testing::LinkSpec spec;
    spec.idList = std::string(8, '\x01');
    spec.relativePath = "..\\..\\Tools\\app.exe";
    spec.arguments = "-v";
    WriteShortcut(Common() / "Group" / "Deeper" / "App.lnk", spec);
    const Catalogue c = Build();
    ASSERT_EQ(c.table.size(), 1u);
    std::string expected = sources.commonPrograms + "\\Tools\\app.exe"; // with the program's separators
    std::replace(expected.begin(), expected.end(), '/', '\\');
    EXPECT_EQ(c.table[0].Target, expected);
    EXPECT_EQ(c.table[0].Arguments, "-v");
}

TEST(ResolveRelativePath, WorksOutDotsWithinTheRoot) {
    EXPECT_EQ(ResolveRelativePath("C:\\Start Menu\\Programs\\Acc\\", "..\\..\\..\\..\\..\\Windows\\calc.exe"),
              "C:\\Windows\\calc.exe");
    EXPECT_EQ(ResolveRelativePath("C:\\Programs\\", ".\\migwiz\\migwiz.exe"),
              "C:\\Programs\\migwiz\\migwiz.exe");
    EXPECT_EQ(ResolveRelativePath("\\\\srv\\share\\menu\\", "..\\..\\x.exe"), "\\\\srv\\share\\x.exe");
    EXPECT_EQ(ResolveRelativePath("C:\\a\\", "D:\\b\\..\\c.exe"), "D:\\c.exe");
}

TEST_F(CatalogueBuild, UnresolvedFolderListsNothingEvenWhereThereAreShortcuts) {
    WriteShortcut(temp.Path() / "Here.lnk", ProgramLink("C:\\here.exe"));
    WriteFile(temp.Path() / "Here.url", "[InternetShortcut]\r\nURL=http://here/\r\n");
    const std::string previous = std::filesystem::current_path();
    std::filesystem::current_path(temp.Path());
    sources = CatalogueSources{};
    sources.ieFavorites = sources.firefoxBookmarks = true;
    const Catalogue c = Build();
    std::filesystem::current_path(previous);
    EXPECT_TRUE(c.table.empty());
}

TEST_F(CatalogueBuild, CustomCommandsComeFirstAndKeepTheirCase) {
    WriteFile(temp.Path() / "Tovlen" / "customprograms.lst",
              "My Notes\r\nrun C:\\notes.txt\r\nhelp\r\nweb http://example.com\r\n");
    WriteShortcut(User() / "Editor.lnk", ProgramLink("C:\\editor.exe"));
    const Catalogue c = Build();
    ASSERT_EQ(c.custom.size(), 2u);
    EXPECT_EQ(c.custom[0].Name, "My Notes");
    EXPECT_EQ(c.custom[0].Action, "run C:\\notes.txt");
    EXPECT_EQ(c.custom[1].Action, "web http://example.com");
    EXPECT_THAT(AddedPhrases(c), ElementsAre("my notes", "help", "run editor"));
    EXPECT_EQ(std::count(c.phrases.begin(), c.phrases.end(), "help"), 2);
}

// As the dispatcher runs "run " + a name: the first entry in table order of that name in any
// letter case, also among entries added after the build.
TEST_F(CatalogueBuild, EntriesAreFoundByTheirNameInAnyCase) {
    WriteShortcut(User() / "Zeta.lnk", ProgramLink("C:\\zeta.exe"));
    WriteShortcut(User() / "alpha.lnk", ProgramLink("C:\\alpha-lower.exe"));
    WriteShortcut(Common() / "ALPHA.lnk", ProgramLink("C:\\alpha-upper.exe"));
    WriteShortcut(Common() / "Alpha Two.lnk", ProgramLink("C:\\alpha-two.exe"));
    Catalogue c = Build();
    ASSERT_THAT(Names(c), ElementsAre("ALPHA", "Alpha Two", "Zeta", "alpha"));
    const auto target = [&c](std::string_view lowered) {
        const CommandEntry* entry = FindCommandEntry(c, lowered);
        return entry ? entry->Target : std::string("(none)");
    };
    EXPECT_EQ(target("alpha"), "C:\\alpha-upper.exe");
    EXPECT_EQ(target("alpha two"), "C:\\alpha-two.exe");
    EXPECT_EQ(target("zeta"), "C:\\zeta.exe");
    EXPECT_EQ(target("alph"), "(none)");
    EXPECT_EQ(target("beta"), "(none)");
    AddCommandEntry(c, {"C:\\beta.exe", "Beta", {}, {}, {}});
    AddCommandEntry(c, {"C:\\alpha-late.exe", "Alpha", {}, {}, {}});
    EXPECT_EQ(target("beta"), "C:\\beta.exe");
    EXPECT_EQ(target("alpha"), "C:\\alpha-upper.exe");
    c.table.resize(1); // an index made for a longer table is not trusted
    EXPECT_EQ(target("alpha"), "C:\\alpha-upper.exe");
    EXPECT_EQ(target("zeta"), "(none)");
}

// The capitals of a name mark the initials it is typed by, also with the Settings app's pages
// after the run phrases.
TEST_F(CatalogueBuild, NamesAreReadForInitialsAsTheirSourcesSpellThem) {
    WriteFile(temp.Path() / "Tovlen" / "customprograms.lst", "MyTool\r\nrun C:\\tool.exe\r\n");
    WriteShortcut(User() / "PowerToys.lnk", ProgramLink("C:\\toys.exe"));
    for (const bool settingsPages : {false, true}) {
        sources.settingsPages = settingsPages;
        const Catalogue c = Build();
        for (const auto& [typed, phrase] : {std::pair{"mt", "mytool"}, std::pair{"pt", "run powertoys"}}) {
            const auto at = std::find(c.phrases.begin(), c.phrases.end(), phrase);
            ASSERT_NE(at, c.phrases.end()) << phrase;
            const auto index = static_cast<std::size_t>(at - c.phrases.begin());
            EXPECT_EQ(FindNear(PrepareNearQuery(typed), phrase, c.forms, index).kind, MatchKind::Initials)
                << typed << (settingsPages ? " with the settings pages" : "");
        }
    }
}

// One link to the parent once gave 42 copies of every shortcut; two links to the folder
// itself made a walk that never ended.
TEST_F(CatalogueBuild, LinksBetweenFoldersAreNotFollowedSoEveryShortcutComesOnce) {
    WriteShortcut(User() / "Top.lnk", ProgramLink("C:\\top.exe"));
    WriteShortcut(User() / "Tools" / "Deep.lnk", ProgramLink("C:\\deep.exe"));
    std::filesystem::create_directory_symlink(User(), User() / "Tools" / "Up");
    std::filesystem::create_directory_symlink(User() / "Tools", User() / "Tools" / "Self");
    std::filesystem::create_directory_symlink(User() / "Tools", User() / "Tools" / "Again");
    const Catalogue c = Build();
    EXPECT_THAT(AddedPhrases(c), ElementsAre("run top", "run deep"));
}

TEST_F(CatalogueBuild, AListFileLongerThanAnyoneWritesLoadsItsStartAndSaysSo) {
    std::string lines;
    for (std::size_t i = 0; i < kMaxListLines / 2 + 5; ++i)
        lines += "c" + std::to_string(i) + "\r\nrun x\r\n";
    WriteFile(temp.Path() / "Tovlen" / "customprograms.lst", lines);
    std::vector<std::string> logged;
    sources.log = [&](std::string_view line) { logged.emplace_back(line); };
    const Catalogue c = Build();
    EXPECT_EQ(c.custom.size(), kMaxListLines / 2);
    EXPECT_THAT(logged, ElementsAre("customprograms.lst: 10 lines left out (past line 200000, or longer than "
                                    "32768 bytes)"));
}

TEST_F(CatalogueBuild, FavouritesCarryTheirPassSuffix) {
    WriteFile(temp.Path() / "Favorites" / "Google Search.url",
              "[DEFAULT]\r\nBASEURL=http://wrong/\r\n[InternetShortcut]\r\nURL=http://www.google.com/\r\n");
    WriteFile(temp.Path() / "Favorites" / "Links" / "Docs.url",
              "[InternetShortcut]\r\nURL=file:///C:\\docs\\a.html\r\n");
    WriteFile(temp.Path() / "Favorites" / "Empty.url", "URL=http://before-the-header/\r\n");
    WriteFile(temp.Path() / "Favorites" / "notes.txt", "[InternetShortcut]\r\nURL=http://txt/\r\n");
    WriteFile(temp.Path() / "Common Favorites" / "Google Search.url",
              "[InternetShortcut]\r\nURL=http://g/\r\n");
    WriteFile(temp.Path() / "Favorites" / "Share.url",
              "[InternetShortcut]\r\nURL=\\\\server\\share\\x.exe\r\n");
    sources.ieFavorites = true;
    Catalogue c = Build();
    // Only web addresses: the shell would run the file and the share's program.
    ASSERT_THAT(Names(c), ElementsAre("google search", "google search (ie bookmark)"));
    EXPECT_EQ(c.skippedLinks, 2u);
    EXPECT_EQ(c.table[0].WorkingFolder, "");
    EXPECT_EQ(c.table[1].Target, "http://www.google.com/");
    EXPECT_THAT(AddedPhrases(c), ElementsAre("run google search (ie bookmark)", "run google search"));

    sources.ieFavorites = false;
    c = Build();
    EXPECT_TRUE(c.table.empty());
    EXPECT_EQ(c.phrases, kFixedSlots);
}

TEST_F(CatalogueBuild, OneBookmarksFileIsReadTheFirstInWalkOrder) {
    const auto profiles = temp.Path() / "Profiles";
    WriteFile(profiles / "a.default" / "backup" / "bookmarks.html", "<A HREF=\"http://deep/\">Deep</A>");
    WriteFile(profiles / "b.default" / "Bookmarks.HTML", "<a href=\"http://two/\">Two</a>");
    sources.firefoxBookmarks = true;
    EXPECT_THAT(AddedPhrases(Build()), ElementsAre("run two (firefox bookmark)"));
    // Of two at the same depth, the file system's listing order decides.
    WriteFile(profiles / "c.default" / "bookmarks.html", "<a href=\"http://three/\">Three</a>");
    EXPECT_THAT(Names(Build()), ::testing::AnyOf(ElementsAre("two (firefox bookmark)"),
                                                 ElementsAre("three (firefox bookmark)")));
}

TEST_F(CatalogueBuild, WindowsAppsOnlyWhereNoShortcutHasTheirName) {
    WriteShortcut(Common() / "Calculator.lnk", ProgramLink("C:\\calc.exe"));
    WriteShortcut(User() / "Paint.lnk", ProgramLink("C:\\paint.exe"));
    sources.apps = {
        {"calculator", "Microsoft.WindowsCalculator_8wekyb3d8bbwe!App"},
        {"Terminal", "Microsoft.WindowsTerminal_8wekyb3d8bbwe!App"},
        {"TERMINAL", "Second.Terminal!App"},
        {"Settings", "windows.immersivecontrolpanel_cw5n1h2txyewy!microsoft.windows.immersivecontrolpanel"},
        {"Two\r\nLines", "Bad!App"},
        {"", "NoName!App"},
        {"No Id", ""}};
    sources.windowsApps = true;
    Catalogue c = Build();
    ASSERT_THAT(Names(c), ElementsAre("Calculator", "Paint", "Settings", "Terminal"));
    EXPECT_EQ(c.table[3].Target, "shell:AppsFolder\\Microsoft.WindowsTerminal_8wekyb3d8bbwe!App");
    EXPECT_EQ(c.table[3].WorkingFolder, "");
    EXPECT_THAT(AddedPhrases(c), ElementsAre("run calculator", "run paint", "run terminal", "run settings"));

    sources.windowsApps = false;
    EXPECT_THAT(Names(Build()), ElementsAre("Calculator", "Paint"));
}

TEST(SystemCatalogueSources, ComeFromTheSpecialFoldersAndSettings) {
    FakePlatform platform;
    platform.specialFolders = {
        {KnownFolder::CommonPrograms, "C:\\All\\Programs"}, {KnownFolder::Programs, "C:\\Me\\Programs"},
        {KnownFolder::Favorites, "C:\\Me\\Favorites"},      {KnownFolder::CommonFavorites, "C:\\All\\Fav"},
        {KnownFolder::AppData, "C:\\Me\\AppData"},          {KnownFolder::LocalAppData, "C:\\Me\\Local"}};
    App app(platform);
    app.state.ShowIEFavorites = 0;
    app.state.ShowFFFavorites = -1;
    app.state.ShowChromiumBookmarks = 0;
    app.state.ShowApps = 0;
    platform.installedApps = {{"Calculator", "Calc!App"}};
    app.state.FirefoxProfilesDir = "D:\\located\\by\\hand";
    const CatalogueSources s = SystemCatalogueSources(app.platform, CatalogueChoicesOf(app.state));
    EXPECT_EQ(s.programFolder, "C:\\Program Files\\Tovlen");
    EXPECT_EQ(s.commonPrograms, "C:\\All\\Programs");
    EXPECT_EQ(s.programs, "C:\\Me\\Programs");
    EXPECT_EQ(s.favorites, "C:\\Me\\Favorites");
    EXPECT_EQ(s.commonFavorites, "C:\\All\\Fav");
    EXPECT_EQ(s.firefoxProfiles, "C:\\Me\\AppData\\Mozilla\\Firefox\\Profiles\\");
    EXPECT_EQ(s.localAppData, "C:\\Me\\Local");
    EXPECT_FALSE(s.ieFavorites);
    EXPECT_TRUE(s.firefoxBookmarks);
    EXPECT_FALSE(s.chromiumBookmarks);
    EXPECT_FALSE(s.windowsApps);
    CatalogueSources listed = s;
    ListChosenApps(platform, listed);
    EXPECT_TRUE(listed.apps.empty()); // the folder is not even listed

    app.state.ShowApps = 1;
    listed = SystemCatalogueSources(app.platform, CatalogueChoicesOf(app.state));
    EXPECT_TRUE(listed.apps.empty());
    ListChosenApps(platform, listed);
    EXPECT_EQ(listed.apps.size(), 1u);

    platform.specialFolders.erase(KnownFolder::AppData);
    EXPECT_EQ(SystemCatalogueSources(app.platform, CatalogueChoicesOf(app.state)).firefoxProfiles, "");
}

} // namespace
} // namespace tov
