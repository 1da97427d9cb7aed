#include "app/app.h"
#include "app/later_start.h"
#include "app/program.h"
#include "input/hook_watch.h"
#include "platform/fake/fake_platform.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tov {
namespace {

using namespace std::chrono_literals;

class Watchdog : public ::testing::Test {
  protected:
    HookWatch::Time At(std::chrono::milliseconds offset) const { return start + offset; }
    HookWatch watch;
    const HookWatch::Time start = std::chrono::steady_clock::now();
};

TEST_F(Watchdog, AHookCalledForEveryKeyIsNeverLost) {
    NoteReinstalled(watch, At(0ms));
    // Raw input is heard late when the main thread is busy; the hook was called at the key.
    NoteRawInput(watch, 5000, 5000, At(2000ms));
    NoteRawInput(watch, 5100, 5120, At(2100ms));
    EXPECT_FALSE(NextCheck(watch));
    EXPECT_FALSE(HookLost(watch, 5120, At(9000ms)));
}

TEST_F(Watchdog, ASilentHookIsLostAfterTheSilenceAndOnlyOncePerSpacing) {
    NoteReinstalled(watch, At(0ms));
    NoteRawInput(watch, 8000, 4000, At(2000ms));
    ASSERT_TRUE(NextCheck(watch));
    EXPECT_EQ(*NextCheck(watch), At(2000ms) + kHookSilence);
    EXPECT_FALSE(HookLost(watch, 4000, At(2000ms) + kHookSilence - 1ms));
    EXPECT_TRUE(HookLost(watch, 4000, At(2000ms) + kHookSilence));
    NoteReinstalled(watch, At(2300ms));
    // Still silent at once after: the next re-installation waits for the spacing.
    NoteRawInput(watch, 8400, 4000, At(2400ms));
    EXPECT_FALSE(HookLost(watch, 4000, At(2400ms) + kHookSilence));
    EXPECT_EQ(*NextCheck(watch), At(2300ms) + kReinstallSpacing);
    EXPECT_TRUE(HookLost(watch, 4000, At(2300ms) + kReinstallSpacing));
}

TEST_F(Watchdog, AHookCallAfterTheUnansweredKeyClearsIt) {
    NoteRawInput(watch, 8000, 4000, At(0ms));
    EXPECT_FALSE(HookLost(watch, 8010, At(1000ms)));
    EXPECT_FALSE(NextCheck(watch));
    // A raw key with a hook call a little before its stamp counts as answered: the two read the
    // clock apart.
    NoteRawInput(watch, 8100, 8100 - kInputTickSlack, At(1100ms));
    EXPECT_FALSE(NextCheck(watch));
}

TEST_F(Watchdog, TheClockWrapsWithoutAFalseAlarm) {
    const InputTick beforeWrap = 0xFFFFFFF0u;
    NoteRawInput(watch, beforeWrap + 0x20, beforeWrap + 0x25, At(0ms)); // both past the wrap
    EXPECT_FALSE(NextCheck(watch));
    NoteRawInput(watch, beforeWrap + 0x40, beforeWrap, At(10ms)); // the hook's last call before it
    EXPECT_TRUE(NextCheck(watch));
}

TEST(LaterStart, APlainStartActivatesAndTheTestSwitchesAreRead) {
    EXPECT_EQ(ParseLaterStart("").request, LaterStartRequest::Activate);
    EXPECT_EQ(ParseLaterStart("  \t").request, LaterStartRequest::Activate);
    EXPECT_EQ(ParseLaterStart(" /test-drop-hooks ").request, LaterStartRequest::DropHooks);
    const LaterStart busy = ParseLaterStart("/test-busy 3000");
    EXPECT_EQ(busy.request, LaterStartRequest::Busy);
    EXPECT_EQ(busy.busy, std::chrono::milliseconds(3000));
    // The program's own name, as Windows puts it at the head of a command line, is not asked for.
    EXPECT_EQ(ArgumentsOf(R"("C:\Program Files\Tovlen\Tovlen.exe" /test-busy 5)"), "/test-busy 5");
    EXPECT_EQ(ArgumentsOf(R"(C:\Tovlen\Tovlen.exe  /test-drop-hooks )"), "/test-drop-hooks");
    EXPECT_EQ(ArgumentsOf(R"("C:\Tovlen\Tovlen.exe")"), "");
    EXPECT_EQ(ArgumentsOf(R"("unclosed quote /test-busy 5)"), "");
    EXPECT_EQ(ArgumentsOf(""), "");
}

TEST(LaterStart, BadRequestsAreUnknownAndABusyWaitIsCapped) {
    for (const char* bad : {"/test-busy", "/test-busy abc", "/test-busy 12x", "/test-busy -5",
                            "/test-busy3000", "/test-drop-hooks now", "/TEST-DROP-HOOKS", "C:\\file.txt"})
        EXPECT_EQ(ParseLaterStart(bad).request, LaterStartRequest::Unknown) << bad;
    EXPECT_EQ(ParseLaterStart("/test-busy 99999999").busy, kLongestBusy);
    EXPECT_EQ(ParseLaterStart("/test-busy 999999999999999999999999999").busy, kLongestBusy);
}

class WatchdogOfTheProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        platform.settings["Tovlen\\settings\\showwelcome"] = "0";
        platform.settings["Tovlen\\settings\\testswitches"] = "1"; // as the end-to-end tests set it
        Startup(app);
    }
    std::vector<std::string> Reinstalls() const {
        std::vector<std::string> found;
        std::copy_if(platform.calls.begin(), platform.calls.end(), std::back_inserter(found),
                     [](const std::string& call) { return call.starts_with("ReinstallHooks"); });
        return found;
    }

    FakePlatform platform;
    App app{platform};
};

TEST_F(WatchdogOfTheProgram, ADroppedHookIsInstalledAgainOnceItsKeysGoUnanswered) {
    platform.TypeText("ab");
    platform.RunPending();
    platform.AdvanceTime(kReinstallSpacing * 2);
    EXPECT_TRUE(Reinstalls().empty());

    // A later start asks for the drop, as the end-to-end tests do; Windows drops hooks this way.
    platform.StartAgain(R"("C:\Tovlen\Tovlen.exe" /test-drop-hooks)");
    platform.RunPending();
    EXPECT_EQ(platform.PressKey(VirtualKey::CapsLock), HookDecision::Pass);
    platform.RunPending();
    platform.AdvanceTime(kHookSilence - 1ms);
    EXPECT_TRUE(Reinstalls().empty());
    platform.AdvanceTime(1ms);
    EXPECT_EQ(Reinstalls(), std::vector<std::string>{"ReinstallHooks the keyboard hook was lost"});
    EXPECT_EQ(platform.PressKey(VirtualKey::CapsLock), HookDecision::Swallow);

    platform.watchdogNews({WatchdogNews::Kind::SessionUnlocked});
    EXPECT_EQ(Reinstalls().back(), "ReinstallHooks the session was unlocked");
    Shutdown(app);
    EXPECT_FALSE(platform.watchdogNews);
}

TEST_F(WatchdogOfTheProgram, TheMouseHookAndItsRawInputAreThereOnlyWhileAClickMatters) {
    // With the command line closed a move or a click reaches neither thread of the program.
    for (int x = 0; x < 100; ++x)
        platform.Click({x, 300}, MouseMessage::Move);
    platform.Click({500, 300});
    platform.RunPending();
    EXPECT_EQ(platform.mouseHookCalls, 0);
    EXPECT_EQ(platform.rawMouseMessages, 0);

    platform.AdvanceTime(kReinstallSpacing);
    platform.PressKey(VirtualKey::CapsLock);
    platform.RunPending();
    EXPECT_TRUE(platform.mouseHookInPlace);
    // A mouse hook dropped while the line is open is noticed by the click it missed.
    platform.DropHooks();
    platform.Click({500, 300});
    platform.RunPending();
    platform.AdvanceTime(kHookSilence);
    EXPECT_EQ(Reinstalls(), std::vector<std::string>{"ReinstallHooks the mouse hook was lost"});
    platform.Click({500, 300});
    platform.RunPending();
    EXPECT_FALSE(app.state.WindowOpen);
    EXPECT_FALSE(platform.mouseHookInPlace);
    EXPECT_FALSE(platform.hearingMouseButtons);
}

TEST_F(WatchdogOfTheProgram, TestSwitchesActOnlyWhereTheSettingAllowsThem) {
    platform.settings.erase("Tovlen\\settings\\testswitches");
    platform.StartAgain(R"("C:\Tovlen\Tovlen.exe" /test-drop-hooks)");
    platform.RunPending();
    EXPECT_FALSE(platform.hooksDropped);
    EXPECT_TRUE(app.state.WindowOpen) << "a plain start";
    platform.PressKey(VirtualKey::Escape);
    platform.settings["Tovlen\\settings\\testswitches"] = "yes";
    platform.StartAgain(R"("C:\Tovlen\Tovlen.exe" /test-busy 10)");
    platform.RunPending();
    EXPECT_TRUE(app.state.WindowOpen);
    EXPECT_TRUE(std::none_of(platform.logLines.begin(), platform.logLines.end(),
                             [](const std::string& line) { return line.find("busy") != std::string::npos; }));
}

TEST_F(WatchdogOfTheProgram, ALaterStartOpensTheWindowAndUnknownRequestsDoNothing) {
    platform.StartAgain(R"("C:\Tovlen\Tovlen.exe" /test-drop-hooks now)");
    platform.RunPending();
    EXPECT_FALSE(platform.hooksDropped);
    EXPECT_FALSE(app.state.WindowOpen);
    platform.StartAgain(R"(C:\Tovlen\Tovlen.exe)");
    platform.RunPending();
    EXPECT_TRUE(app.state.WindowOpen);
}

} // namespace
} // namespace tov
