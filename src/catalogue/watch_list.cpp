#include "catalogue/watch_list.h"

#include "base/text.h"
#include "catalogue/chromium_bookmarks.h"
#include "catalogue/custom_commands.h"
#include "catalogue/firefox_bookmarks.h"
#include "catalogue/firefox_places.h"

#include <algorithm>

namespace tov {

namespace {

std::string_view LastPart(std::string_view path) {
    const auto slash = path.rfind('\\');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool IsAnyChange(std::string_view) {
    return true;
}

// An empty name says the system lost count, and then the file may have changed too.
bool IsCustomCommandsFile(std::string_view changed) {
    return changed.empty() || LowerCase(changed) == kCustomCommandsFile;
}

bool IsFirefoxBookmarksFile(std::string_view changed) {
    const std::string name = LowerCase(LastPart(changed));
    return changed.empty() || name == kPlacesFile || name.find(kBookmarksFileMark) != std::string::npos;
}

// "<profile>\Bookmarks" below a "User Data" folder.
bool IsChromiumBookmarksFile(std::string_view changed) {
    const auto slash = changed.find('\\');
    return changed.empty() ||
           (slash != std::string_view::npos && changed.substr(slash + 1) == kChromiumBookmarksFile);
}

std::string WithoutTrailingBackslash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '\\')
        folder.pop_back();
    return folder;
}

void AddTree(std::vector<FolderWatchRequest>& list, const std::string& folder) {
    if (!folder.empty())
        list.push_back({WithoutTrailingBackslash(folder), true, IsAnyChange});
}

} // namespace

std::vector<FolderWatchRequest> CatalogueWatchList(const CatalogueSources& sources) {
    std::vector<FolderWatchRequest> list;
    if (!sources.programFolder.empty())
        list.push_back({WithoutTrailingBackslash(sources.programFolder), false, IsCustomCommandsFile});
    AddTree(list, sources.commonPrograms);
    AddTree(list, sources.programs);
    if (sources.ieFavorites) {
        AddTree(list, sources.favorites);
        AddTree(list, sources.commonFavorites);
    }
    if (sources.firefoxBookmarks && !sources.firefoxProfiles.empty())
        list.push_back({WithoutTrailingBackslash(sources.firefoxProfiles), true, IsFirefoxBookmarksFile});
    if (sources.chromiumBookmarks) {
        for (const auto& file : FindChromiumBookmarksFiles(sources.localAppData)) {
            // The file's folder is the profile's; the one above it holds every profile.
            std::string userData =
                WithoutTrailingBackslash(FolderOf(WithoutTrailingBackslash(FolderOf(file.path))));
            const bool known = std::any_of(list.begin(), list.end(),
                                           [&](const FolderWatchRequest& r) { return r.folder == userData; });
            if (!known && !userData.empty())
                list.push_back({std::move(userData), true, IsChromiumBookmarksFile});
        }
    }
    return list;
}

bool SameFolders(const std::vector<FolderWatchRequest>& a, const std::vector<FolderWatchRequest>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const FolderWatchRequest& x, const FolderWatchRequest& y) {
                          return x.folder == y.folder && x.subtree == y.subtree;
                      });
}

} // namespace tov
