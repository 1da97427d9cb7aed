#include "catalogue/firefox_places.h"

#include "catalogue/firefox_bookmarks.h"
#include "catalogue/sqlite_query.h"
#include "catalogue/walk_folder.h"
#include "catalogue/web_bookmark.h"
#include "platform/files.h"

namespace tov {

namespace {

// History makes the file large; it is copied whole before it is read, so past this size the
// bookmarks.html of the profiles serves instead.
constexpr std::uint64_t kPlacesFileLimit = 256u << 20;
// Bookmarks with an address, leaving out the records that tag one: Firefox keeps a tag as a
// folder in the "tags" root and each tagged address as an untitled bookmark inside it.
constexpr std::string_view kBookmarksQuery =
    "SELECT b.title, p.url FROM moz_bookmarks AS b JOIN moz_places AS p ON p.id = b.fk "
    "WHERE b.type = 1 AND NOT EXISTS (SELECT 1 FROM moz_bookmarks AS tag JOIN moz_bookmarks AS tags "
    "ON tags.id = tag.parent WHERE tag.id = b.parent AND tags.guid = 'tags________') ORDER BY b.id";
constexpr std::size_t kTitleColumn = 0;
constexpr std::size_t kAddressColumn = 1;
constexpr std::size_t kColumns = 2;

} // namespace

std::optional<std::vector<CommandEntry>>
ReadPlacesBookmarks(const std::string& path, std::size_t* skippedLinks, std::size_t* rowsLeftOut) {
    if (!IsPlainFile(path))
        return std::nullopt;
    const auto read = QueryDatabase(path, kBookmarksQuery, kColumns, kMostBookmarksPerFile, kPlacesFileLimit);
    if (!read)
        return std::nullopt;
    if (rowsLeftOut)
        *rowsLeftOut += read->leftOut;
    std::vector<CommandEntry> entries;
    for (const auto& row : read->rows)
        if (auto entry = WebBookmarkEntry(row[kTitleColumn], row[kAddressColumn], kFirefoxBookmarkSuffix,
                                          skippedLinks))
            entries.push_back(std::move(*entry));
    return entries;
}

bool ImportFirefoxPlaces(Catalogue& catalogue, const std::string& profilesFolder,
                         const std::function<void(std::string_view)>& log) {
    if (profilesFolder.empty())
        return false;
    bool read = false;
    std::size_t rowsLeftOut = 0;
    for (const auto& profile : Subfolders(profilesFolder)) {
        if (auto entries = ReadPlacesBookmarks(JoinPath(JoinPath(profilesFolder, profile), kPlacesFile),
                                               &catalogue.skippedLinks, &rowsLeftOut)) {
            AddBookmarksOnce(catalogue, std::move(*entries));
            read = true;
        }
    }
    if (rowsLeftOut > 0 && log)
        log("places.sqlite: " + std::to_string(rowsLeftOut) + " bookmarks left out (a value longer than " +
            std::to_string(kLongestDatabaseValue) + " bytes)");
    return read;
}

} // namespace tov
