#pragma once
// Where a catalogue build reads from, and the build itself.
#include "catalogue/catalogue.h"
#include "platform/platform.h"

#include <functional>
#include <string>

namespace tov {

struct App;

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
};

// Rebuilds the three structures from the sources; `pump` runs after every file the folder walk records.
void BuildCatalogue(Catalogue& catalogue, const CatalogueSources& sources, const std::function<void()>& pump);

// The running program's build: sources from the system's special folders and the settings in memory.
CatalogueSources SystemCatalogueSources(App& app);
void BuildCatalogue(App& app);

bool IsInCommandTable(const Catalogue& catalogue, std::string_view name);

} // namespace tov
