#pragma once
// Firefox bookmarks: each profile's places.sqlite, or the anchors of the first "bookmarks.html"
// in the user's profiles folder.
#include "catalogue/catalogue.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

inline constexpr const char* kFirefoxBookmarkSuffix = " (firefox bookmark)";

// The entries the anchors of a bookmarks file give, in file order. The text is lower-cased
// and read as plain text, not as HTML; a malformed anchor ends the list.
std::vector<CommandEntry> ParseBookmarks(std::string_view bytes);

// The first file, in walk order, whose lower-cased name holds "bookmarks.html"; empty when none.
std::string FindBookmarksFile(const std::string& profilesFolder, const std::function<void()>& pump);

// The entries of the bookmarks file at `path`; none when it is absent, hidden or unreadable.
std::vector<CommandEntry> ReadBookmarksFile(const std::string& path);

// The bookmarks of every profile's places.sqlite; where none can be read, those of the first
// bookmarks.html.
void ImportFirefoxBookmarks(Catalogue& catalogue, const std::string& profilesFolder,
                            const std::function<void()>& pump);

} // namespace tov
