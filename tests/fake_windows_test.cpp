// The fake's windows and keys behave as the system's do where the product relies on them, so
// that a test of the product cannot pass because the fake is wrong.
#include "platform/fake/fake_platform.h"

#include <gtest/gtest.h>

namespace tov {
namespace {

TEST(FakeWindows, ListInZOrderHiddenAndOwnWindowsIncludedUntilClosed) {
    FakePlatform platform;
    const WindowHandle bottom = platform.AddWindow("Bottom", false);
    const WindowHandle editor = platform.AddWindow("Untitled - Notepad");
    Form own;
    own.caption = "Tovlen";
    platform.CreateFormWindow(own); // never shown, as the tray icon's owner is not
    EXPECT_EQ(platform.TopLevelWindows(), (std::vector<WindowHandle>{own.handle, editor, bottom}));
    EXPECT_EQ(platform.WindowCaption(own.handle), "Tovlen");

    platform.RequestWindowClose(editor);
    EXPECT_EQ(platform.WindowCaption(editor), "");
    const WindowHandle ownHandle = own.handle;
    platform.DestroyFormWindow(own);
    EXPECT_EQ(platform.TopLevelWindows(), std::vector<WindowHandle>{bottom});
    EXPECT_EQ(platform.WindowCaption(ownHandle), "");
}

TEST(FakeWindows, AWindowThatDoesNotAnswerIgnoresRequestsAndAClosedOneCannotComeToFront) {
    FakePlatform platform;
    const WindowHandle hung = platform.AddWindow("Hung");
    platform.windows[hung].hung = true;
    platform.RequestWindowClose(hung);
    platform.SetShowCommand(hung, ShowCommand::Minimize);
    EXPECT_FALSE(platform.windows[hung].closed);
    EXPECT_EQ(platform.windows[hung].showCommand, ShowCommand::Normal);

    const WindowHandle gone = platform.AddWindow("Gone");
    platform.BringToFront(hung);
    platform.RequestWindowClose(gone);
    platform.BringToFront(gone);
    EXPECT_EQ(platform.ForegroundWindow(), hung);
}

TEST(FakeKeys, TranslateAsAnEnglishKeyboardWithShiftForCapitalsOnly) {
    FakePlatform platform;
    std::string typed;
    platform.keyHandler = [&](const KeyEvent& event) {
        if (event.message == KeyMessage::KeyDown)
            typed += platform.TranslateKey(event);
        return HookDecision::Swallow;
    };
    platform.TypeText("Ab 9\t-");
    EXPECT_EQ(typed, "Ab 9\t-");
    EXPECT_FALSE(platform.shiftDown); // released after each capital
    typed.clear();
    for (VirtualKey key : {VirtualKey::Left, VirtualKey::Down, VirtualKey::Delete, VirtualKey::F8,
                           VirtualKey::LeftShift, VirtualKey::CapsLock, VirtualKey::Enter})
        platform.PressKey(key);
    EXPECT_EQ(typed, "");
}

} // namespace
} // namespace tov
