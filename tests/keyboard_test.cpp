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
    EXPECT_EQ(Main().rect.left, 0);
    EXPECT_EQ(Main().rect.top, 0);
    EXPECT_EQ(Main().rect.width, 600);
    EXPECT_EQ(Main().rect.height, 50);
    EXPECT_FALSE(Main().style.activateOnShow); // the user's window keeps the focus
    EXPECT_EQ(Main().At(frmMain::picIcon).backColour, kIconBoxColour);
    EXPECT_EQ(platform.opacity[Main().handle], 230);
}

TEST_F(CommandLine, TypedKeysAreSwallowedAndStoredLowerCase) {
    Press(VirtualKey::CapsLock);
    EXPECT_EQ(platform.TypeText("NoTe"), HookDecision::Swallow);
    Loop();
    EXPECT_EQ(app.state.CommandText, "note");
    EXPECT_EQ(Main().At(frmMain::lblCommand).text, "note");
}

TEST_F(CommandLine, KeysPassWhileTheWindowIsClosed) {
    EXPECT_EQ(Press('A'), HookDecision::Pass);
    EXPECT_EQ(Press(VirtualKey::Escape), HookDecision::Pass);
    EXPECT_EQ(app.state.CommandText, "");
    EXPECT_EQ(platform.wakeRequests, 0); // nothing for the main loop to do
}

TEST_F(CommandLine, ModifiersAndPrintScreenPassThroughUnchanged) {
    OpenAndType("ab");
    for (VirtualKey key : {VirtualKey::LeftShift, VirtualKey::RightShift, VirtualKey::LeftControl,
                           VirtualKey::RightControl, VirtualKey::PrintScreen})
        EXPECT_EQ(Press(key), HookDecision::Pass) << KeyCode(key);
    EXPECT_EQ(app.state.CommandText, "ab");
}

TEST_F(CommandLine, AltKeysAndKeyUpsAreNeverCaptured) {
    OpenAndType("x");
    EXPECT_EQ(Press('F', KeyMessage::SysKeyDown), HookDecision::Pass);
    EXPECT_EQ(Press('F', KeyMessage::KeyUp), HookDecision::Pass);
    EXPECT_EQ(app.state.CommandText, "x");
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

    app.state.SuggestionCount = 0;
    app.state.SelectedIndex = 0;
    Press(VirtualKey::Down);
    EXPECT_EQ(app.state.SelectedIndex, -1);
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

TEST_F(CommandLine, CaptureTakesTheNextKeyPressAsTheActivationKey) {
    app.forms.frmRemap = std::make_unique<Form>();
    platform.CreateFormWindow(*app.forms.frmRemap);
    app.state.CapturingKey = true;
    // The release of whatever started the capture is not the new key.
    EXPECT_EQ(Press(VirtualKey::Enter, KeyMessage::KeyUp), HookDecision::Pass);
    EXPECT_TRUE(app.state.CapturingKey);
    EXPECT_EQ(Press(VirtualKey::F8), HookDecision::Swallow);
    EXPECT_FALSE(app.state.CapturingKey);
    EXPECT_EQ(app.state.ActivationKey, 119);
    EXPECT_FALSE(app.state.WindowOpen);
    Loop();
    EXPECT_EQ(platform.settings["Tovlen\\settings\\mappedkey"], "119");
    EXPECT_EQ(app.forms.frmRemap, nullptr);
    EXPECT_EQ(Press(VirtualKey::F8), HookDecision::Swallow);
    EXPECT_TRUE(app.state.WindowOpen);
}

TEST_F(CommandLine, DescriptionFollowsTheLine) {
    const std::string caption = "Untitled - Notepad";
    const std::pair<const char*, std::string> cases[] = {
        {"exit", "Closes Tovlen"},
        {"close", "Close Untitled - Notepad"},
        {"close note", "Close window with caption: 'note'"},
        {"maximize", "Maximize Untitled - Notepad"},
        {"minimize", "Minimize Untitled - Notepad"},
        {"restore calc", "Restore window with caption: 'calc'"},
        {"show mail", "Show window with caption: 'mail'"},
        {"preferences", "Tovlen preferences"},
        {"web example.org", "Open website: example.org"},
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

TEST_F(CommandLine, ALaterStartOpensTheWindowAsTheActivationKeyWould) {
    platform.StartAgain("");
    Loop();
    ASSERT_NE(app.forms.frmMain, nullptr);
    EXPECT_TRUE(Main().visible);
    platform.TypeText("ab");
    platform.StartAgain("");
    Loop();
    EXPECT_EQ(app.state.CommandText, "ab"); // an open line is left as it is
    EXPECT_EQ(platform.logLines, (std::vector<std::string>{"Tovlen started", "Hooks installed"}));
}

// The user acts while a confirmation box of the submit is up. Whatever they did last decides:
// an open window is on screen and takes the keys; a closed one lets every key through.
class SubmitWithABoxUp : public CommandLine {
  protected:
    void SubmitShutdownAnsweringNo(const std::function<void()>& whileTheBoxIsUp) {
        OpenAndType("shutdown");
        platform.messageBoxAnswers.push_back(MessageBoxResult::No);
        whileTheBoxIsUp();
        Press(VirtualKey::Enter);
        Loop();
        ASSERT_EQ(platform.messageBoxes.size(), 1u);
        EXPECT_TRUE(platform.hookQueue.empty());
    }
    void ExpectClosedAndWorking() {
        EXPECT_FALSE(app.state.WindowOpen);
        EXPECT_EQ(app.forms.frmMain, nullptr);
        EXPECT_EQ(Press('A'), HookDecision::Pass);
        ExpectTheKeyStillOpens();
    }
    void ExpectOpenWith(const std::string& line) {
        EXPECT_TRUE(app.state.WindowOpen);
        ASSERT_NE(app.forms.frmMain, nullptr);
        EXPECT_TRUE(Main().visible);
        EXPECT_EQ(app.state.CommandText, line);
        EXPECT_EQ(Main().At(frmMain::lblCommand).text, line);
    }
    void ExpectTheKeyStillOpens() {
        Press(VirtualKey::CapsLock);
        Loop();
        ExpectOpenWith("");
    }
};

TEST_F(SubmitWithABoxUp, ReopenedThenClosedByEscapeOrAClickStaysClosed) {
    SubmitShutdownAnsweringNo([&] {
        platform.QueueKey(VirtualKey::CapsLock);
        platform.QueueKey(VirtualKey::Escape);
    });
    ExpectClosedAndWorking();
    platform.messageBoxes.clear();
    Press(VirtualKey::Escape);
    SubmitShutdownAnsweringNo([&] {
        platform.QueueKey(VirtualKey::CapsLock);
        platform.QueueText("xy");
        platform.QueueClick(Point{900, 700});
    });
    ExpectClosedAndWorking();
}

TEST_F(SubmitWithABoxUp, ReopenedAndTypedIntoStaysOpenWithTheNewLine) {
    SubmitShutdownAnsweringNo([&] {
        platform.QueueKey(VirtualKey::CapsLock);
        platform.QueueText("ab");
    });
    ExpectOpenWith("ab");
    EXPECT_EQ(platform.TypeText("c"), HookDecision::Swallow);
    Loop();
    ExpectOpenWith("abc");
}

TEST_F(SubmitWithABoxUp, ReopenedClosedAndReopenedAgainIsOpen) {
    SubmitShutdownAnsweringNo([&] {
        platform.QueueKey(VirtualKey::CapsLock);
        platform.QueueKey(VirtualKey::Escape);
        platform.QueueKey(VirtualKey::CapsLock);
    });
    ExpectOpenWith("");
}

TEST_F(SubmitWithABoxUp, AClickAloneOrNothingLeavesItClosed) {
    SubmitShutdownAnsweringNo([&] { platform.QueueClick(Point{900, 700}); });
    ExpectClosedAndWorking();
    platform.messageBoxes.clear();
    Press(VirtualKey::Escape);
    SubmitShutdownAnsweringNo([] {});
    ExpectClosedAndWorking();
}

} // namespace
} // namespace tov
