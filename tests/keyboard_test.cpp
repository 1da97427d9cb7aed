#include "app/app.h"
#include "app/program.h"
#include "catalogue/build.h"
#include "input/hooks.h"
#include "input/latency.h"
#include "platform/fake/fake_platform.h"
#include "platform/files.h"
#include "suggest/command_window.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tov {
namespace {

class CommandLine : public ::testing::Test {
  protected:
    void SetUp() override {
        platform.settings["Tovlen\\settings\\showwelcome"] = "0"; // it would take the foreground
        platform.foreground = platform.AddWindow("  Untitled - Notepad  ");
        Startup(app);
    }
    HookDecision Press(std::uint32_t vkCode) { return platform.PressKey(vkCode); }
    HookDecision Press(VirtualKey key) { return platform.PressKey(key); }
    HookDecision Send(VirtualKey key, KeyMessage message) { return platform.SendKey(key, message); }
    // What the main loop does after the hook has run.
    void Loop() { platform.RunPending(); }
    void OpenAndType(std::string_view text) {
        Press(VirtualKey::CapsLock);
        platform.TypeText(text);
        Loop();
    }
    Form& Main() { return *app.forms.frmMain; }
    // The command line as the input thread holds it; the main thread's follows after Loop().
    const Typing& Input() const { return *app.state.Input; }

    FakePlatform platform;
    App app{platform};
};

TEST_F(CommandLine, ActivationKeyOpensTheWindowAndIsSwallowed) {
    EXPECT_EQ(Send(VirtualKey::CapsLock, KeyMessage::KeyDown), HookDecision::Swallow);
    // Its release is Tovlen's too: the window typed into never saw the key go down.
    EXPECT_EQ(Send(VirtualKey::CapsLock, KeyMessage::KeyUp), HookDecision::Swallow);
    EXPECT_TRUE(Input().windowOpen);
    // The hook itself made no window: that is the main loop's work.
    EXPECT_EQ(app.forms.frmMain, nullptr);
    EXPECT_FALSE(app.state.WindowOpen);
    Loop();
    EXPECT_TRUE(app.state.WindowOpen);
    EXPECT_EQ(app.state.PreviousWindow, platform.foreground);
    ASSERT_NE(app.forms.frmMain, nullptr);
    EXPECT_TRUE(Main().visible);
    EXPECT_FALSE(Main().style.activateOnShow); // the user's window keeps the focus
}

TEST_F(CommandLine, TypedKeysAreSwallowedAndStoredLowerCase) {
    Press(VirtualKey::CapsLock);
    EXPECT_EQ(platform.TypeText("NoTe"), HookDecision::Swallow);
    Loop();
    EXPECT_EQ(app.state.CommandText, "note");
    EXPECT_EQ(Main().At(frmMain::lblCommand).text, "note");
}

TEST_F(CommandLine, KeysWhileClosedAndModifiersPrintScreenAltKeysAndKeyUpsPassThroughUnchanged) {
    EXPECT_EQ(Press('A'), HookDecision::Pass);
    EXPECT_EQ(Press(VirtualKey::Escape), HookDecision::Pass);
    EXPECT_TRUE(platform.mainWork.empty()); // nothing for the main loop to do
    OpenAndType("ab");
    for (VirtualKey key : {VirtualKey::LeftShift, VirtualKey::RightShift, VirtualKey::LeftControl,
                           VirtualKey::RightControl, VirtualKey::PrintScreen})
        EXPECT_EQ(Press(key), HookDecision::Pass) << KeyCode(key);
    EXPECT_EQ(platform.SendKey('F', KeyMessage::SysKeyDown), HookDecision::Pass);
    EXPECT_EQ(platform.SendKey('F', KeyMessage::SysKeyUp), HookDecision::Pass);
    EXPECT_EQ(Input().commandText, "ab");
}

TEST_F(CommandLine, BackspaceRemovesWholeCharacters) {
    Press(VirtualKey::CapsLock);
    EXPECT_EQ(Press(VirtualKey::Backspace), HookDecision::Swallow);
    EXPECT_EQ(Input().commandText, "");
    app.state.Input->commandText = "caf\xC3\xA9";
    Press(VirtualKey::Backspace);
    EXPECT_EQ(Input().commandText, "caf");
}

TEST_F(CommandLine, AStuckKeyCannotGrowTheLineWithoutBound) {
    Press(VirtualKey::CapsLock);
    for (std::size_t i = 0; i < kMaxCommandBytes + 10; ++i)
        EXPECT_EQ(Press('A'), HookDecision::Swallow);
    EXPECT_EQ(Input().commandText.size(), kMaxCommandBytes);
    EXPECT_EQ(Input().commandKeys.size(), kMaxCommandBytes);
}

// With a Russian layout active the keys C, A, L, C type "сфдс"; the line keeps them, and they
// find what they would with the US layout, up to the program they run.
TEST_F(CommandLine, TheKeysBehindTheLineGoWithItAndFindWhatTheUsLayoutWouldType) {
    Loop(); // the first build lands before the test's own catalogue takes its place
    app.catalogue.phrases = FixedPhraseSlots();
    AddCommandEntry(app.catalogue, {.Target = "C:\\Windows\\calc.exe", .Name = "Calculator"});
    app.catalogue.forms = BuildMatchForms(app.catalogue.phrases);
    platform.otherLayout = {{'C', "с"}, {'A', "ф"}, {'L', "д"}};
    OpenAndType("calcl");
    EXPECT_EQ(Input().commandText, "сфдсд");
    Press(VirtualKey::Backspace);
    EXPECT_EQ(Input().commandKeys.size(), 4u);
    Loop();
    EXPECT_EQ(app.state.CommandKeys.size(), 4u);
    EXPECT_EQ(Main().At(frmMain::lblCommandBack).text, "run calculator");

    Press(VirtualKey::Enter);
    EXPECT_TRUE(Input().commandKeys.empty());
    Loop();
    ASSERT_EQ(platform.launches.size(), 1u);
    EXPECT_EQ(platform.launches[0].file, "C:\\Windows\\calc.exe");

    OpenAndType("ca");
    Press(VirtualKey::Escape);
    EXPECT_TRUE(Input().commandKeys.empty());
}

TEST_F(CommandLine, EscapeClosesAndForgetsTheLine) {
    OpenAndType("abc");
    EXPECT_EQ(Press(VirtualKey::Escape), HookDecision::Swallow);
    Loop();
    EXPECT_FALSE(app.state.WindowOpen);
    EXPECT_EQ(app.state.CommandText, "");
    EXPECT_EQ(app.forms.frmMain, nullptr);
}

TEST_F(CommandLine, UpAndDownStayWithinTheRows) {
    Press(VirtualKey::CapsLock);
    Press(VirtualKey::Up);
    EXPECT_EQ(Input().selectedIndex, 0);
    for (int i = 0; i < 20; ++i)
        Press(VirtualKey::Down);
    EXPECT_EQ(Input().selectedIndex, 9);
    Press(VirtualKey::Up);
    Loop();
    EXPECT_EQ(app.state.SelectedIndex, 8);
}

TEST_F(CommandLine, EnterSubmitsFromTheMainLoopAndLetsLaterKeysThrough) {
    OpenAndType("exit");
    EXPECT_EQ(Press(VirtualKey::Enter), HookDecision::Swallow);
    EXPECT_TRUE(app.state.Running); // nothing was run inside the hook
    // Keys typed after Enter, before the loop gets to the submit, belong to the desktop.
    EXPECT_EQ(Press('Q'), HookDecision::Pass);
    Loop();
    EXPECT_FALSE(app.state.Running);
    EXPECT_TRUE(app.state.Submits.empty());
    EXPECT_EQ(app.state.CommandText, "");
    EXPECT_EQ(app.forms.frmMain, nullptr);
}

TEST_F(CommandLine, ActivationKeyWhileOpenRequestsTheSubmit) {
    OpenAndType("exit");
    EXPECT_EQ(Press(VirtualKey::CapsLock), HookDecision::Swallow);
    EXPECT_FALSE(Input().windowOpen);
    Loop();
    EXPECT_FALSE(app.state.Running);
}

// A held key sends its down again and again before its one up.
TEST_F(CommandLine, HoldingTheActivationKeyOpensTheWindowOnce) {
    for (int repeat = 0; repeat < 5; ++repeat)
        EXPECT_EQ(Send(VirtualKey::CapsLock, KeyMessage::KeyDown), HookDecision::Swallow) << repeat;
    EXPECT_EQ(Send(VirtualKey::CapsLock, KeyMessage::KeyUp), HookDecision::Swallow);
    Loop();
    EXPECT_EQ(Input().openings, 1u);
    EXPECT_TRUE(app.state.WindowOpen);
    EXPECT_TRUE(app.state.Submits.empty());
    platform.TypeText("ab");
    Loop();
    EXPECT_EQ(Main().At(frmMain::lblCommand).text, "ab");
}

TEST_F(CommandLine, AHeldKeyThatTovlenTookStaysTovlensUntilItsRelease) {
    OpenAndType("ab");
    // Held letters type once; a held Enter submits once and its repeats never reach the window
    // typed into, though the line is closed by then.
    for (int repeat = 0; repeat < 3; ++repeat)
        EXPECT_EQ(Send(VirtualKey::Backspace, KeyMessage::KeyDown), HookDecision::Swallow);
    Send(VirtualKey::Backspace, KeyMessage::KeyUp);
    EXPECT_EQ(Input().commandText, "a");
    EXPECT_EQ(Send(VirtualKey::Enter, KeyMessage::KeyDown), HookDecision::Swallow);
    const unsigned changes = Input().changes;
    for (int repeat = 0; repeat < 3; ++repeat)
        EXPECT_EQ(Send(VirtualKey::Enter, KeyMessage::KeyDown), HookDecision::Swallow) << repeat;
    EXPECT_EQ(Send(VirtualKey::Enter, KeyMessage::KeyUp), HookDecision::Swallow);
    EXPECT_EQ(Input().changes, changes);
    // A key the window typed into took keeps its repeats, even once the line is open.
    EXPECT_EQ(Send(VirtualKey::Space, KeyMessage::KeyDown), HookDecision::Pass);
    Press(VirtualKey::CapsLock);
    EXPECT_EQ(Send(VirtualKey::Space, KeyMessage::KeyDown), HookDecision::Pass);
    EXPECT_EQ(Send(VirtualKey::Space, KeyMessage::KeyUp), HookDecision::Pass);
    EXPECT_EQ(Input().commandText, "");
}

TEST_F(CommandLine, AKeyWhoseReleaseWentUnheardIsPressedAfreshLater) {
    // Its release went to the secure desktop of a locked session.
    Send(VirtualKey::CapsLock, KeyMessage::KeyDown);
    platform.AdvanceTime(std::chrono::milliseconds(kLongestRepeatGapMs + 1));
    EXPECT_EQ(Send(VirtualKey::CapsLock, KeyMessage::KeyDown), HookDecision::Swallow);
    EXPECT_FALSE(Input().windowOpen);
    EXPECT_EQ(Input().openings, 1u);
    EXPECT_EQ(platform.SendKey('L', KeyMessage::KeyDown), HookDecision::Pass);
    platform.AdvanceTime(std::chrono::milliseconds(kLongestRepeatGapMs + 1));
    Press(VirtualKey::CapsLock);
    EXPECT_EQ(Press('L'), HookDecision::Swallow);
    EXPECT_EQ(Input().commandText, "l");
}

TEST_F(CommandLine, ARemappedKeyLeavesCapsLockAlone) {
    app.state.ActivationKey = static_cast<std::int16_t>(KeyCode(VirtualKey::F8));
    TellActivationKey(platform, app.state);
    EXPECT_EQ(Press(VirtualKey::CapsLock), HookDecision::Pass);
    EXPECT_FALSE(Input().windowOpen);
    EXPECT_EQ(Press(VirtualKey::F8), HookDecision::Swallow);
    EXPECT_TRUE(Input().windowOpen);
    EXPECT_EQ(Press(VirtualKey::CapsLock), HookDecision::Pass);
}

TEST_F(CommandLine, DescriptionFollowsTheLine) {
    const std::string caption = "Untitled - Notepad";
    const std::pair<const char*, std::string> cases[] = {
        {"exit", "Closes Tovlen"},
        {"maximize", "Maximize Untitled - Notepad"},
        {"close note", "Close window with caption: 'note'"},
        {"google two words", "Searches Google for: two words"},
        {"closer", ""},
        {"run notepad", ""},
    };
    for (const auto& [line, expected] : cases)
        EXPECT_EQ(DescribeCommandLine(line, caption), expected) << line;
}

TEST_F(CommandLine, DescriptionUsesThePreviousWindowsTrimmedCaption) {
    OpenAndType("Close");
    EXPECT_EQ(Main().At(frmMain::lblDescription).text, "Close Untitled - Notepad");
    platform.TypeText(" X");
    Loop();
    EXPECT_EQ(Main().At(frmMain::lblDescription).text, "Close window with caption: 'x'");
}

TEST_F(CommandLine, ReopeningBeforeTheSubmitRanKeepsTheNewLine) {
    OpenAndType("exit");
    Press(VirtualKey::Enter);
    Press(VirtualKey::CapsLock);
    platform.TypeText("ab");
    Loop();
    EXPECT_FALSE(app.state.Running);
    EXPECT_TRUE(app.state.WindowOpen);
    EXPECT_EQ(app.state.CommandText, "ab");
    ASSERT_NE(app.forms.frmMain, nullptr);
    EXPECT_TRUE(Main().visible);
    EXPECT_EQ(Main().At(frmMain::lblCommand).text, "ab");
}

TEST_F(CommandLine, ALineOpenedWhileASubmitAsksIsOnScreenAtOnce) {
    OpenAndType("shutdown");
    platform.messageBoxAnswers = {MessageBoxResult::No};
    Press(VirtualKey::Enter);
    platform.QueueKey(VirtualKey::CapsLock);
    platform.QueueText("ab");
    std::string shownDuringTheBox;
    platform.hookQueue.push_back([&] {
        const bool shown = app.forms.frmMain && Main().visible;
        shownDuringTheBox = shown ? Main().At(frmMain::lblCommand).text : "(nothing shown)";
    });
    Loop();
    EXPECT_EQ(shownDuringTheBox, "ab");
}

TEST_F(CommandLine, WhatWaitsForABusyMainThreadDoesNotGrowWithTyping) {
    for (const char* line : {"web a.example", "web b.example"}) {
        Press(VirtualKey::CapsLock);
        platform.TypeText(line);
        Press(VirtualKey::Enter);
    }
    Press(VirtualKey::CapsLock);
    platform.TypeText("ab");
    EXPECT_EQ(platform.mainWork.size(), 1u);
    Loop();
    ASSERT_EQ(platform.launches.size(), 2u);
    EXPECT_EQ(platform.launches[0].file, "http://a.example");
    EXPECT_EQ(platform.launches[1].file, "http://b.example");
    EXPECT_EQ(Main().At(frmMain::lblCommand).text, "ab");
}

TEST_F(CommandLine, ALaterStartOpensTheWindowAsTheActivationKeyWould) {
    platform.StartAgain("");
    Loop();
    ASSERT_NE(app.forms.frmMain, nullptr);
    EXPECT_TRUE(Main().visible);
    platform.TypeText("ab");
    platform.StartAgain("");
    Loop();
    EXPECT_EQ(app.state.CommandText, "ab"); // an open line is left as it is
    EXPECT_EQ(platform.logLines.front(), "Tovlen started");
    EXPECT_EQ(std::count_if(platform.logLines.begin(), platform.logLines.end(),
                            [](const std::string& line) { return line.starts_with("Tovlen"); }),
              1);
}

TEST(Latency, PercentilesAreNearestRank) {
    std::vector<Duration> samples;
    for (int ms = 100; ms >= 1; --ms)
        samples.push_back(std::chrono::milliseconds(ms));
    const LatencySummary s = Summarise(samples);
    EXPECT_EQ(s.count, 100u);
    EXPECT_EQ(s.p50, std::chrono::milliseconds(50));
    EXPECT_EQ(s.p99, std::chrono::milliseconds(99));
    EXPECT_EQ(s.max, std::chrono::milliseconds(100));
    EXPECT_EQ(Summarise({std::chrono::milliseconds(7)}).p99, std::chrono::milliseconds(7));
    EXPECT_EQ(Summarise({}).count, 0u);
}

TEST(Latency, MeasuredOnlyWhenAFileIsNamedAndSummarisedThereAtExit) {
    testing::TempFolder folder;
    const std::string file = folder / "latency.txt";
    for (const bool named : {false, true}) {
        FakePlatform platform;
        platform.settings["Tovlen\\settings\\showwelcome"] = "0";
        if (named)
            platform.settings["Tovlen\\settings\\latencyfile"] = file;
        App app{platform};
        Startup(app);
        platform.PressKey(VirtualKey::CapsLock);
        platform.RunPending();
        platform.TypeText("ab");
        platform.RunPending();
        EXPECT_EQ(app.state.KeyTimes.size(), named ? 3u : 0u);
        EXPECT_EQ(app.state.Input->hookTimes.size(), named ? 6u : 0u) << "downs and ups";
        Shutdown(app);
        EXPECT_EQ(std::filesystem::exists(file), named);
    }
    const std::string summary = ReadFileBytes(file).value_or("");
    EXPECT_EQ(summary.find("key to repaint: count 3, p50 "), 0u) << summary;
    EXPECT_NE(summary.find("\nhook procedure: count 6, p50 "), std::string::npos) << summary;
}

// Enter on "shutdown" asks for confirmation; the user acts before the main thread gets to the
// submit, and while its box is up, and then the box is answered. Whatever the user did last
// decides: an open line has its window on screen and takes the keys; a closed one lets every
// key through, and the activation key opens it again.
struct Order {
    const char* name;
    std::vector<std::string> beforeTheLoop; // "caps", "esc", "enter", "click" or text to type
    std::vector<std::string> whileTheBoxIsUp;
    bool open;
    std::string line;
    std::size_t boxes = 1;
};

void PrintTo(const Order& order, std::ostream* out) {
    *out << order.name;
}

class SubmitWithABoxUp : public CommandLine, public ::testing::WithParamInterface<Order> {
  protected:
    void Do(const std::string& step, bool queued) {
        const auto key = [&](VirtualKey k) { queued ? platform.QueueKey(k) : static_cast<void>(Press(k)); };
        if (step == "caps")
            key(VirtualKey::CapsLock);
        else if (step == "esc")
            key(VirtualKey::Escape);
        else if (step == "enter")
            key(VirtualKey::Enter);
        else if (step == "click")
            queued ? platform.QueueClick(kElsewhere) : static_cast<void>(platform.Click(kElsewhere));
        else
            queued ? platform.QueueText(step) : static_cast<void>(platform.TypeText(step));
    }
    static constexpr Point kElsewhere{900, 700};
};

TEST_P(SubmitWithABoxUp, WhatTheUserDidLastStands) {
    const Order& order = GetParam();
    OpenAndType("shutdown");
    platform.messageBoxAnswers.assign(order.boxes, MessageBoxResult::No);
    Press(VirtualKey::Enter);
    for (const auto& step : order.beforeTheLoop)
        Do(step, false);
    for (const auto& step : order.whileTheBoxIsUp)
        Do(step, true);
    Loop();
    EXPECT_EQ(platform.messageBoxes.size(), order.boxes);
    EXPECT_TRUE(platform.hookQueue.empty());
    EXPECT_EQ(Input().windowOpen, order.open);
    EXPECT_EQ(app.state.WindowOpen, order.open);
    EXPECT_EQ(app.state.CommandText, order.line);
    if (order.open) {
        ASSERT_NE(app.forms.frmMain, nullptr);
        EXPECT_TRUE(Main().visible);
        EXPECT_EQ(Main().At(frmMain::lblCommand).text, order.line);
        EXPECT_EQ(platform.TypeText("z"), HookDecision::Swallow);
        Loop();
        EXPECT_EQ(Main().At(frmMain::lblCommand).text, order.line + "z");
        return;
    }
    EXPECT_EQ(app.forms.frmMain, nullptr);
    EXPECT_EQ(Press('A'), HookDecision::Pass);
    EXPECT_EQ(Press(VirtualKey::CapsLock), HookDecision::Swallow);
    Loop();
    ASSERT_NE(app.forms.frmMain, nullptr);
    EXPECT_TRUE(Main().visible);
}

INSTANTIATE_TEST_SUITE_P(
    EveryOrder, SubmitWithABoxUp,
    ::testing::Values(Order{"Nothing", {}, {}, false, ""}, Order{"Click", {}, {"click"}, false, ""},
                      Order{"OpenEscape", {}, {"caps", "esc"}, false, ""},
                      Order{"OpenTypeClick", {}, {"caps", "xy", "click"}, false, ""},
                      Order{"OpenType", {}, {"caps", "ab"}, true, "ab"},
                      Order{"OpenEscapeOpen", {}, {"caps", "esc", "caps"}, true, ""},
                      Order{"OpenBeforeTheLoop", {"caps"}, {}, true, ""},
                      Order{"OpenTypeBeforeTheLoop", {"caps", "ab"}, {}, true, "ab"},
                      Order{"OpenEscapeBeforeTheLoop", {"caps", "esc"}, {}, false, ""},
                      Order{"OpenBeforeEscapeDuring", {"caps"}, {"esc"}, false, ""},
                      Order{"OpenBeforeClickDuring", {"caps"}, {"click"}, false, ""},
                      Order{"OpenTypeBeforeTypeDuring", {"caps", "ab"}, {"c"}, true, "abc"},
                      Order{"ASecondSubmitDuring", {}, {"caps", "shutdown", "enter"}, false, "", 2},
                      Order{"ASecondSubmitBefore", {"caps", "shutdown", "enter"}, {"caps"}, true, "", 2}),
    [](const ::testing::TestParamInfo<Order>& info) { return std::string(info.param.name); });

} // namespace
} // namespace tov
