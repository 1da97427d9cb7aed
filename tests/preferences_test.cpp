#include "prefs_fixture.h"

#include "platform/settings_store.h"

#include <algorithm>
#include <array>
#include <filesystem>

namespace tov::testing {
namespace {

using Preferences = PreferencesTest;

TEST_F(Preferences, OpensOnceNonModalWithTheValuesInMemory) {
    app.state.Transparency = 180;
    app.state.CheckBeforeShutdown = 0;
    app.state.ShowIEFavorites = 1;
    SaveSetting(platform, "showsuggestions", "7");
    app.state.SuggestionCount = 3; // the window shows the stored number, not this one
    Form& f = Open();
    EXPECT_EQ(f.caption, "Tovlen Preferences");
    EXPECT_TRUE(f.visible);
    EXPECT_TRUE(f.style.activateOnShow);
    EXPECT_EQ(f.At(frmPrefs::sdrTransparency).value, 180);
    EXPECT_EQ(f.At(frmPrefs::udSuggestions).value, 7);
    EXPECT_EQ(f.At(frmPrefs::lblSuggestions).text, "7");
    EXPECT_EQ(f.At(frmPrefs::chkCheckBeforeShutdown).value, 0);
    EXPECT_EQ(f.At(frmPrefs::chkIEFavorites).value, 1);
    EXPECT_EQ(f.At(frmPrefs::chkNearMatches).value, 1);
    EXPECT_EQ(f.At(frmPrefs::lblKeyMap).text, "Caps Lock");
    EXPECT_EQ(f.At(frmPrefs::lblWebAddress).text, kProductWebAddress);
    EXPECT_FALSE(f.At(frmPrefs::fmeAddCommand).visible);
    EXPECT_FALSE(f.At(frmPrefs::cmdRemoveProgram).enabled);

    ShowPreferences(app); // a second opening only shows the window that is there
    EXPECT_EQ(&Prefs(), &f);
    EXPECT_EQ(std::count(platform.calls.begin(), platform.calls.end(), "CreateFormWindow frmPrefs"), 1);

    Click(frmPrefs::cmdOkay);
    EXPECT_EQ(app.forms.frmPrefs, nullptr);
}

TEST_F(Preferences, TheLeftColumnsFramesFollowOneAnotherAndEndWithTheRightColumn) {
    const Form& f = Open();
    const auto bottom = [&](ControlName frame) { return f.At(frame).rect.top + f.At(frame).rect.height; };
    const std::array left = {frmPrefs::fmeUpdates, frmPrefs::fmeSuggestions, frmPrefs::fmeKeyMapping,
                             frmPrefs::fmeTransparency, frmPrefs::fmeWindowPlace};
    for (std::size_t k = 1; k < left.size(); ++k)
        EXPECT_LE(bottom(left[k - 1]), f.At(left[k]).rect.top) << k;
    EXPECT_EQ(bottom(left.back()), bottom(frmPrefs::fmeUserCommands));
}

TEST_F(Preferences, CheckBoxesStoreZeroOrOneAndTheValueInMemory) {
    struct Box {
        ControlName control;
        const char* key;
        std::int16_t* value;
    };
    app.state.FirefoxProfilesDir = folder.Path().string(); // a folder that exists
    Open();
    for (const Box& box :
         {Box{frmPrefs::chkCheckBeforeShutdown, "checkbeforeshutdown", &app.state.CheckBeforeShutdown},
          Box{frmPrefs::chkIEFavorites, "showiefavs", &app.state.ShowIEFavorites},
          Box{frmPrefs::chkFFFavorites, "showfffavs", &app.state.ShowFFFavorites},
          Box{frmPrefs::chkChromiumFavorites, "showchromium", &app.state.ShowChromiumBookmarks},
          Box{frmPrefs::chkApps, "showapps", &app.state.ShowApps},
          Box{frmPrefs::chkNearMatches, kNearMatchesSetting, &app.state.NearMatches}}) {
        const int before = Prefs().At(box.control).value;
        Click(box.control);
        EXPECT_EQ(Setting(box.key), before ? "0" : "1") << box.control.Text();
        EXPECT_EQ(*box.value, before ? 0 : 1) << box.control.Text();
        Click(box.control);
        EXPECT_EQ(Setting(box.key), before ? "1" : "0") << box.control.Text();
        EXPECT_EQ(*box.value, before ? 1 : 0) << box.control.Text();
    }
}

TEST_F(Preferences, TheSourceBoxesRebuildTheCatalogueAndTheShutdownBoxDoesNot) {
    const std::string favorites = folder / "Favorites";
    std::filesystem::create_directory(HostPath(favorites));
    std::ofstream(HostPath(favorites + "\\Example.url"), std::ios::binary)
        << "[InternetShortcut]\r\nURL=http://example.org/\r\n";
    platform.specialFolders[KnownFolder::Favorites] = favorites;
    app.state.FirefoxProfilesDir = folder.Path().string();
    platform.installedApps = {{"Calculator", "Microsoft.WindowsCalculator_8wekyb3d8bbwe!App"}};
    Rebuild();
    for (const auto& [box, entry] : {std::pair{frmPrefs::chkIEFavorites, "example (ie bookmark)"},
                                     std::pair{frmPrefs::chkApps, "Calculator"}}) {
        ASSERT_TRUE(IsInCommandTable(app.catalogue, entry));
        Open();
        Click(box);
        EXPECT_FALSE(IsInCommandTable(app.catalogue, entry)) << box.Text();
        Click(box);
        EXPECT_TRUE(IsInCommandTable(app.catalogue, entry)) << box.Text();
    }

    // A command written behind the program's back shows up only when something rebuilds.
    WriteListFile("later\r\nrun c:\\later.exe\r\n");
    Click(frmPrefs::chkCheckBeforeShutdown);
    EXPECT_FALSE(HasCustom("later"));
    Click(frmPrefs::chkFFFavorites);
    EXPECT_TRUE(HasCustom("later"));
    WriteListFile("sooner\r\nrun c:\\sooner.exe\r\n");
    Click(frmPrefs::chkChromiumFavorites);
    EXPECT_TRUE(HasCustom("sooner"));
}

TEST_F(Preferences, TheUpDownStoresEveryStep) {
    Open();
    for (int value : {11, 12, 13, 12}) {
        platform.ChangeValue(Prefs(), frmPrefs::udSuggestions, value);
        EXPECT_EQ(Prefs().At(frmPrefs::lblSuggestions).text, std::to_string(value));
        EXPECT_EQ(Setting("showsuggestions"), std::to_string(value));
        EXPECT_EQ(app.state.SuggestionCount, value);
    }
    platform.ChangeValue(Prefs(), frmPrefs::udSuggestions, 50);
    EXPECT_EQ(Setting("showsuggestions"), "20");
}

TEST_F(Preferences, TheSliderStoresAndAppliesTheOpacity) {
    UnloadForm(app.platform, app.forms, app.forms.frmCommandSuggestion);
    Open();
    platform.ChangeValue(Prefs(), frmPrefs::sdrTransparency, 100);
    ASSERT_NE(app.forms.frmCommandSuggestion, nullptr); // made for the purpose
    EXPECT_EQ(Setting("windowtransparency"), "100");
    EXPECT_EQ(app.state.Transparency, 100);
    EXPECT_EQ(platform.opacity[app.forms.frmCommandSuggestion->handle], 100);
    platform.ChangeValue(Prefs(), frmPrefs::sdrTransparency, 255);
    EXPECT_EQ(Setting("windowtransparency"), "255");
    EXPECT_EQ(platform.opacity[app.forms.frmCommandSuggestion->handle], 255);

    Click(frmPrefs::cmdOkay);
    Open(); // a new load starts from the values in memory
    EXPECT_EQ(Prefs().At(frmPrefs::sdrTransparency).value, 255);
}

TEST_F(Preferences, FirefoxNotFoundUntilLocated) {
    app.state.FirefoxProfilesDir = folder / "no such folder\\";
    Open();
    EXPECT_EQ(Prefs().At(frmPrefs::chkFFFavorites).text, "Firefox Not Found");
    EXPECT_FALSE(Prefs().At(frmPrefs::chkFFFavorites).enabled);

    // A cancelled dialog ends the search without a word.
    Click(frmPrefs::cmdFFLocate);
    ASSERT_EQ(platform.messageBoxes.size(), 1u);
    EXPECT_EQ(platform.messageBoxes[0].text, "Please find and select firefox.exe");
    EXPECT_EQ(platform.messageBoxes[0].title, "Tovlen");
    ASSERT_EQ(platform.openFileRequests.size(), 1u);
    EXPECT_EQ(platform.openFileRequests[0].title, "Select Program");
    EXPECT_EQ(platform.openFileRequests[0].filter, "*.exe");

    const std::string firefox = folder / "Mozilla Firefox";
    std::filesystem::create_directory(HostPath(firefox));
    platform.openFileAnswers.push_back(firefox + "\\firefox.exe");
    Click(frmPrefs::cmdFFLocate);
    ASSERT_EQ(platform.messageBoxes.size(), 3u);
    EXPECT_EQ(platform.messageBoxes[2].text,
              "Could not locate bookmarks file.\r\n\r\n" + firefox + "\\defaults\\profile\\bookmarks.html");
    EXPECT_FALSE(Prefs().At(frmPrefs::chkFFFavorites).enabled);

    std::filesystem::create_directories(HostPath(firefox + "\\defaults\\profile"));
    std::ofstream(HostPath(firefox + "\\defaults\\profile\\bookmarks.html")) << "<html></html>";
    platform.openFileAnswers.push_back(firefox + "\\firefox.exe");
    Click(frmPrefs::cmdFFLocate);
    ASSERT_EQ(platform.messageBoxes.size(), 5u);
    EXPECT_EQ(platform.messageBoxes[4].text,
              "Bookmarks found. Tovlen can now import your Firefox bookmarks.");
    EXPECT_EQ(app.state.FirefoxProfilesDir, firefox + "\\");
    EXPECT_EQ(Setting("ffdir"), firefox + "\\");
    EXPECT_FALSE(Prefs().At(frmPrefs::cmdFFLocate).enabled);
    EXPECT_TRUE(Prefs().At(frmPrefs::chkFFFavorites).enabled);
    EXPECT_EQ(Prefs().At(frmPrefs::chkFFFavorites).text, "Include FireFox Favorites");
}

TEST_F(Preferences, TheLinkOpensTheProductSite) {
    Open();
    Click(frmPrefs::lblWebAddress);
    ASSERT_FALSE(platform.launches.empty());
    EXPECT_EQ(platform.launches.back().file, kProductWebAddress);
}

TEST_F(Preferences, ChangeTakesTheNextKeyPressAsTheActivationKey) {
    app.state.Transparency = 200;
    Open();
    bool sawPrompt = false;
    platform.arrivingEvents.push_back([&] {
        ASSERT_NE(app.forms.frmRemap, nullptr);
        const Form& remap = *app.forms.frmRemap;
        sawPrompt = remap.visible && app.state.CapturingKey;
        EXPECT_EQ(remap.At(frmRemap::lblRemap).text, "Press the key you want to use to show Tovlen.");
        EXPECT_EQ(platform.opacity[remap.handle], 200);
        // The release of whatever started the wait is not the new key.
        EXPECT_EQ(platform.SendKey(VirtualKey::Enter, KeyMessage::KeyUp), HookDecision::Pass);
    });
    platform.arrivingEvents.push_back([&] {
        // The current activation key does not open the window now: it is a candidate like any other.
        EXPECT_EQ(platform.PressKey(VirtualKey::F8), HookDecision::Swallow);
    });
    Click(frmPrefs::cmdRemap);
    EXPECT_TRUE(sawPrompt);
    EXPECT_FALSE(app.state.CapturingKey);
    EXPECT_EQ(app.state.ActivationKey, 119);
    EXPECT_EQ(Setting("mappedkey"), "119");
    EXPECT_EQ(app.forms.frmRemap, nullptr);
    EXPECT_EQ(Prefs().At(frmPrefs::lblKeyMap).text, "F8");

    EXPECT_EQ(platform.PressKey(VirtualKey::CapsLock), HookDecision::Pass);
    EXPECT_EQ(platform.PressKey(VirtualKey::F8), HookDecision::Swallow);
    platform.RunPending();
    EXPECT_TRUE(app.state.WindowOpen);
    platform.PressKey(VirtualKey::Escape);

    Click(frmPrefs::cmdKeyMapReset);
    EXPECT_EQ(Setting("mappedkey"), "20");
    EXPECT_EQ(app.state.ActivationKey, 20);
    EXPECT_EQ(Prefs().At(frmPrefs::lblKeyMap).text, "Caps Lock");
    EXPECT_EQ(platform.PressKey(VirtualKey::F8), HookDecision::Pass);
    EXPECT_EQ(platform.PressKey(VirtualKey::CapsLock), HookDecision::Swallow);
}

TEST_F(Preferences, ChangeTakesTheKeyWhileTovlenIsDisabled) {
    Open();
    TellEnabled(platform, app.state, false);
    platform.arrivingEvents.push_back(
        [&] { EXPECT_EQ(platform.PressKey(VirtualKey::F8), HookDecision::Swallow); });
    // Were the key missed, the wait would end only with the program.
    platform.arrivingEvents.push_back([&] { app.state.Running = false; });
    Click(frmPrefs::cmdRemap);
    EXPECT_EQ(app.state.ActivationKey, 119);
    EXPECT_EQ(Prefs().At(frmPrefs::lblKeyMap).text, "F8");
    EXPECT_EQ(platform.PressKey(VirtualKey::F8), HookDecision::Pass) << "still disabled";
}

TEST_F(Preferences, TheWaitEndsWhenTheProgramEndsOrTheWindowCloses) {
    Open();
    platform.arrivingEvents.push_back([&] { Click(frmPrefs::cmdOkay); });
    platform.arrivingEvents.push_back([&] { app.state.Running = false; });
    platform.ClickControl(Prefs(), frmPrefs::cmdRemap);
    EXPECT_FALSE(app.state.CapturingKey);
    platform.RunPending();
    EXPECT_FALSE(app.state.Input->capturingKey) << "the input thread was told";
    EXPECT_EQ(app.forms.frmRemap, nullptr);
    EXPECT_EQ(app.forms.frmPrefs, nullptr);
    EXPECT_EQ(app.state.ActivationKey, 20);
}

} // namespace
} // namespace tov::testing
