#pragma once
// Where a catalogue build reads from, and the build itself.
#include "catalogue/catalogue.h"
#include "catalogue/start_menu.h"
#include "platform/platform.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

// Folders as the system gives them (empty: the source is absent) and the favourites flags.
struct CatalogueSources {
    std::string programFolder; // holds "customprograms.lst"
    std::string commonPrograms;
    std::string programs;
    std::string favorites;
    std::string commonFavorites;
    std::string firefoxProfiles;
    std::string localAppData;       // holds the Chromium browsers' profiles
    std::vector<InstalledApp> apps; // the shell's Applications folder
    bool ieFavorites = false;
    bool firefoxBookmarks = false;
    bool chromiumBookmarks = false;
    bool windowsApps = false;
    bool settingsPages = false;                           // the Settings app's pages
    std::function<void(std::string_view)> log;            // hears of what a source held past the limits
    std::shared_ptr<const ShortcutMemory> knownShortcuts; // the last build's reads; may be null
    ShortcutMemory* shortcutsRead = nullptr;              // where this build puts its reads; may be null
};

// The phrase list as every build starts it: slot 0 empty, the built-in words the catalogue
// offers, one more empty slot; custom names and run phrases follow them.
std::vector<std::string> FixedPhraseSlots();

// A new catalogue read from the sources; it touches nothing else, so it may run on a worker.
Catalogue BuildCatalogue(const CatalogueSources& sources);

// Which of the sources that the user can turn off a build reads.
struct CatalogueChoices {
    bool ieFavorites = false;
    bool firefoxBookmarks = false;
    bool chromiumBookmarks = false;
    bool windowsApps = false;
    bool settingsPages = false;
};

// The running program's sources: the system's special folders and the chosen sources; the
// Settings app's pages only where there is a Settings app. The shell's apps are listed apart
// (ListChosenApps), as that may take a while.
CatalogueSources SystemCatalogueSources(Platform& platform, const CatalogueChoices& choices);

// Fills in the shell's apps when the sources ask for them.
void ListChosenApps(Platform& platform, CatalogueSources& sources);

// Where Firefox keeps its profiles for this user; empty when the system names no such folder.
std::string FirefoxProfilesFolder(Platform& platform);

bool IsInCommandTable(const Catalogue& catalogue, std::string_view name);

} // namespace tov
