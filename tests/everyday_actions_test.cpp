// The calculator in the line, the Settings app's pages, and the keys that run a program as
// administrator or show its file in its folder, driven through the fake as a user would.
#include "app/app.h"
#include "app/catalogue_build.h"
#include "app/program.h"
#include "app/settings.h"
#include "catalogue/custom_commands.h"
#include "catalogue/match_forms.h"
#include "platform/fake/fake_platform.h"
#include "platform/settings_store.h"
#include "suggest/accessible_view.h"
#include "suggest/command_window.h"
#include "suggest/suggestion_form.h"
#include "support/shortcut_writer.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace tov {
namespace {

constexpr const char* kNotepad = "C:\\Windows\\notepad.exe";
constexpr const char* kFileKeys =
    "Enter runs it, Ctrl+Enter opens its folder, Ctrl+Shift+Enter runs it as administrator";

class EverydayActions : public ::testing::Test {
  protected:
    void SetUp() override {
        platform.programFolder = folder.Path().string();
        platform.settings["Tovlen\\settings\\showwelcome"] = "0"; // it would take the foreground
        platform.foreground = platform.AddWindow("Untitled - Notepad");
        Startup(app);
        platform.RunPending(); // the first catalogue lands
        AddCommandEntry(app.catalogue, {kNotepad, "Notepad", "/a", "C:\\Work", {}});
        AddCommandEntry(app.catalogue, {"https://example.org/", "example bookmark", {}, "C:\\", {}});
        AddCommandEntry(app.catalogue,
                        {"shell:AppsFolder\\Microsoft.WindowsCalculator", "calculator", {}, {}, {}});
    }
    void Type(std::string_view text) {
        platform.PressKey(VirtualKey::CapsLock);
        platform.TypeText(text);
        platform.RunPending();
    }
    void Enter(ModifierKeys held = ModifierKeys::None) {
        platform.controlDown = HasFlag(held, ModifierKeys::Control);
        platform.shiftDown = HasFlag(held, ModifierKeys::Shift);
        platform.PressKey(VirtualKey::Enter);
        platform.controlDown = platform.shiftDown = false;
        platform.RunPending();
    }
    std::string Completion() { return app.forms.frmMain->At(frmMain::lblCommandBack).text; }
    std::string Description() { return app.forms.frmMain->At(frmMain::lblDescription).text; }
    std::vector<AccessiblePart> Rows() { return DescribeSuggestions(*app.forms.frmCommandSuggestion).parts; }

    testing::TempFolder folder;
    FakePlatform platform;
    App app{platform};
};

TEST_F(EverydayActions, ArithmeticShowsItsResultFirstAndEnterCopiesIt) {
    Type("12*(3+4)");
    EXPECT_EQ(Completion(), "12*(3+4) = 84");
    EXPECT_EQ(Description(), "Enter copies the result");
    const std::vector<AccessiblePart> rows = Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].name, "= 84");
    EXPECT_TRUE(rows[0].selected);
    EXPECT_EQ(rows[0].description, "1 of 1, Enter copies it");

    Enter();
    EXPECT_EQ(platform.clipboard, "84");
    ASSERT_EQ(platform.balloons.size(), 1u);
    EXPECT_EQ(platform.balloons[0].text, "Copied 84");
    EXPECT_EQ(platform.balloons[0].icon, BalloonIcon::Information);
    EXPECT_TRUE(platform.launches.empty());
    EXPECT_FALSE(app.state.WindowOpen);
    EXPECT_EQ(app.forms.frmMain, nullptr);
}

TEST_F(EverydayActions, PhrasesThatAlsoMatchStayUnderTheResultAndRunFromThere) {
    AddCommandEntry(app.catalogue, {"C:\\Reports\\2024-1.xlsx", "2024-1 report", {}, {}, {}});
    AddCommandEntry(app.catalogue, {"C:\\Reports\\2024-1 summary.docx", "2024-1 summary", {}, {}, {}});
    Type("2024-1");
    std::vector<AccessiblePart> rows = Rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].name, "= 2023");
    EXPECT_EQ(rows[1].name, "run 2024-1 report");
    EXPECT_EQ(rows[2].name, "run 2024-1 summary");
    platform.PressKey(VirtualKey::Down);
    platform.RunPending();
    rows = Rows();
    EXPECT_FALSE(rows[0].selected);
    EXPECT_TRUE(rows[1].selected);
    EXPECT_EQ(Completion(), "run 2024-1 report");
    Enter();
    ASSERT_EQ(platform.launches.size(), 1u);
    EXPECT_EQ(platform.launches[0].file, "C:\\Reports\\2024-1.xlsx");
    EXPECT_TRUE(platform.clipboard.empty());
}

TEST_F(EverydayActions, ANearMatchUnderTheResultIsMarkedAndTakesItsKeys) {
    AddCommandEntry(app.catalogue, {"C:\\Reports\\2024-1.xlsx", "2024-1 report", {}, {}, {}});
    app.catalogue.forms = BuildMatchForms(app.catalogue.phrases);
    Type("2024-2");
    const std::vector<AccessiblePart> rows = Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].name, "= 2022");
    EXPECT_EQ(rows[0].description, "1 of 2, Enter copies it");
    EXPECT_EQ(rows[1].name, "run 2024-1 report");
    EXPECT_EQ(rows[1].description, "2 of 2, near match, " + std::string(kFileKeys));
    platform.PressKey(VirtualKey::Down);
    Enter(ModifierKeys::Control);
    ASSERT_EQ(platform.launches.size(), 1u);
    EXPECT_EQ(platform.launches[0].verb, LaunchVerb::ShowInFolder);
    EXPECT_EQ(platform.launches[0].file, "C:\\Reports\\2024-1.xlsx");
    EXPECT_TRUE(platform.clipboard.empty());
}

TEST_F(EverydayActions, TheLocalesSeparatorIsReadAndWritten) {
    platform.decimalSeparator = ",";
    Type("2,5/2");
    EXPECT_EQ(Completion(), "2,5/2 = 1,25");
    Enter();
    EXPECT_EQ(platform.clipboard, "1,25");
}

TEST_F(EverydayActions, WhatIsNoCalculationShowsAndChangesNothingMore) {
    for (const char* line : {"1/0", "2+", "10^400"}) {
        Type(line);
        EXPECT_EQ(Completion(), "") << line;
        EXPECT_EQ(Description(), "") << line;
        EXPECT_FALSE(app.forms.frmCommandSuggestion->visible) << line;
        Enter();
    }
    Type("note");
    EXPECT_EQ(Completion(), "run notepad");
    EXPECT_EQ(Rows().front().name, "run notepad");
    platform.PressKey(VirtualKey::Escape);
    platform.RunPending();
    EXPECT_TRUE(platform.clipboard.empty());
    EXPECT_TRUE(platform.balloons.empty());
    EXPECT_TRUE(platform.launches.empty());
}

TEST_F(EverydayActions, ABusyClipboardIsSaidAndKeepsWhatItHeld) {
    platform.clipboard = "before";
    platform.clipboardBusy = true;
    Type("6*7");
    Enter();
    EXPECT_EQ(platform.clipboard, "before");
    ASSERT_EQ(platform.balloons.size(), 1u);
    EXPECT_EQ(platform.balloons[0].icon, BalloonIcon::Warning);
    EXPECT_NE(platform.balloons[0].text.find("42"), std::string::npos);
}

TEST_F(EverydayActions, CtrlEnterShowsTheProgramsFileInItsFolder) {
    Type("notep");
    Enter(ModifierKeys::Control);
    ASSERT_EQ(platform.launches.size(), 1u);
    EXPECT_EQ(platform.launches[0].verb, LaunchVerb::ShowInFolder);
    EXPECT_EQ(platform.launches[0].file, kNotepad);
    EXPECT_FALSE(app.state.WindowOpen);
}

TEST_F(EverydayActions, EachWaitingLineKeepsTheModifiersItsEnterWasPressedWith) {
    // Both lines are frozen before the main thread runs either, and Ctrl is up by then.
    for (const bool control : {true, false}) {
        platform.PressKey(VirtualKey::CapsLock);
        platform.TypeText("notep");
        platform.controlDown = control;
        platform.PressKey(VirtualKey::Enter);
        platform.controlDown = false;
    }
    platform.RunPending();
    ASSERT_EQ(platform.launches.size(), 2u);
    EXPECT_EQ(platform.launches[0].verb, LaunchVerb::ShowInFolder);
    EXPECT_EQ(platform.launches[1].verb, LaunchVerb::Open);
}

TEST_F(EverydayActions, CtrlShiftEnterRunsItAsAdministrator) {
    Type("notep");
    Enter(ModifierKeys::Control | ModifierKeys::Shift);
    ASSERT_EQ(platform.launches.size(), 1u);
    const FakeLaunch& launch = platform.launches[0];
    EXPECT_EQ(launch.verb, LaunchVerb::RunAs);
    EXPECT_EQ(launch.file, kNotepad);
    EXPECT_EQ(launch.parameters, "/a");
    EXPECT_EQ(launch.workingFolder, "C:\\Work");
    EXPECT_FALSE(app.state.WindowOpen);
}

TEST_F(EverydayActions, ACustomCommandThatRunsAProgramTakesBothKeys) {
    testing::WriteFile(folder.Path() / kCustomCommandsFile, "editor\r\nrun notepad\r\n");
    LoadCustomCommands(app.catalogue, platform.programFolder);
    Type("editor");
    Enter(ModifierKeys::Control | ModifierKeys::Shift);
    Type("editor");
    Enter(ModifierKeys::Control);
    ASSERT_EQ(platform.launches.size(), 2u);
    EXPECT_EQ(platform.launches[0].verb, LaunchVerb::RunAs);
    EXPECT_EQ(platform.launches[1].verb, LaunchVerb::ShowInFolder);
    EXPECT_EQ(platform.launches[1].file, kNotepad);
}

TEST_F(EverydayActions, CtrlEnterOnAShortcutShowsTheFileItStarts) {
    const std::filesystem::path link = folder.Path() / "Tool.lnk";
    testing::WriteShortcut(link, testing::ProgramLink("C:\\Tools\\tool.exe"));
    testing::WriteFile(folder.Path() / kCustomCommandsFile, "tool\r\nrun " + link.string() + "\r\n");
    LoadCustomCommands(app.catalogue, platform.programFolder);
    Type("tool");
    Enter(ModifierKeys::Control);
    Type("tool");
    Enter();
    ASSERT_EQ(platform.launches.size(), 2u);
    EXPECT_EQ(platform.launches[0].verb, LaunchVerb::ShowInFolder);
    EXPECT_EQ(platform.launches[0].file, "C:\\Tools\\tool.exe");
    EXPECT_EQ(platform.launches[1].verb, LaunchVerb::Open);
    EXPECT_EQ(platform.launches[1].file, link.string());
}

TEST_F(EverydayActions, TheNewKeysAskNothingOfWhatRunsNoFile) {
    for (const char* line : {"example bookmark", "calculator", "exit", "settings wifi", "12*(3+4)"}) {
        for (const ModifierKeys held : {ModifierKeys::Control, ModifierKeys::Control | ModifierKeys::Shift}) {
            Type(line);
            Enter(held);
            EXPECT_TRUE(platform.launches.empty()) << line;
            EXPECT_TRUE(app.state.Running) << line;
            EXPECT_FALSE(app.state.WindowOpen) << line;
        }
    }
    EXPECT_TRUE(platform.clipboard.empty());
}

TEST_F(EverydayActions, ShiftEnterCtrlAltEnterAndTheActivationKeyRunAsEnterDoes) {
    struct Submit {
        ModifierKeys held;
        VirtualKey key;
    };
    for (const Submit submit :
         {Submit{ModifierKeys::None, VirtualKey::Enter}, Submit{ModifierKeys::Shift, VirtualKey::Enter},
          Submit{ModifierKeys::Control | ModifierKeys::Alt, VirtualKey::Enter},
          Submit{ModifierKeys::Control | ModifierKeys::Shift, VirtualKey::CapsLock}}) {
        platform.launches.clear();
        Type("notep");
        platform.controlDown = HasFlag(submit.held, ModifierKeys::Control);
        platform.shiftDown = HasFlag(submit.held, ModifierKeys::Shift);
        platform.altDown = HasFlag(submit.held, ModifierKeys::Alt);
        platform.PressKey(submit.key);
        platform.controlDown = platform.shiftDown = platform.altDown = false;
        platform.RunPending();
        ASSERT_EQ(platform.launches.size(), 1u);
        EXPECT_EQ(platform.launches[0].verb, LaunchVerb::Open);
        EXPECT_EQ(platform.launches[0].parameters, "/a");
    }
}

TEST_F(EverydayActions, EachRowSaysWhichKeysItTakes) {
    testing::WriteFile(folder.Path() / kCustomCommandsFile, "editor\r\nrun notepad\r\n");
    LoadCustomCommands(app.catalogue, platform.programFolder);
    const std::string withFileKeys = kFileKeys;
    for (const auto& [typed, row, keys] :
         {std::tuple{"notep", "run notepad", withFileKeys}, std::tuple{"editor", "editor", withFileKeys},
          std::tuple{"example b", "run example bookmark", std::string("Enter runs it")},
          std::tuple{"calcu", "run calculator", std::string("Enter runs it")},
          std::tuple{"exi", "exit", std::string("Enter runs it")}}) {
        Type(typed);
        const std::vector<AccessiblePart> rows = Rows();
        ASSERT_EQ(rows.size(), 1u) << typed;
        EXPECT_EQ(rows[0].name, row);
        EXPECT_EQ(rows[0].description, "1 of 1, " + keys);
        platform.PressKey(VirtualKey::Escape);
    }
}

TEST_F(EverydayActions, SettingsPhrasesOpenTheirPages) {
    Type("wifi");
    EXPECT_EQ(Completion(), "settings wifi");
    Enter();
    Type("settings");
    EXPECT_EQ(Completion(), "settings");
    Enter();
    ASSERT_EQ(platform.launches.size(), 2u);
    EXPECT_EQ(platform.launches[0].file, "ms-settings:network-wifi");
    EXPECT_EQ(platform.launches[0].verb, LaunchVerb::Open);
    EXPECT_EQ(platform.launches[1].file, "ms-settings:");

    // Turned off, the pages are neither offered nor opened once the catalogue is rebuilt.
    SaveSetting(platform, kSettingsPagesSetting, "0");
    LoadSettings(platform, app.state);
    BuildCatalogue(app);
    platform.RunPending();
    EXPECT_EQ(std::ranges::count(app.catalogue.phrases, "settings wifi"), 0);
    Type("settings wifi");
    Enter();
    EXPECT_EQ(platform.launches.size(), 2u);
}

} // namespace
} // namespace tov
