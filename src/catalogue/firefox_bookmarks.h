#pragma once
// Firefox bookmarks: each profile's places.sqlite, or the anchors of the first "bookmarks.html"
// in the user's profiles folder.
#include "catalogue/catalogue.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

// What the name of an exported bookmarks file holds, lower-cased.
inline constexpr std::string_view kBookmarksFileMark = "bookmarks.html";

inline constexpr const char* kFirefoxBookmarkSuffix = " (firefox bookmark)";

// Past these an anchor is left out (an address cut short would open the wrong page); a longer
// title is cut. They keep a file that is no real bookmarks file from filling the memory.
inline constexpr std::size_t kMaxBookmarks = 100'000;
inline constexpr std::size_t kMaxBookmarkAddressBytes = 8 * 1024;
inline constexpr std::size_t kMaxBookmarkTitleBytes = 1024;

// The entries the anchors of a bookmarks file give, in file order, as WebBookmarkEntry makes
// them: the address as written, the name lower-cased. The text is read as plain text, not as
// HTML: "href=" is found in any letter case, a title ends at the next "<", character references
// are decoded, and an anchor without a closing quote or ">" ends the list. Time and memory grow
// in step with the file; `leftOut` counts the anchors past the limits, `skippedLinks` those
// whose address is no web address.
std::vector<CommandEntry> ParseBookmarks(std::string_view bytes, std::size_t* leftOut = nullptr,
                                         std::size_t* skippedLinks = nullptr);

// The first file, in walk order, whose lower-cased name holds "bookmarks.html"; empty when none.
std::string FindBookmarksFile(const std::string& profilesFolder);

// The entries of the bookmarks file at `path`; none when it is absent, hidden or unreadable.
std::vector<CommandEntry> ReadBookmarksFile(const std::string& path, std::size_t* leftOut = nullptr,
                                            std::size_t* skippedLinks = nullptr);

// The bookmarks of every profile's places.sqlite; where none can be read, those of the first
// bookmarks.html, and `log` hears of its anchors left out.
void ImportFirefoxBookmarks(Catalogue& catalogue, const std::string& profilesFolder,
                            const std::function<void(std::string_view)>& log = {});

} // namespace tov
