#pragma once
// Where a catalogue build reads from, and the build itself.
#include "catalogue/catalogue.h"
#include "platform/platform.h"

#include <functional>
#include <string>
#include <vector>

namespace tov {

// Folders as the system gives them (empty: the source is absent) and the two favourites flags.
struct CatalogueSources {
    std::string programFolder; // holds "customprograms.lst"
    std::string commonPrograms;
    std::string programs;
    std::string favorites;
    std::string commonFavorites;
    std::string firefoxProfiles;
    bool ieFavorites = false;
    bool firefoxBookmarks = false;
};

// The phrase list as every build starts it: slot 0 empty, the built-in words the catalogue
// offers, one more empty slot; custom names and run phrases follow them.
std::vector<std::string> FixedPhraseSlots();

// Rebuilds the three structures from the sources; `pump` runs after every file the folder walk records.
void BuildCatalogue(Catalogue& catalogue, const CatalogueSources& sources, const std::function<void()>& pump);

// The running program's sources: the system's special folders, and the two favourites flags as set.
CatalogueSources SystemCatalogueSources(Platform& platform, bool ieFavorites, bool firefoxBookmarks);

// Where Firefox keeps its profiles for this user; empty when the system names no such folder.
std::string FirefoxProfilesFolder(Platform& platform);

bool IsInCommandTable(const Catalogue& catalogue, std::string_view name);

} // namespace tov
