#include "app/app.h"
#include "app/program.h"
#include "app/tray.h"
#include "base/text.h"
#include "platform/fake/fake_platform.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tov {
namespace {

TEST(Utf16ForField, FitsTheFieldWithItsNulAndKeepsCharactersWhole) {
    constexpr std::size_t kTipField = 128;
    EXPECT_EQ(Utf16ForField("Tovlen", kTipField), u"Tovlen");
    EXPECT_EQ(Utf16ForField(std::string(127, 'x'), kTipField).size(), 127u);
    EXPECT_EQ(Utf16ForField(std::string(500, 'x'), kTipField).size(), 127u);
    // U+1F600 takes two UTF-16 units; cut between them, it would leave half a character.
    const std::string face = "\xF0\x9F\x98\x80";
    EXPECT_EQ(Utf16ForField(std::string(126, 'x') + face, kTipField), std::u16string(126, u'x'));
    EXPECT_EQ(Utf16ForField(std::string(125, 'x') + face, kTipField),
              Utf8ToUtf16(std::string(125, 'x') + face));
    EXPECT_EQ(Utf16ForField("\xC3\xA9t\xC3\xA9", 3), u"\u00e9t");
    EXPECT_EQ(Utf16ForField("abc", 0), u"");
}

class Tray : public ::testing::Test {
  protected:
    void SetUp() override {
        platform.settings["Tovlen\\settings\\showwelcome"] = "0";
        Startup(app);
    }
    Form& Systray() { return *app.forms.frmSystray; }
    std::string AbleCaption() { return Systray().FindMenuItem(frmSystray::mnu_systray_able)->caption; }
    void Choose(ControlName item) {
        platform.popupChoices.push_back(item);
        platform.TrayMouse(MouseMessage::RightUp);
    }
    bool CapsLockOpensTheWindow() {
        const bool swallowed = platform.PressKey(VirtualKey::CapsLock) == HookDecision::Swallow;
        platform.RunPending();
        const bool open = app.forms.frmMain && app.forms.frmMain->visible;
        if (open) {
            platform.PressKey(VirtualKey::Escape);
            platform.RunPending();
        }
        return swallowed && open;
    }

    FakePlatform platform;
    App app{platform};
};

TEST_F(Tray, TheIconBelongsToTheHiddenTrayForm) {
    ASSERT_NE(app.forms.frmSystray, nullptr);
    ASSERT_TRUE(platform.trayIcon);
    EXPECT_EQ(platform.trayIcon->owner, Systray().handle);
    EXPECT_NE(Systray().handle, 0u);
    EXPECT_FALSE(Systray().visible);
    EXPECT_EQ(platform.trayIcon->tip, "Tovlen");
}

TEST_F(Tray, OnlyReleasingTheRightButtonOpensTheMenu) {
    for (auto m : {MouseMessage::Move, MouseMessage::LeftDown, MouseMessage::LeftUp, MouseMessage::RightDown,
                   MouseMessage::Other})
        platform.TrayMouse(m);
    EXPECT_TRUE(platform.popupsShown.empty());
    platform.TrayMouse(MouseMessage::RightUp);
    EXPECT_EQ(platform.popupsShown, std::vector<std::string>{frmSystray::kFormName});
    EXPECT_EQ(AbleCaption(), "Disable"); // dismissed: nothing changed
    EXPECT_TRUE(app.state.Running);
}

TEST_F(Tray, DisableAndEnableToggleTheHooksAndTheCaption) {
    EXPECT_TRUE(CapsLockOpensTheWindow());

    // Disabling with the line open closes it, and every key and click passes from then on.
    platform.PressKey(VirtualKey::CapsLock);
    platform.TypeText("ab");
    platform.RunPending();
    Choose(frmSystray::mnu_systray_able);
    platform.RunPending();
    EXPECT_EQ(AbleCaption(), "Enable");
    EXPECT_FALSE(app.state.WindowOpen);
    EXPECT_EQ(app.forms.frmMain, nullptr);
    EXPECT_FALSE(CapsLockOpensTheWindow());
    EXPECT_EQ(platform.PressKey('A'), HookDecision::Pass);

    Choose(frmSystray::mnu_systray_able);
    EXPECT_EQ(AbleCaption(), "Disable");
    EXPECT_TRUE(CapsLockOpensTheWindow());

    Choose(frmSystray::mnu_systray_able);
    EXPECT_EQ(AbleCaption(), "Enable");
    EXPECT_FALSE(CapsLockOpensTheWindow());
}

TEST_F(Tray, ExitEvenWhileDisabledEndsTheLoopAndShutdownTakesTheIconDown) {
    Choose(frmSystray::mnu_systray_able);
    const int wakesBefore = platform.wakeRequests;
    Choose(frmSystray::mnu_sysmenu_exit);
    EXPECT_FALSE(app.state.Running);
    EXPECT_GT(platform.wakeRequests, wakesBefore);
    MainLoop(app);
    Shutdown(app);
    EXPECT_FALSE(platform.trayIcon);
    EXPECT_FALSE(platform.keyHandler);
    EXPECT_EQ(app.forms.frmSystray, nullptr);
    const auto removed = std::find(platform.calls.begin(), platform.calls.end(), "RemoveTrayIcon");
    const auto destroyed =
        std::find(platform.calls.begin(), platform.calls.end(), "DestroyFormWindow frmSystray");
    ASSERT_NE(removed, platform.calls.end());
    ASSERT_NE(destroyed, platform.calls.end());
    EXPECT_LT(removed, destroyed);
}

} // namespace
} // namespace tov
