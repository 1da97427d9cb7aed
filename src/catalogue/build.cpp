#include "catalogue/build.h"

#include "catalogue/built_in_commands.h"
#include "catalogue/chromium_bookmarks.h"
#include "catalogue/custom_commands.h"
#include "catalogue/favorites.h"
#include "catalogue/firefox_bookmarks.h"
#include "catalogue/settings_pages.h"
#include "catalogue/start_menu.h"
#include "catalogue/windows_apps.h"

#include <algorithm>

namespace tov {

namespace {

constexpr const char* kFirefoxProfilesPath = "\\Mozilla\\Firefox\\Profiles\\";

} // namespace

std::vector<std::string> FixedPhraseSlots() {
    std::vector<std::string> slots(1);
    for (const BuiltInCommand& command : kBuiltInCommands)
        if (command.offered)
            slots.emplace_back(command.text);
    slots.emplace_back();
    return slots;
}

Catalogue BuildCatalogue(const CatalogueSources& sources) {
    Catalogue catalogue;
    catalogue.phrases = FixedPhraseSlots();
    LoadCustomCommands(catalogue, sources.programFolder, sources.log);
    ImportStartMenu(catalogue, sources.commonPrograms, sources.knownShortcuts.get(), sources.shortcutsRead);
    ImportStartMenu(catalogue, sources.programs, sources.knownShortcuts.get(), sources.shortcutsRead);
    if (sources.windowsApps)
        ImportWindowsApps(catalogue, sources.apps);
    if (sources.ieFavorites) {
        ImportFavorites(catalogue, sources.favorites, kUserFavoriteSuffix);
        ImportFavorites(catalogue, sources.commonFavorites, "");
    }
    if (sources.firefoxBookmarks)
        ImportFirefoxBookmarks(catalogue, sources.firefoxProfiles, sources.log);
    if (sources.chromiumBookmarks)
        ImportChromiumBookmarks(catalogue, sources.localAppData);
    // Last, so that among phrases that match equally well the older kinds keep their places.
    if (sources.settingsPages)
        ImportSettingsPages(catalogue);
    std::stable_sort(catalogue.table.begin(), catalogue.table.end(),
                     [](const CommandEntry& a, const CommandEntry& b) { return a.Name < b.Name; });
    return catalogue;
}

CatalogueSources SystemCatalogueSources(Platform& platform, const CatalogueChoices& choices) {
    CatalogueSources s;
    s.programFolder = platform.ProgramFolder();
    s.commonPrograms = platform.SpecialFolder(KnownFolder::CommonPrograms);
    s.programs = platform.SpecialFolder(KnownFolder::Programs);
    s.favorites = platform.SpecialFolder(KnownFolder::Favorites);
    s.commonFavorites = platform.SpecialFolder(KnownFolder::CommonFavorites);
    s.firefoxProfiles = FirefoxProfilesFolder(platform);
    s.localAppData = platform.SpecialFolder(KnownFolder::LocalAppData);
    s.ieFavorites = choices.ieFavorites;
    s.firefoxBookmarks = choices.firefoxBookmarks;
    s.chromiumBookmarks = choices.chromiumBookmarks;
    s.windowsApps = choices.windowsApps;
    s.settingsPages = choices.settingsPages && platform.HasSettingsApp();
    s.log = [&platform](std::string_view line) { platform.Log(line); };
    return s;
}

void ListChosenApps(Platform& platform, CatalogueSources& sources) {
    if (sources.windowsApps)
        sources.apps = platform.ListInstalledApps();
}

std::string FirefoxProfilesFolder(Platform& platform) {
    const std::string appData = platform.SpecialFolder(KnownFolder::AppData);
    return appData.empty() ? std::string() : appData + kFirefoxProfilesPath;
}

bool IsInCommandTable(const Catalogue& catalogue, std::string_view name) {
    return std::any_of(catalogue.table.begin(), catalogue.table.end(),
                       [&](const CommandEntry& e) { return e.Name == name; });
}

} // namespace tov
