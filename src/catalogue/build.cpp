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

// How the source wrote the phrase: the custom commands' and the entries' names in their own
// letter case. The phrases after the fixed slots are the custom names, then one run phrase per
// entry in the order the entries were added, which holds until the table is sorted; those from
// `namedEnd` on (the Settings app's pages) are written as they stand.
std::string SpelledPhrase(const Catalogue& catalogue, std::size_t fixedSlots, std::size_t namedEnd,
                          std::size_t phrase) {
    const std::size_t custom = catalogue.custom.size();
    if (namedEnd != fixedSlots + custom + catalogue.table.size() || phrase < fixedSlots || phrase >= namedEnd)
        return catalogue.phrases[phrase];
    if (phrase < fixedSlots + custom)
        return catalogue.custom[phrase - fixedSlots].Name;
    return BuiltInCommandLine(BuiltInAction::Run, catalogue.table[phrase - fixedSlots - custom].Name);
}

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
    const std::size_t fixedSlots = catalogue.phrases.size();
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
    if (catalogue.skippedLinks > 0 && sources.log)
        sources.log("bookmarks and favourites: " + std::to_string(catalogue.skippedLinks) +
                    " left out, as their addresses open no web page or message");
    const std::size_t namedEnd = catalogue.phrases.size();
    // Last, so that among phrases that match equally well the older kinds keep their places.
    if (sources.settingsPages)
        ImportSettingsPages(catalogue);
    catalogue.forms = BuildMatchForms(catalogue.phrases, [&](std::size_t phrase) {
        return SpelledPhrase(catalogue, fixedSlots, namedEnd, phrase);
    });
    std::stable_sort(catalogue.table.begin(), catalogue.table.end(),
                     [](const CommandEntry& a, const CommandEntry& b) { return a.Name < b.Name; });
    IndexCommandTable(catalogue);
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
