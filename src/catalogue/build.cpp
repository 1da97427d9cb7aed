#include "catalogue/build.h"

#include "app/app.h"
#include "catalogue/custom_commands.h"
#include "catalogue/favorites.h"
#include "catalogue/firefox_bookmarks.h"
#include "catalogue/start_menu.h"

#include <algorithm>
#include <array>

namespace tov {

namespace {

constexpr std::array<const char*, 12> kBuiltInWords = {
    "exit",        "close",         "minimize", "maximize",
    "preferences", "reboot",        "shutdown", "shutdown (force)",
    "logoff",      "lock computer", "help",     "screensaver"};
// Slot 0 and the slot after the built-in words stay empty; custom names start after them.
constexpr std::size_t kFirstOpenSlot = kBuiltInWords.size() + 2;

constexpr const char* kFirefoxProfilesPath = "\\Mozilla\\Firefox\\Profiles\\";

// A rebuild asked for from inside a running build (through the messages the folder walk
// lets through) runs again once the running one is done, so the catalogue ends up matching
// the latest settings and is never filled by two builds at once.
struct BuildGuard {
    bool running = false;
    bool again = false;
};
BuildGuard guard;

} // namespace

void BuildCatalogue(Catalogue& catalogue, const CatalogueSources& sources,
                    const std::function<void()>& pump) {
    catalogue.phrases.assign(kFirstOpenSlot, std::string());
    std::copy(kBuiltInWords.begin(), kBuiltInWords.end(), catalogue.phrases.begin() + 1);
    catalogue.table.clear();
    LoadCustomCommands(catalogue, sources.programFolder);
    ImportStartMenu(catalogue, sources.commonPrograms, pump);
    ImportStartMenu(catalogue, sources.programs, pump);
    if (sources.ieFavorites) {
        ImportFavorites(catalogue, sources.favorites, kUserFavoriteSuffix, pump);
        ImportFavorites(catalogue, sources.commonFavorites, "", pump);
    }
    if (sources.firefoxBookmarks)
        ImportFirefoxBookmarks(catalogue, sources.firefoxProfiles, pump);
    std::stable_sort(catalogue.table.begin(), catalogue.table.end(),
                     [](const CommandEntry& a, const CommandEntry& b) { return a.Name < b.Name; });
}

CatalogueSources SystemCatalogueSources(App& app) {
    Platform& platform = app.platform;
    CatalogueSources s;
    s.programFolder = platform.ProgramFolder();
    s.commonPrograms = platform.SpecialFolder(KnownFolder::CommonPrograms);
    s.programs = platform.SpecialFolder(KnownFolder::Programs);
    s.favorites = platform.SpecialFolder(KnownFolder::Favorites);
    s.commonFavorites = platform.SpecialFolder(KnownFolder::CommonFavorites);
    const std::string appData = platform.SpecialFolder(KnownFolder::AppData);
    s.firefoxProfiles = appData.empty() ? std::string() : appData + kFirefoxProfilesPath;
    s.ieFavorites = app.state.ShowIEFavorites != 0;
    s.firefoxBookmarks = app.state.ShowFFFavorites != 0;
    return s;
}

void BuildCatalogue(App& app) {
    if (guard.running) {
        guard.again = true;
        return;
    }
    struct Running {
        Running() { guard.running = true; }
        ~Running() { guard.running = false; }
    } running;
    do {
        guard.again = false;
        BuildCatalogue(app.catalogue, SystemCatalogueSources(app),
                       [&] { app.platform.PumpPendingMessages(); });
    } while (guard.again);
}

bool IsInCommandTable(const Catalogue& catalogue, std::string_view name) {
    return std::any_of(catalogue.table.begin(), catalogue.table.end(),
                       [&](const CommandEntry& e) { return e.Name == name; });
}

} // namespace tov
