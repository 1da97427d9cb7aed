#include "catalogue/firefox_bookmarks.h"

#include "base/text.h"
#include "catalogue/firefox_places.h"
#include "catalogue/walk_folder.h"
#include "platform/files.h"

#include <algorithm>

namespace tov {

namespace {

constexpr std::string_view kAnchorStart = "href=\"";
constexpr char kTitleEnd = '<';
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

// At most kMaxBookmarkTitleBytes, never in the middle of a character.
std::string CutTitle(std::string_view title) {
    if (title.size() <= kMaxBookmarkTitleBytes)
        return std::string(title);
    std::size_t end = kMaxBookmarkTitleBytes;
    while (end > 0 && (static_cast<unsigned char>(title[end]) & 0xC0) == 0x80)
        --end;
    return std::string(title.substr(0, end));
}

} // namespace

std::vector<CommandEntry> ParseBookmarks(std::string_view bytes, std::size_t* leftOut) {
    const std::string text = FlattenedText(bytes);
    std::vector<CommandEntry> entries;
    std::size_t skipped = 0;
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
        const auto titleEnd = std::min(text.find(kTitleEnd, titleStart), text.size());
        if (addressEnd - addressStart > kMaxBookmarkAddressBytes || entries.size() >= kMaxBookmarks) {
            ++skipped;
        } else {
            entries.push_back(
                CommandEntry{text.substr(addressStart, addressEnd - addressStart),
                             CutTitle(std::string_view(text).substr(titleStart, titleEnd - titleStart)) +
                                 kFirefoxBookmarkSuffix,
                             {},
                             kBookmarkWorkingFolder,
                             {}});
        }
        anchor = text.find(kAnchorStart, titleEnd);
    }
    if (leftOut)
        *leftOut = skipped;
    return entries;
}

std::string FindBookmarksFile(const std::string& profilesFolder) {
    for (const auto& file : WalkFolder(profilesFolder))
        if (LowerCase(file.FindData.name).find(kBookmarksFileMark) != std::string::npos)
            return file.Folder + file.FindData.name;
    return {};
}

std::vector<CommandEntry> ReadBookmarksFile(const std::string& path, std::size_t* leftOut) {
    if (!IsPlainFile(path))
        return {};
    const auto bytes = ReadFileBytes(path, kBookmarksFileLimit);
    return bytes ? ParseBookmarks(*bytes, leftOut) : std::vector<CommandEntry>{};
}

void ImportFirefoxBookmarks(Catalogue& catalogue, const std::string& profilesFolder,
                            const std::function<void(std::string_view)>& log) {
    if (ImportFirefoxPlaces(catalogue, profilesFolder))
        return;
    const std::string path = FindBookmarksFile(profilesFolder);
    if (path.empty())
        return;
    std::size_t leftOut = 0;
    for (auto& entry : ReadBookmarksFile(path, &leftOut))
        AddCommandEntry(catalogue, std::move(entry));
    if (leftOut > 0 && log)
        log("bookmarks: " + std::to_string(leftOut) + " anchors left out (past " +
            std::to_string(kMaxBookmarks) + " or with an address longer than " +
            std::to_string(kMaxBookmarkAddressBytes) + " bytes)");
}

} // namespace tov
