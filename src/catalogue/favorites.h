#pragma once
// Internet Explorer favourites: Internet-shortcut (.url) files below a Favorites folder.
#include "catalogue/catalogue.h"

#include <string>
#include <string_view>

namespace tov {

inline constexpr const char* kUserFavoriteSuffix = " (ie bookmark)";

// The address of an Internet-shortcut file's bytes: what follows the first "URL=" after the
// "[InternetShortcut]" header, to the end of that line; empty when either is missing.
std::string InternetShortcutAddress(std::string_view bytes);

// The address of the .url file at `path`; empty when the file is absent, hidden or unreadable.
std::string URLRead(const std::string& path);

// Adds one entry per .url file below `favoritesFolder` whose address is a web address, named
// by its lower-cased base name followed by `suffix`; the others are counted in skippedLinks.
void ImportFavorites(Catalogue& catalogue, const std::string& favoritesFolder, std::string_view suffix);

} // namespace tov
