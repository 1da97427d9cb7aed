#pragma once
// Where a catalogue build reads from, and the build itself.
#include "catalogue/catalogue.h"
#include "platform/platform.h"

#include <functional>
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
    std::function<void(std::string_view)> log; // hears of what a source held past the limits
};

// The phrase list as every build starts it: slot 0 empty, the built-in words the catalogue
// offers, one more empty slot; custom names and run phrases follow them.
std::vector<std::string> FixedPhraseSlots();

// Rebuilds the three structures from the sources; `pump` runs after every file the folder walk records.
void BuildCatalogue(Catalogue& catalogue, const CatalogueSources& sources, const std::function<void()>& pump);

// Which of the sources that the user can turn off a build reads.
struct CatalogueChoices {
    bool ieFavorites = false;
    bool firefoxBookmarks = false;
    bool chromiumBookmarks = false;
    bool windowsApps = false;
};

// The running program's sources: the system's special folders, the chosen sources, and the
// shell's apps when they are chosen.
CatalogueSources SystemCatalogueSources(Platform& platform, const CatalogueChoices& choices);

// Where Firefox keeps its profiles for this user; empty when the system names no such folder.
std::string FirefoxProfilesFolder(Platform& platform);

bool IsInCommandTable(const Catalogue& catalogue, std::string_view name);

} // namespace tov
