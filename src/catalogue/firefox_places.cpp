#include "catalogue/firefox_places.h"

#include "catalogue/firefox_bookmarks.h"
#include "catalogue/sqlite_query.h"
#include "catalogue/walk_folder.h"
#include "catalogue/web_bookmark.h"
#include "platform/files.h"

namespace tov {

namespace {

// History makes the file large; only the bookmark rows are read, whatever its size.
constexpr std::uint64_t kPlacesFileLimit = 1ull << 30;
constexpr std::string_view kBookmarksQuery =
    "SELECT b.title, p.url FROM moz_bookmarks AS b JOIN moz_places AS p ON p.id = b.fk "
    "WHERE b.type = 1 ORDER BY b.id";
constexpr std::size_t kTitleColumn = 0;
constexpr std::size_t kAddressColumn = 1;
constexpr std::size_t kColumns = 2;
// Firefox's own queries ("Most Visited" and the like) are bookmarks that no shell can open.
constexpr std::string_view kFirefoxQueryScheme = "place:";

} // namespace

std::optional<std::vector<CommandEntry>> ReadPlacesBookmarks(const std::string& path) {
    const auto size = FileSize(path);
    if (!IsPlainFile(path) || !size || *size > kPlacesFileLimit)
        return std::nullopt;
    const auto rows = QueryDatabase(path, kBookmarksQuery, kColumns, kMostBookmarksPerFile);
    if (!rows)
        return std::nullopt;
    std::vector<CommandEntry> entries;
    for (const auto& row : *rows) {
        const std::string& address = row[kAddressColumn];
        if (address.starts_with(kFirefoxQueryScheme))
            continue;
        if (auto entry = WebBookmarkEntry(row[kTitleColumn], address, kFirefoxBookmarkSuffix))
            entries.push_back(std::move(*entry));
    }
    return entries;
}

bool ImportFirefoxPlaces(Catalogue& catalogue, const std::string& profilesFolder) {
    if (profilesFolder.empty())
        return false;
    bool read = false;
    for (const auto& profile : Subfolders(profilesFolder)) {
        if (auto entries = ReadPlacesBookmarks(JoinPath(JoinPath(profilesFolder, profile), kPlacesFile))) {
            AddBookmarksOnce(catalogue, std::move(*entries));
            read = true;
        }
    }
    return read;
}

} // namespace tov
