// Where the windows open on a desktop of several monitors with scales and taskbars of their
// own, and what they do when a monitor's scale changes while they are open.
#include "app/app.h"
#include "app/contexts.h"
#include "app/program.h"
#include "catalogue/match_forms.h"
#include "platform/fake/fake_platform.h"
#include "prefs/preferences.h"
#include "prefs/preferences_form.h"
#include "suggest/command_window.h"
#include "suggest/suggestion_form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace tov {

void PrintTo(const Rect& r, std::ostream* out) {
    *out << r.left << "," << r.top << " " << r.width << "x" << r.height;
}

namespace {

// The primary monitor at 100 % with the taskbar along its bottom, and left of it a laptop's
// screen at 200 % with the taskbar along its left edge.
constexpr Monitor kPrimary{
    .bounds = {0, 0, 1920, 1080}, .workArea = {0, 0, 1920, 1040}, .dpi = 96, .primary = true};
constexpr Monitor kLaptop{
    .bounds = {-2560, 200, 2560, 1600}, .workArea = {-2464, 200, 2464, 1600}, .dpi = 192};
constexpr std::size_t kLaptopIndex = 1;

class Placement : public ::testing::Test {
  protected:
    void SetUp() override {
        platform.monitors = {kPrimary, kLaptop};
        platform.settings["Tovlen\\settings\\showwelcome"] = "0";
        editor = platform.AddWindow("Untitled - Notepad");
        platform.windows[editor].rect = {-2000, 400, 800, 600};
        platform.foreground = editor;
    }
    void Start() { Startup(app); }
    void Open(std::string_view text) {
        platform.PressKey(VirtualKey::CapsLock);
        platform.TypeText(text);
        platform.RunPending();
    }
    void Close() {
        platform.PressKey(VirtualKey::Escape);
        platform.RunPending();
    }
    Form& Main() { return *app.forms.frmMain; }
    Form& Suggestions() { return *app.forms.frmCommandSuggestion; }
    int Bottom(const Rect& r) const { return r.top + r.height; }

    FakePlatform platform;
    App app{platform};
    WindowHandle editor = 0;
};

TEST_F(Placement, TheWindowsOpenInTheWorkAreaCornerOfTheMonitorOfTheWindowInFront) {
    Start();
    Open("o");
    // Clear of the taskbar at the laptop's left, at twice the size.
    EXPECT_EQ(ScreenRect(Main()), (Rect{-2464, 200, 1200, 100}));
    EXPECT_EQ(Main().dpi, 192);
    const Rect rows = ScreenRect(Suggestions());
    EXPECT_TRUE(Suggestions().visible);
    EXPECT_EQ(rows.left, -2464);
    EXPECT_EQ(rows.top, 300);
    EXPECT_EQ(rows.width, 1200);
    Close();

    platform.windows[editor].rect = {300, 300, 800, 600}; // the user went to the other monitor
    Open("o");
    EXPECT_EQ(ScreenRect(Main()), (Rect{0, 0, 600, 50}));
    EXPECT_EQ(ScreenRect(Suggestions()).top, 50);
    Close();

    // With no window in front, or the desktop, which stretches over both, the monitor under the
    // mouse pointer is where the user is.
    platform.foreground = 0;
    platform.cursor = {-100, 900};
    Open("o");
    EXPECT_EQ(ScreenRect(Main()), (Rect{-2464, 200, 1200, 100}));
    Close();
    const WindowHandle desktop = platform.AddWindow("Program Manager", false);
    platform.windows[desktop].desktop = true;
    platform.windows[desktop].rect = {-2560, 0, 4480, 1800};
    platform.foreground = desktop;
    platform.cursor = {100, 100};
    Open("o");
    EXPECT_EQ(ScreenRect(Main()), (Rect{0, 0, 600, 50}));
}

TEST_F(Placement, EveryOtherWindowOpensCentredOnTheMonitorTheUserWorksOnAtItsScale) {
    const auto centred = [](const Form& f, bool vertically = true) {
        const Rect r = ScreenRect(f);
        const Rect& area = kLaptop.workArea;
        const bool across = std::abs(2 * r.left + r.width - (2 * area.left + area.width)) <= 2;
        const bool down = std::abs(2 * r.top + r.height - (2 * area.top + area.height)) <= 2;
        return f.dpi == kLaptop.dpi && across && (down || !vertically) && r.top >= area.top &&
               r.top + r.height <= area.top + area.height;
    };
    platform.settings["Tovlen\\settings\\showwelcome"] = "1";
    bool splashCentred = false;
    platform.hookQueue.push_back(
        [&] { splashCentred = app.forms.frmLoad && centred(*app.forms.frmLoad, false); });
    Start();
    EXPECT_TRUE(splashCentred);
    ASSERT_NE(app.forms.frmWelcome, nullptr);
    EXPECT_TRUE(centred(*app.forms.frmWelcome));
    ShowPreferences(app);
    EXPECT_TRUE(centred(*app.forms.frmPrefs));

    // The key prompt stands over the preferences, whose button asked for it, wherever the window
    // the user worked in has gone since.
    platform.windows[editor].rect = {300, 300, 800, 600};
    bool promptCentred = false;
    platform.arrivingEvents.push_back([&] {
        promptCentred = app.forms.frmRemap && centred(*app.forms.frmRemap);
        platform.PressKey(VirtualKey::F8);
    });
    platform.ClickControl(*app.forms.frmPrefs, frmPrefs::cmdRemap);
    EXPECT_TRUE(promptCentred);
}

TEST_F(Placement, TheSettingPutsThemOnThePrimaryMonitorAndThePreferencesTurnItOnAndOff) {
    platform.settings["Tovlen\\settings\\workingmonitor"] = "0";
    Start();
    Open("o");
    EXPECT_EQ(ScreenRect(Main()), (Rect{0, 0, 600, 50}));
    Close();

    // The preferences open on that monitor too, centred in its work area.
    ShowPreferences(app);
    Form& prefs = *app.forms.frmPrefs;
    EXPECT_EQ(prefs.origin.x, 0);
    EXPECT_EQ(prefs.rect.left, (1920 - prefs.rect.width) / 2);
    EXPECT_EQ(prefs.At(frmPrefs::chkWorkingMonitor).value, 0);
    platform.ClickControl(prefs, frmPrefs::chkWorkingMonitor);
    EXPECT_EQ(platform.settings["Tovlen\\settings\\workingmonitor"], "1");
    platform.foreground = editor;
    Open("o");
    EXPECT_EQ(ScreenRect(Main()).left, -2464);
}

TEST_F(Placement, TheSuggestionsStopAtTheBottomOfTheWorkAreaWhateverTheRowLimit) {
    platform.monitors[kLaptopIndex].workArea.height = 800; // 400 units high at 200 %
    platform.settings["Tovlen\\settings\\showsuggestions"] = "20";
    Start();
    for (int i = 0; i < 30; ++i)
        app.catalogue.phrases.push_back("zz" + std::to_string(i));
    Open("zz");
    const Rect rows = ScreenRect(Suggestions());
    const int rowHeight = ScaleToDpi(platform.MeasureText(Suggestions().font, "zz0", 192).height, 192);
    EXPECT_LE(Bottom(rows), 1000);
    EXPECT_GT(Bottom(rows) + rowHeight, 1000); // no room for one more
    EXPECT_GT(rows.height, 0);
}

TEST_F(Placement, AScaleChangeLaysBothWindowsOutAgainForTheNewScale) {
    Start();
    Open("computer");
    ASSERT_EQ(app.state.CommandText, "computer");

    // 125 %, and the taskbar moves to the top.
    Monitor changed = kLaptop;
    changed.dpi = 120;
    changed.workArea = {-2560, 248, 2560, 1552};
    platform.ChangeMonitor(kLaptopIndex, changed);
    platform.RunPending();
    EXPECT_EQ(ScreenRect(Main()), (Rect{-2560, 248, 750, 63}));
    EXPECT_EQ(ScreenRect(Suggestions()).top, 248 + 63);
    EXPECT_EQ(Suggestions().dpi, 120);
}

// Whole 96-DPI units round differently at every scale; the letters must not.
TEST_F(Placement, TheTypedTextStandsOverItsOwnLettersInTheCompletionAtEveryScale) {
    Start();
    for (const std::string typed : {"lock", "computer", "k comp"}) {
        Open(typed);
        for (const int dpi : {96, 120, 144, 168, 192, 240, 288}) {
            Monitor changed = kLaptop;
            changed.dpi = dpi;
            platform.ChangeMonitor(kLaptopIndex, changed);
            platform.RunPending();
            const Control& line = Main().At(frmMain::lblCommand);
            const Control& completion = Main().At(frmMain::lblCommandBack);
            ASSERT_EQ(completion.text, "lock computer");
            const std::size_t at = completion.text.find(typed);
            EXPECT_EQ(FakePlatform::DrawnTextLeft(Main(), line, 0),
                      FakePlatform::DrawnTextLeft(Main(), completion, at))
                << typed << " at " << dpi << " DPI";
            EXPECT_EQ(FakePlatform::DrawnTextLeft(Main(), line, typed.size()),
                      FakePlatform::DrawnTextLeft(Main(), completion, at + typed.size()))
                << typed << " at " << dpi << " DPI";
        }
        Close();
    }
}

// A near match holds other letters than the typed ones: it stands after them, apart, and an
// exact match afterwards lies under the typed text again.
TEST_F(Placement, ANearMatchStandsClearOfTheTypedText) {
    Start();
    app.catalogue.phrases.push_back("run café crème");
    app.catalogue.forms = BuildMatchForms(app.catalogue.phrases);
    Open("cafe");
    const Control& line = Main().At(frmMain::lblCommand);
    const Control& completion = Main().At(frmMain::lblCommandBack);
    const auto drawnAt = [&](const Control& label, std::size_t at) {
        return FakePlatform::DrawnTextLeft(Main(), label, at);
    };
    const auto pixels = [&](std::string_view text) {
        return ScaleToDpi(platform.MeasureText(Main().font, text, Main().dpi).width, Main().dpi);
    };
    ASSERT_EQ(completion.text, "run café crème");
    EXPECT_EQ(drawnAt(line, 0), ScaleToDpi(completion.rect.left, Main().dpi)); // where lines start
    const int gap = drawnAt(completion, 0) - drawnAt(line, std::string::npos);
    EXPECT_GE(gap, pixels("  "));
    EXPECT_LE(gap, pixels("run ")); // still beside it

    platform.PressKey(VirtualKey::Backspace);
    platform.RunPending();
    ASSERT_EQ(completion.text, "run café crème");
    EXPECT_EQ(drawnAt(line, 0), drawnAt(completion, completion.text.find("caf")));
}

TEST_F(Placement, TheActivationKeyOverAnAdministratorsWindowIsLoggedOnceASession) {
    Start();
    platform.windows[editor].elevated = true;
    const auto told = [&] {
        return std::count_if(platform.logLines.begin(), platform.logLines.end(), [](const std::string& line) {
            return line.find("runs as administrator") != std::string::npos;
        });
    };
    platform.PressKey('A');
    platform.RunPending();
    EXPECT_EQ(told(), 0); // only the activation key is worth a word

    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(platform.PressKey(VirtualKey::CapsLock),
                  HookDecision::Pass); // Windows kept it from the hook
        platform.RunPending();
        platform.AdvanceTime(std::chrono::seconds(2));
    }
    EXPECT_EQ(app.forms.frmMain, nullptr);
    EXPECT_EQ(told(), 1);
    // Keys Windows kept from the hook are no sign of a lost hook.
    EXPECT_TRUE(std::none_of(platform.calls.begin(), platform.calls.end(),
                             [](const std::string& call) { return call.starts_with("ReinstallHooks"); }));

    platform.windows[editor].elevated = false;
    Open("o");
    EXPECT_TRUE(Main().visible);
}

} // namespace
} // namespace tov
