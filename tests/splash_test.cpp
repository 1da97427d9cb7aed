#include "app/app.h"
#include "app/settings.h"
#include "app/splash.h"
#include "platform/fake/fake_platform.h"
#include "platform/settings_store.h"
#include "platform/window_utilities.h"

#include <gtest/gtest.h>

#include <map>

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
    EXPECT_EQ(platform.opacityHistory.size(), 2u);
    EXPECT_EQ(SetTransparency(app.platform, 0, 100), kTransparencyFailed);
}

TEST(Fade, StepsThroughEveryLevelTenTimesDownToZero) {
    EXPECT_EQ(FadeStepCount(0), 1);
    EXPECT_EQ(FadeLevel(0, 0), 0);
    EXPECT_EQ(FadeStepCount(230), 2301);
    EXPECT_EQ(FadeStepCount(-5), 0);

    std::map<int, int> times;
    int previous = 230;
    for (int step = 0; step < FadeStepCount(230); ++step) {
        const int level = FadeLevel(230, step);
        EXPECT_LE(level, previous);
        previous = level;
        ++times[level];
    }
    EXPECT_EQ(FadeLevel(230, 0), 230);
    EXPECT_EQ(times[230], 1);
    EXPECT_EQ(times[229], 10);
    EXPECT_EQ(times[1], 10);
    EXPECT_EQ(times[0], 10);
    EXPECT_EQ(times.size(), 231u);
}

class Splash : public ::testing::Test {
  protected:
    Form& Load() { return *app.forms.frmLoad; }
    FakePlatform platform;
    App app{platform};
};

TEST_F(Splash, StandsCentredAtTheTopTranslucent) {
    LoadSettings(platform, app.state);
    ShowSplash(app);
    ASSERT_NE(app.forms.frmLoad, nullptr);
    EXPECT_TRUE(Load().visible);
    EXPECT_FALSE(Load().style.activateOnShow);
    EXPECT_EQ(Load().rect.left, 1024 / 2 - 398 / 2);
    EXPECT_EQ(Load().rect.top, 100);
    EXPECT_EQ(Load().rect.width, 398);
    EXPECT_EQ(Load().rect.height, 144);
    EXPECT_EQ(platform.opacity[Load().handle], 230);
    EXPECT_EQ(Load().At(frmLoad::imgLogo).picture->source, "res:splashlogo");
    const Control& title = Load().At(frmLoad::lblTitle);
    const Control& shadow = Load().At(frmLoad::lblTitleShadow);
    EXPECT_EQ(title.text, "Tovlen");
    EXPECT_EQ(shadow.text, "Tovlen");
    EXPECT_EQ(shadow.rect.left - title.rect.left, 4);
    EXPECT_EQ(shadow.rect.top - title.rect.top, 4);
    EXPECT_EQ(title.textColour, Rgb(0, 128, 0));
    EXPECT_EQ(title.font, (Font{"Verdana", 48, true}));
}

TEST_F(Splash, WaitsItsStandTimeThenFadesToNothingAndGoes) {
    LoadSettings(platform, app.state);
    ShowSplash(app);
    const MonotonicTime shown = platform.now;
    platform.opacityHistory.clear();
    FadeAwaySplash(app);
    EXPECT_GE(platform.now - shown, std::chrono::milliseconds(500));
    EXPECT_EQ(platform.opacityHistory.size(), 2301u);
    EXPECT_EQ(platform.opacityHistory.front(), 230);
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
