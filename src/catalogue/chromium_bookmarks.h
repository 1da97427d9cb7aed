#pragma once
// Bookmarks of Edge, Chrome and the other browsers built on Chromium: the "Bookmarks" file
// of every profile under "<vendor>\<browser>\User Data" (or "<browser>\User Data") in the
// user's local application data.
#include "catalogue/catalogue.h"

#include <string>
#include <string_view>
#include <vector>

namespace tov {

inline constexpr const char* kChromiumUserData = "User Data";
inline constexpr const char* kChromiumBookmarksFile = "Bookmarks";

struct ChromiumBookmarksFile {
    std::string path;
    std::string browser; // the browser's folder name, lower-cased: "edge", "chrome"
};

// " (edge bookmark)" for "edge".
std::string ChromiumBookmarkSuffix(std::string_view browser);

// The URL bookmarks of a Bookmarks file, in every root and folder, in the file's order; none
// when the text is no such file. `skippedLinks` counts those that are no web address.
std::vector<CommandEntry> ParseChromiumBookmarks(std::string_view json, std::string_view suffix,
                                                 std::size_t* skippedLinks = nullptr);

// Every profile's Bookmarks file below `localAppData`, browser by browser in listing order.
std::vector<ChromiumBookmarksFile> FindChromiumBookmarksFiles(const std::string& localAppData);

void ImportChromiumBookmarks(Catalogue& catalogue, const std::string& localAppData);

} // namespace tov
