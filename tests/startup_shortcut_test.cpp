#include "app/app.h"
#include "app/startup_shortcut.h"
#include "platform/fake/fake_platform.h"
#include "platform/files.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace tov {
namespace {

TEST(StartupShortcutPath, JoinsWithoutDoublingTheBackslash) {
    EXPECT_EQ(StartupShortcutPath("C:\\ProgramData\\Startup"), "C:\\ProgramData\\Startup\\Tovlen.lnk");
    EXPECT_EQ(StartupShortcutPath("C:\\ProgramData\\Startup\\"), "C:\\ProgramData\\Startup\\Tovlen.lnk");
}

TEST(StartupShortcutFolders, AllUsersFirstThenTheUsersOwnUnlessEitherHasOne) {
    std::set<std::string> present;
    auto exists = [&](const std::string& path) { return present.contains(path); };
    const std::string common = "C:\\All\\Startup", user = "C:\\Me\\Startup\\";
    EXPECT_EQ(StartupShortcutFolders(common, user, exists), (std::vector<std::string>{common, user}));
    EXPECT_EQ(StartupShortcutFolders("", user, exists), (std::vector<std::string>{user}));
    EXPECT_TRUE(StartupShortcutFolders("", "", exists).empty());

    present = {"C:\\All\\Startup\\Tovlen.lnk"};
    EXPECT_TRUE(StartupShortcutFolders(common, user, exists).empty());
    // One in the user's own folder (an earlier start without rights) keeps the program from
    // starting twice at log-on once the all-users folder becomes writable.
    present = {"C:\\Me\\Startup\\Tovlen.lnk"};
    EXPECT_TRUE(StartupShortcutFolders(common, user, exists).empty());
}

class StartupShortcut : public ::testing::Test {
  protected:
    void SetUp() override {
        platform.specialFolders[KnownFolder::CommonStartup] = common;
        platform.specialFolders[KnownFolder::Startup] = user;
    }
    void Start() {
        App app(platform);
        EnsureStartupShortcut(app);
    }

    testing::TempFolder commonFolder, userFolder;
    const std::string common = commonFolder.Path().string(), user = userFolder.Path().string() + "\\";
    FakePlatform platform;
};

TEST_F(StartupShortcut, IsCreatedInTheAllUsersFolderOnceAndAgainWhenDeleted) {
    Start();
    ASSERT_EQ(platform.shortcuts.size(), 1u);
    const ShortcutRequest& made = platform.shortcuts[0];
    EXPECT_EQ(made.folder, common);
    EXPECT_EQ(made.name, "Tovlen");
    EXPECT_EQ(made.targetPath, "C:\\Program Files\\Tovlen\\Tovlen.exe");
    EXPECT_EQ(made.workingDirectory, "C:\\Program Files\\Tovlen");
    EXPECT_TRUE(PathExists(common + "\\Tovlen.lnk"));

    Start();
    EXPECT_EQ(platform.shortcuts.size(), 1u);

    RemoveFile(common + "\\Tovlen.lnk");
    Start();
    EXPECT_EQ(platform.shortcuts.size(), 2u);
}

TEST_F(StartupShortcut, AnOrdinaryUserGetsOneInTheirOwnFolderQuietly) {
    platform.readOnlyFolders.insert(common);
    Start();
    ASSERT_EQ(platform.shortcuts.size(), 2u);
    EXPECT_EQ(platform.shortcuts[1].folder, user);
    EXPECT_TRUE(PathExists(user + "Tovlen.lnk"));
    EXPECT_FALSE(PathExists(common + "\\Tovlen.lnk"));
    EXPECT_TRUE(platform.messageBoxes.empty());

    Start(); // the user's own shortcut is enough: no more attempts at every start
    EXPECT_EQ(platform.shortcuts.size(), 2u);
}

TEST_F(StartupShortcut, NoWritableFolderAndNoFoldersAtAllAreQuiet) {
    platform.readOnlyFolders = {common, user};
    Start();
    EXPECT_EQ(platform.shortcuts.size(), 2u);
    EXPECT_TRUE(platform.messageBoxes.empty());

    platform.specialFolders.clear();
    platform.shortcuts.clear();
    Start();
    EXPECT_TRUE(platform.shortcuts.empty()); // never a shortcut at the root of the drive
}

// An administrator running the per-user install once put it into every user's log-on.
TEST_F(StartupShortcut, AProgramItsUserCanChangeStartsOnlyForThatUser) {
    platform.programsOthersCanChange.insert("C:\\Program Files\\Tovlen\\Tovlen.exe");
    Start();
    ASSERT_EQ(platform.shortcuts.size(), 1u);
    EXPECT_EQ(platform.shortcuts[0].folder, user);
    EXPECT_FALSE(PathExists(common + "\\Tovlen.lnk"));

    // One that an earlier version put into the all-users folder keeps a second one away.
    RemoveFile(user + "Tovlen.lnk");
    ASSERT_TRUE(ReplaceFileContents(common + "\\Tovlen.lnk", "link"));
    Start();
    EXPECT_EQ(platform.shortcuts.size(), 1u);
}

TEST_F(StartupShortcut, NothingIsWrittenWhenTheProgramFolderIsUnknown) {
    platform.programFolder.clear();
    Start();
    EXPECT_TRUE(platform.shortcuts.empty());
}

} // namespace
} // namespace tov
