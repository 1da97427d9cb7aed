#include "app/app.h"
#include "app/program.h"
#include "platform/fake/fake_platform.h"
#include "prefs/welcome.h"

#include <gtest/gtest.h>

namespace tov {
namespace {

constexpr const char* kShowWelcome = "Tovlen\\settings\\showwelcome";

class Welcome : public ::testing::Test {
  protected:
    // A start of the program as far as the welcome window goes.
    void Start() {
        app = std::make_unique<App>(platform);
        Startup(*app);
    }
    Form* Window() { return app->forms.frmWelcome.get(); }

    FakePlatform platform;
    std::unique_ptr<App> app;
};

TEST_F(Welcome, TheFirstStartShowsItWithTheBoxTicked) {
    Start();
    ASSERT_NE(Window(), nullptr);
    Form& w = *Window();
    EXPECT_TRUE(w.visible);
    EXPECT_EQ(platform.foreground, w.handle);
    EXPECT_EQ(w.caption, "Welcome to Tovlen");
    EXPECT_TRUE(w.style.activateOnShow);
    EXPECT_EQ(w.At(frmWelcome::lblWelcome).text, "Welcome to Tovlen!");
    EXPECT_EQ(w.At(frmWelcome::chkShowWindow).value, 1);
    EXPECT_EQ(w.At(frmWelcome::cmdOk).text, "Okay");
    EXPECT_FALSE(platform.settings.contains(kShowWelcome));
}

TEST_F(Welcome, OkayStoresTheBoxAndAnUntickedOneShowsNoneNextTime) {
    Start();
    platform.ClickControl(*Window(), frmWelcome::cmdOk);
    EXPECT_EQ(platform.settings[kShowWelcome], "1");
    EXPECT_EQ(Window(), nullptr);
    Shutdown(*app);

    Start();
    platform.ClickControl(*Window(), frmWelcome::chkShowWindow);
    platform.ClickControl(*Window(), frmWelcome::cmdOk);
    EXPECT_EQ(platform.settings[kShowWelcome], "0");
    EXPECT_EQ(Window(), nullptr);
    Shutdown(*app);

    Start();
    EXPECT_EQ(Window(), nullptr);
}

TEST_F(Welcome, ClosingItAnyOtherWayStoresNothing) {
    Start();
    platform.ClickControl(*Window(), frmWelcome::chkShowWindow);
    const auto close = Window()->onClose;
    close();
    EXPECT_EQ(Window(), nullptr);
    EXPECT_FALSE(platform.settings.contains(kShowWelcome));

    platform.settings[kShowWelcome] = "1";
    Shutdown(*app);
    Start();
    ASSERT_NE(Window(), nullptr);
    Shutdown(*app); // unloaded at exit: still nothing stored but what was there
    EXPECT_EQ(platform.settings[kShowWelcome], "1");
}

TEST_F(Welcome, TextFlowsTopToBottomInsideTheWindow) {
    Start();
    const Form& w = *Window();
    EXPECT_EQ(w.rect.width, kWelcomeClientWidth);
    int bottom = 0;
    for (const Control& c : w.controls) {
        if (c.name == frmWelcome::chkShowWindow)
            continue; // beside the button, checked below
        const Rect& r = c.rect;
        EXPECT_GE(r.top, bottom) << c.name.Text() << c.index;
        EXPECT_GT(r.height, 0) << c.name.Text() << c.index;
        EXPECT_LE(r.left + r.width, w.rect.width) << c.name.Text() << c.index;
        bottom = r.top + r.height;
    }
    EXPECT_LE(bottom, w.rect.height);
    const Rect& ok = w.At(frmWelcome::cmdOk).rect;
    const Rect& box = w.At(frmWelcome::chkShowWindow).rect;
    EXPECT_LE(box.left + box.width, ok.left);
}

} // namespace
} // namespace tov
