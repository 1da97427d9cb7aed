#include "app/app.h"
#include "app/settings.h"
#include "app/splash.h"
#include "platform/fake/fake_platform.h"
#include "platform/settings_store.h"
#include "platform/window_utilities.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tov {
namespace {

TEST(SetTransparency, ReportsDoneOutOfRangeAndFailure) {
    FakePlatform platform;
    App app(platform);
    const WindowHandle window = platform.AddWindow("any");
    EXPECT_EQ(SetTransparency(app.platform, window, 255), kTransparencyDone);
    EXPECT_EQ(SetTransparency(app.platform, window, 0), kTransparencyDone); // invisible, yet still there
    EXPECT_EQ(platform.opacity[window], 0);
    EXPECT_EQ(SetTransparency(app.platform, window, 256), kTransparencyOutOfRange);
    EXPECT_EQ(SetTransparency(app.platform, window, -1), kTransparencyOutOfRange);
    EXPECT_EQ(platform.opacity[window], 0);
    EXPECT_EQ(SetTransparency(app.platform, 0, 100), kTransparencyFailed);
}

class Splash : public ::testing::Test {
  protected:
    Form& Load() { return *app.forms.frmLoad; }
    FakePlatform platform;
    App app{platform};
};

TEST_F(Splash, WaitsItsStandTimeThenFadesToNothingAndGoes) {
    LoadSettings(platform, app.state);
    ShowSplash(app);
    ASSERT_TRUE(Load().visible);
    EXPECT_FALSE(Load().style.activateOnShow);
    const MonotonicTime shown = platform.now;
    platform.opacityHistory.clear();
    FadeAwaySplash(app);
    EXPECT_GE(platform.now - shown, std::chrono::milliseconds(500));
    EXPECT_EQ(platform.opacityHistory.front(), 230);
    EXPECT_TRUE(std::is_sorted(platform.opacityHistory.rbegin(), platform.opacityHistory.rend()));
    EXPECT_EQ(platform.opacityHistory.back(), 0);
    EXPECT_EQ(app.forms.frmLoad, nullptr);
    ASSERT_NE(app.forms.frmWelcome, nullptr); // no "showwelcome" yet: a first run
    EXPECT_TRUE(app.forms.frmWelcome->visible);
}

TEST_F(Splash, AStartThatTookLongerFadesAtOnce) {
    ShowSplash(app);
    platform.now += std::chrono::seconds(5);
    const MonotonicTime before = platform.now;
    FadeAwaySplash(app);
    EXPECT_EQ(platform.now, before);
}

TEST_F(Splash, OpacityZeroFadesInOneStepAndShowWelcomeZeroShowsNoWelcome) {
    platform.settings["Tovlen\\settings\\windowtransparency"] = "0";
    platform.settings["Tovlen\\settings\\showwelcome"] = "0";
    LoadSettings(platform, app.state);
    ShowSplash(app);
    platform.opacityHistory.clear();
    FadeAwaySplash(app);
    EXPECT_EQ(platform.opacityHistory, std::vector<int>{0});
    EXPECT_EQ(app.forms.frmWelcome, nullptr);
    EXPECT_EQ(app.forms.frmLoad, nullptr);
}

TEST_F(Splash, ShowWelcomeIsReadAsATruthValue) {
    for (const char* stored : {"1", "-1", "2"}) {
        FakePlatform p;
        p.settings["Tovlen\\settings\\showwelcome"] = stored;
        App a(p);
        ShowSplash(a);
        FadeAwaySplash(a);
        EXPECT_NE(a.forms.frmWelcome, nullptr) << stored;
    }
}

} // namespace
} // namespace tov
