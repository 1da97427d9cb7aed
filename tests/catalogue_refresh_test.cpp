#include "app/app.h"
#include "app/catalogue_build.h"
#include "app/debounce.h"
#include "app/program.h"
#include "catalogue/watch_list.h"
#include "platform/fake/fake_platform.h"
#include "platform/files.h"
#include "suggest/command_window.h"
#include "suggest/usage.h"
#include "support/shortcut_writer.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tov {
namespace {

using namespace std::chrono_literals;
using testing::ProgramLink;
using testing::WriteFile;
using testing::WriteShortcut;

class CatalogueRefreshTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform.settings["Tovlen\\settings\\showwelcome"] = "0";
        platform.specialFolders = {{KnownFolder::Programs, programs}};
        platform.programFolder = temp / "Tovlen";
        std::filesystem::create_directories(temp.Path() / "Tovlen");
        WriteShortcut(temp.Path() / "Programs" / "One.lnk", ProgramLink("C:\\one.exe"));
        platform.holdBackground = true;
        Startup(app);
    }
    bool Has(std::string_view phrase) const {
        const auto& p = app.catalogue.phrases;
        return std::find(p.begin(), p.end(), phrase) != p.end();
    }
    void OpenAndType(std::string_view text) {
        platform.PressKey(VirtualKey::CapsLock);
        platform.TypeText(text);
        platform.RunPending();
    }
    int Builds() const {
        return static_cast<int>(
            std::count_if(platform.logLines.begin(), platform.logLines.end(),
                          [](const std::string& l) { return l.starts_with("Catalogue: "); }));
    }
    std::string Completion() { return app.forms.frmMain->At(frmMain::lblCommandBack).text; }
    // A build's work and its hand-over, as the worker and the message loop would run them.
    void Land() { platform.FinishBackground(); }

    testing::TempFolder temp;
    std::string programs = temp / "Programs";
    FakePlatform platform;
    App app{platform};
};

TEST_F(CatalogueRefreshTest, StartUpDoesNotWaitAndALineTypedMeanwhileIsRankedWhenTheBuildLands) {
    EXPECT_TRUE(platform.keyHandler); // the hooks are in
    EXPECT_TRUE(app.catalogue.table.empty());
    OpenAndType("one");
    EXPECT_EQ(Completion(), "");

    // Built on the worker, the new table is not seen until it is handed over in one step.
    ASSERT_TRUE(platform.RunBackgroundWork());
    EXPECT_TRUE(app.catalogue.table.empty());
    platform.DeliverHandOvers();
    EXPECT_TRUE(Has("run one"));
    platform.RunPending();
    EXPECT_EQ(Completion(), "run one");
}

TEST_F(CatalogueRefreshTest, ALineSubmittedBeforeTheFirstBuildLandsRunsAgainstIt) {
    OpenAndType("one");
    platform.PressKey(VirtualKey::Enter);
    platform.RunPending();
    EXPECT_TRUE(platform.launches.empty());
    Land();
    platform.RunPending();
    ASSERT_EQ(platform.launches.size(), 1u);
    EXPECT_EQ(platform.launches[0].file, "C:\\one.exe");
}

TEST_F(CatalogueRefreshTest, ARequestDuringABuildMakesOneMoreBuildAfterItAndUsageSurvives) {
    Land();
    SetTackInList(app.usage, "run one", "o", true);
    WriteShortcut(temp.Path() / "Programs" / "Two.lnk", ProgramLink("C:\\two.exe"));
    BuildCatalogue(app);
    BuildCatalogue(app);
    BuildCatalogue(app);
    ASSERT_EQ(platform.backgroundWork.size(), 1u);
    ASSERT_TRUE(platform.RunBackgroundWork());
    WriteShortcut(temp.Path() / "Programs" / "Three.lnk", ProgramLink("C:\\three.exe"));
    platform.DeliverHandOvers();
    EXPECT_TRUE(Has("run two"));
    EXPECT_FALSE(Has("run three"));
    Land();
    EXPECT_TRUE(Has("run three"));
    EXPECT_EQ(Builds(), 3); // the first, and the requests made during the second as one
    EXPECT_TRUE(IsTacked(app.usage, "run one", "o"));
}

TEST_F(CatalogueRefreshTest, AShortcutWrittenOrDeletedIsFollowedOnceTheChangesSettle) {
    Land();
    ASSERT_EQ(platform.folderWatches.size(), 1u);
    WriteShortcut(temp.Path() / "Programs" / "New.lnk", ProgramLink("C:\\new.exe"));
    platform.ChangeEntry(programs + "\\New.lnk");
    platform.DeliverHandOvers();
    platform.AdvanceTime(300ms);
    platform.ChangeEntry(programs + "\\New.lnk"); // a burst: the quiet time starts again
    platform.DeliverHandOvers();
    platform.AdvanceTime(499ms);
    EXPECT_TRUE(platform.backgroundWork.empty());
    platform.AdvanceTime(1ms);
    Land();
    EXPECT_TRUE(Has("run new"));

    std::filesystem::remove(temp.Path() / "Programs" / "New.lnk");
    platform.ChangeEntry(programs + "\\New.lnk");
    platform.DeliverHandOvers();
    platform.AdvanceTime(kChangesSettle);
    Land();
    EXPECT_FALSE(Has("run new"));
    EXPECT_EQ(platform.folderWatches.size(), 1u); // the same folders: the watch is kept
}

TEST_F(CatalogueRefreshTest, OnlyTheCustomCommandListCountsInTheProgramFolder) {
    Land();
    const std::string folder = temp / "Tovlen";
    platform.ChangeEntry(folder + "\\influence.lst");
    platform.ChangeEntry(folder + "\\tovlen.log");
    platform.DeliverHandOvers();
    platform.AdvanceTime(kLongestChangeWait);
    EXPECT_TRUE(platform.backgroundWork.empty());

    WriteFile(temp.Path() / "Tovlen" / "customprograms.lst", "by hand\r\nrun c:\\hand.exe\r\n");
    platform.ChangeEntry(folder + "\\CustomPrograms.lst");
    platform.DeliverHandOvers();
    platform.AdvanceTime(kChangesSettle);
    Land();
    EXPECT_TRUE(Has("by hand"));
    // The build wrote nothing, so nothing more follows.
    platform.AdvanceTime(kLongestChangeWait);
    EXPECT_TRUE(platform.backgroundWork.empty());
}

TEST_F(CatalogueRefreshTest, ABuildThatLandsDuringASubmitWaitsForItsEnd) {
    Land();
    WriteShortcut(temp.Path() / "Programs" / "Two.lnk", ProgramLink("C:\\two.exe"));
    BuildCatalogue(app);
    app.inSubmit = true;
    Land();
    EXPECT_FALSE(Has("run two"));
    platform.AdvanceTime(1s);
    EXPECT_FALSE(Has("run two"));
    app.inSubmit = false;
    platform.AdvanceTime(1s);
    EXPECT_TRUE(Has("run two"));
}

TEST(Debounce, SettlesAQuietTimeAfterTheLastChangeButNoLaterThanTheLongestWait) {
    Debounce d{500ms, 1500ms};
    const MonotonicTime start{};
    EXPECT_FALSE(SettlesAt(d));
    NoteChange(d, start);
    NoteChange(d, start + 200ms);
    EXPECT_EQ(SettlesAt(d), start + 700ms);
    EXPECT_FALSE(TakeSettled(d, start + 699ms));
    EXPECT_TRUE(TakeSettled(d, start + 700ms));
    EXPECT_FALSE(TakeSettled(d, start + 900ms)); // once per burst

    for (std::chrono::milliseconds t = 1s; t < 3s; t += 100ms) // a folder that never stops changing
        NoteChange(d, start + t);
    EXPECT_EQ(SettlesAt(d), start + 2500ms);
}

TEST(CatalogueWatchList, WatchesWhatTheBuildReadsAndTurnsNoiseAway) {
    testing::TempFolder temp;
    WriteFile(temp.Path() / "Local" / "Google" / "Chrome" / "User Data" / "Default" / "Bookmarks", "{}");
    WriteFile(temp.Path() / "Local" / "Google" / "Chrome" / "User Data" / "Profile 1" / "Bookmarks", "{}");
    CatalogueSources sources{.programFolder = "C:\\Tovlen",
                             .commonPrograms = "C:\\All\\Programs",
                             .programs = "",
                             .favorites = "C:\\Me\\Favorites",
                             .firefoxProfiles = "C:\\Me\\Profiles\\",
                             .localAppData = temp / "Local",
                             .chromiumBookmarks = true};
    std::vector<FolderWatchRequest> list = CatalogueWatchList(sources);
    std::vector<std::string> folders;
    for (const auto& w : list)
        folders.push_back(w.folder);
    const std::string userData =
        JoinPath(JoinPath(JoinPath(temp / "Local", "Google"), "Chrome"), "User Data");
    EXPECT_EQ(folders, (std::vector<std::string>{"C:\\Tovlen", "C:\\All\\Programs", userData}));
    EXPECT_FALSE(list[0].subtree);
    EXPECT_TRUE(list[0].relevant("customprograms.lst"));
    EXPECT_TRUE(list[0].relevant("")); // the system lost count
    EXPECT_FALSE(list[0].relevant("commandtack.lst"));
    EXPECT_TRUE(list[1].subtree);
    EXPECT_TRUE(list[1].relevant("Tools\\Editor.lnk"));
    EXPECT_TRUE(list[2].relevant("Profile 1\\Bookmarks"));
    EXPECT_FALSE(list[2].relevant("Profile 1\\History"));
    EXPECT_FALSE(list[2].relevant("Default\\Cache\\Bookmarks"));

    sources.ieFavorites = sources.firefoxBookmarks = true;
    sources.chromiumBookmarks = false;
    list = CatalogueWatchList(sources);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[2].folder, "C:\\Me\\Favorites");
    EXPECT_EQ(list[3].folder, "C:\\Me\\Profiles");
    EXPECT_TRUE(list[3].relevant("abc.default\\places.sqlite"));
    EXPECT_TRUE(list[3].relevant("abc.default\\bookmarkbackups\\Bookmarks.html"));
    EXPECT_FALSE(list[3].relevant("abc.default\\places.sqlite-wal"));
    EXPECT_FALSE(SameFolders(list, CatalogueWatchList(CatalogueSources{})));
    EXPECT_TRUE(SameFolders(list, CatalogueWatchList(sources)));
}

} // namespace
} // namespace tov
