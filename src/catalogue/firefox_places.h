#pragma once
// Firefox bookmarks where Firefox keeps them: the places.sqlite database of each profile.
#include "catalogue/catalogue.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

inline constexpr const char* kPlacesFile = "places.sqlite";

// The bookmarks with an address in a places.sqlite (and in its write-ahead log), by title, in
// the order they were made; not the records that tag an address. Nothing when the file is
// missing or too large, or cannot be read as such a database (also where the system has no
// SQLite). `skippedLinks` counts the addresses that are no web address, `rowsLeftOut` the
// bookmarks too long to keep.
std::optional<std::vector<CommandEntry>> ReadPlacesBookmarks(const std::string& path,
                                                             std::size_t* skippedLinks = nullptr,
                                                             std::size_t* rowsLeftOut = nullptr);

// Adds the bookmarks of every profile's places.sqlite; false when none could be read, and
// the bookmarks.html of the profiles serves instead. `log` hears of bookmarks left out.
bool ImportFirefoxPlaces(Catalogue& catalogue, const std::string& profilesFolder,
                         const std::function<void(std::string_view)>& log = {});

} // namespace tov
