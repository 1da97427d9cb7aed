#include "app/settings.h"
#include "input/state.h"
#include "platform/fake/fake_platform.h"
#include "platform/settings_store.h"

#include <gtest/gtest.h>

namespace tov {
namespace {

TEST(Settings, StoredValuesWinAndAreReadAsSixteenBitNumbers) {
    FakePlatform platform;
    SaveSetting(platform, "mappedkey", "119");
    SaveSetting(platform, "showsuggestions", "0");
    SaveSetting(platform, "windowtransparency", " 100");
    SaveSetting(platform, "showfffavs", "1");
    SaveSetting(platform, "showchromium", "0");
    SaveSetting(platform, "showapps", "0");
    SaveSetting(platform, kNearMatchesSetting, "0");
    SaveSetting(platform, kSettingsPagesSetting, "0");
    State state;
    EXPECT_EQ(state.NearMatches, 1); // on unless the user turned it off
    EXPECT_EQ(state.ShowSettingsPages, 1);
    LoadSettings(platform, state);
    EXPECT_EQ(state.ActivationKey, 119);
    EXPECT_EQ(state.SuggestionCount, 0);
    EXPECT_EQ(state.Transparency, 100);
    EXPECT_EQ(state.ShowFFFavorites, 1);
    EXPECT_EQ(state.ShowChromiumBookmarks, 0);
    EXPECT_EQ(state.ShowApps, 0);
    EXPECT_EQ(state.NearMatches, 0);
    EXPECT_EQ(state.ShowSettingsPages, 0);
    EXPECT_EQ(SettingToInt16("99999"), 32767);
    EXPECT_EQ(SettingToInt16("-5x"), -5);
    EXPECT_EQ(SettingToInt16("junk"), 0);
    EXPECT_FALSE(SettingToBool("0"));
    EXPECT_TRUE(SettingToBool("-1"));
}

} // namespace
} // namespace tov
