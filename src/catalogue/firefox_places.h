#pragma once
// Firefox bookmarks where Firefox keeps them: the places.sqlite database of each profile.
#include "catalogue/catalogue.h"

#include <optional>
#include <string>
#include <vector>

namespace tov {

inline constexpr const char* kPlacesFile = "places.sqlite";

// The bookmarks with an address in a places.sqlite, by title, in the order they were made.
// Nothing when the file is missing or too large, or cannot be read as such a database (also
// where the system has no SQLite).
std::optional<std::vector<CommandEntry>> ReadPlacesBookmarks(const std::string& path);

// Adds the bookmarks of every profile's places.sqlite; false when none could be read, and
// the bookmarks.html of the profiles serves instead.
bool ImportFirefoxPlaces(Catalogue& catalogue, const std::string& profilesFolder);

} // namespace tov
