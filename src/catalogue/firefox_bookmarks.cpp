#include "catalogue/firefox_bookmarks.h"

#include "catalogue/firefox_places.h"
#include "catalogue/walk_folder.h"
#include "platform/files.h"
#include "platform/text.h"

namespace tov {

namespace {

constexpr std::string_view kAnchorStart = "href=\"";
constexpr std::string_view kAnchorEnd = "</a>";
constexpr std::string_view kBookmarksName = "bookmarks.html";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr const char* kBookmarkWorkingFolder = "C:\\";
constexpr std::uint64_t kBookmarksFileLimit = 64u << 20;

// The file as one lower-case line. Firefox writes UTF-8; bytes that are not UTF-8 become U+FFFD
// so that names stay valid text.
std::string FlattenedText(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom))
        bytes.remove_prefix(kUtf8Bom.size());
    std::string joined;
    joined.reserve(bytes.size());
    for (char c : bytes)
        if (c != '\r' && c != '\n')
            joined += c;
    return LowerCase(Utf16ToUtf8(Utf8ToUtf16(joined)));
}

} // namespace

std::vector<CommandEntry> ParseBookmarks(std::string_view bytes) {
    const std::string text = FlattenedText(bytes);
    std::vector<CommandEntry> entries;
    auto anchor = text.find(kAnchorStart);
    while (anchor != std::string::npos) {
        const auto addressStart = anchor + kAnchorStart.size();
        const auto addressEnd = text.find('"', addressStart);
        if (addressEnd == std::string::npos)
            break;
        const auto tagEnd = text.find('>', addressEnd);
        if (tagEnd == std::string::npos)
            break;
        const auto titleStart = tagEnd + 1;
        const auto titleEnd = text.find(kAnchorEnd, titleStart);
        if (titleEnd == std::string::npos)
            break;
        entries.push_back(
            CommandEntry{text.substr(addressStart, addressEnd - addressStart),
                         text.substr(titleStart, titleEnd - titleStart) + kFirefoxBookmarkSuffix,
                         {},
                         kBookmarkWorkingFolder,
                         {}});
        anchor = text.find(kAnchorStart, titleStart);
    }
    return entries;
}

std::string FindBookmarksFile(const std::string& profilesFolder, const std::function<void()>& pump) {
    for (const auto& file : WalkFolder(profilesFolder, pump))
        if (LowerCase(file.FindData.name).find(kBookmarksName) != std::string::npos)
            return file.Folder + file.FindData.name;
    return {};
}

std::vector<CommandEntry> ReadBookmarksFile(const std::string& path) {
    if (!IsPlainFile(path))
        return {};
    const auto bytes = ReadFileBytes(path, kBookmarksFileLimit);
    return bytes ? ParseBookmarks(*bytes) : std::vector<CommandEntry>{};
}

void ImportFirefoxBookmarks(Catalogue& catalogue, const std::string& profilesFolder,
                            const std::function<void()>& pump) {
    if (ImportFirefoxPlaces(catalogue, profilesFolder))
        return;
    const std::string path = FindBookmarksFile(profilesFolder, pump);
    if (path.empty())
        return;
    for (auto& entry : ReadBookmarksFile(path))
        AddCommandEntry(catalogue, std::move(entry));
}

} // namespace tov
