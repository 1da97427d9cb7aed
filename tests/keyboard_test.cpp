#include "app/app.h"
#include "app/program.h"
#include "platform/fake/fake_platform.h"
#include "suggest/command_window.h"

#include <gtest/gtest.h>

namespace tov {
namespace {

class CommandLine : public ::testing::Test {
  protected:
    void SetUp() override {
        platform.settings["Tovlen\\settings\\showwelcome"] = "0"; // it would take the foreground
        platform.foreground = platform.AddWindow("  Untitled - Notepad  ");
        Startup(app);
    }
    HookDecision Press(std::uint32_t vkCode, KeyMessage message = KeyMessage::KeyDown) {
        return platform.PressKey(vkCode, message);
    }
    HookDecision Press(VirtualKey key, KeyMessage message = KeyMessage::KeyDown) {
        return platform.PressKey(key, message);
    }
    // What the main loop does after the hook has run.
    void Loop() { platform.RunPending(); }
    void OpenAndType(std::string_view text) {
        Press(VirtualKey::CapsLock);
        platform.TypeText(text);
        Loop();
    }
    Form& Main() { return *app.forms.frmMain; }

    FakePlatform platform;
    App app{platform};
};

TEST_F(CommandLine, ActivationKeyOpensTheWindowAndIsSwallowed) {
    EXPECT_EQ(Press(VirtualKey::CapsLock), HookDecision::Swallow);
    EXPECT_EQ(Press(VirtualKey::CapsLock, KeyMessage::KeyUp), HookDecision::Pass);
    EXPECT_TRUE(app.state.WindowOpen);
    EXPECT_EQ(app.state.PreviousWindow, platform.foreground);
    // The hook itself made no window: that is the main loop's work.
    EXPECT_EQ(app.forms.frmMain, nullptr);
    Loop();
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
    EXPECT_EQ(platform.wakeRequests, 0); // nothing for the main loop to do
    OpenAndType("ab");
    for (VirtualKey key : {VirtualKey::LeftShift, VirtualKey::RightShift, VirtualKey::LeftControl,
                           VirtualKey::RightControl, VirtualKey::PrintScreen})
        EXPECT_EQ(Press(key), HookDecision::Pass) << KeyCode(key);
    EXPECT_EQ(Press('F', KeyMessage::SysKeyDown), HookDecision::Pass);
    EXPECT_EQ(Press('F', KeyMessage::KeyUp), HookDecision::Pass);
    EXPECT_EQ(app.state.CommandText, "ab");
}

TEST_F(CommandLine, BackspaceRemovesWholeCharacters) {
    Press(VirtualKey::CapsLock);
    EXPECT_EQ(Press(VirtualKey::Backspace), HookDecision::Swallow);
    EXPECT_EQ(app.state.CommandText, "");
    app.state.CommandText = "caf\xC3\xA9";
    Press(VirtualKey::Backspace);
    EXPECT_EQ(app.state.CommandText, "caf");
}

TEST_F(CommandLine, EscapeClosesAndForgetsTheLine) {
    OpenAndType("abc");
    EXPECT_EQ(Press(VirtualKey::Escape), HookDecision::Swallow);
    EXPECT_FALSE(app.state.WindowOpen);
    EXPECT_EQ(app.state.CommandText, "");
    Loop();
    EXPECT_EQ(app.forms.frmMain, nullptr);
}

TEST_F(CommandLine, UpAndDownStayWithinTheRows) {
    Press(VirtualKey::CapsLock);
    Press(VirtualKey::Up);
    EXPECT_EQ(app.state.SelectedIndex, 0);
    for (int i = 0; i < 20; ++i)
        Press(VirtualKey::Down);
    EXPECT_EQ(app.state.SelectedIndex, 9);
    Press(VirtualKey::Up);
    EXPECT_EQ(app.state.SelectedIndex, 8);
}

TEST_F(CommandLine, EnterSubmitsFromTheMainLoopAndLetsLaterKeysThrough) {
    OpenAndType("exit");
    EXPECT_EQ(Press(VirtualKey::Enter), HookDecision::Swallow);
    EXPECT_TRUE(app.state.SubmitRequested);
    EXPECT_TRUE(app.state.Running); // nothing was run inside the hook
    // Keys typed after Enter, before the loop gets to the submit, belong to the desktop.
    EXPECT_EQ(Press('Q'), HookDecision::Pass);
    Loop();
    EXPECT_FALSE(app.state.Running);
    EXPECT_FALSE(app.state.SubmitRequested);
    EXPECT_EQ(app.state.CommandText, "");
    EXPECT_EQ(app.forms.frmMain, nullptr);
}

TEST_F(CommandLine, ActivationKeyWhileOpenRequestsTheSubmit) {
    OpenAndType("exit");
    EXPECT_EQ(Press(VirtualKey::CapsLock), HookDecision::Swallow);
    EXPECT_TRUE(app.state.SubmitRequested);
    Loop();
    EXPECT_FALSE(app.state.Running);
}

TEST_F(CommandLine, ARemappedKeyLeavesCapsLockAlone) {
    app.state.ActivationKey = static_cast<std::int16_t>(KeyCode(VirtualKey::F8));
    EXPECT_EQ(Press(VirtualKey::CapsLock), HookDecision::Pass);
    EXPECT_FALSE(app.state.WindowOpen);
    EXPECT_EQ(Press(VirtualKey::F8), HookDecision::Swallow);
    EXPECT_TRUE(app.state.WindowOpen);
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
}

} // namespace
} // namespace tov
