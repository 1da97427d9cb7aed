#include "app/settings.h"

#include "catalogue/build.h"
#include "input/state.h"
#include "platform/files.h"
#include "platform/settings_store.h"

namespace tov {

void LoadSettings(Platform& platform, State& state) {
    state.CapturingKey = false;
    state.ActivationKey = SettingToInt16(GetSetting(platform, "mappedkey", kDefaultActivationKey));
    state.CheckBeforeShutdown = SettingToInt16(GetSetting(platform, "checkbeforeshutdown", 1));
    state.SuggestionCount = SettingToInt16(GetSetting(platform, "showsuggestions", kDefaultSuggestionCount));
    state.Transparency = SettingToInt16(GetSetting(platform, "windowtransparency", kDefaultTransparency));
    state.ShowIEFavorites = SettingToInt16(GetSetting(platform, "showiefavs", 1));
    state.FirefoxProfilesDir = FirefoxProfilesFolder(platform);
    const int firefoxDefault = IsFolder(state.FirefoxProfilesDir) ? 1 : 0;
    state.ShowFFFavorites = SettingToInt16(GetSetting(platform, "showfffavs", firefoxDefault));
    state.ShowChromiumBookmarks = SettingToInt16(GetSetting(platform, "showchromium", 1));
    state.ShowApps = SettingToInt16(GetSetting(platform, "showapps", 1));
    state.ShowSettingsPages = SettingToInt16(GetSetting(platform, kSettingsPagesSetting, 1));
    state.NearMatches = SettingToInt16(GetSetting(platform, kNearMatchesSetting, 1));
    state.LatencyFile = platform.ReadSetting(kAppName, kSettingsSection, "latencyfile").value_or("");
}

} // namespace tov
