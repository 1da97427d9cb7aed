#include "catalogue/firefox_bookmarks.h"

#include "base/text.h"
#include "catalogue/firefox_places.h"
#include "catalogue/html_text.h"
#include "catalogue/walk_folder.h"
#include "catalogue/web_bookmark.h"
#include "platform/files.h"

#include <algorithm>

namespace tov {

namespace {

constexpr std::string_view kAnchorStart = "href=\"";
constexpr char kTitleEnd = '<';
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::uint64_t kBookmarksFileLimit = 64u << 20;

// The file as one line. Firefox writes UTF-8; bytes that are not UTF-8 become U+FFFD so that
// names stay valid text.
std::string FlattenedText(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom))
        bytes.remove_prefix(kUtf8Bom.size());
    std::string joined;
    joined.reserve(bytes.size());
    for (char c : bytes)
        if (c != '\r' && c != '\n')
            joined += c;
    return Utf16ToUtf8(Utf8ToUtf16(joined));
}

// What the anchors are found in: the same text with ASCII letters lowered, every byte in its place.
std::string SearchText(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// At most kMaxBookmarkTitleBytes, never in the middle of a character.
std::string_view CutTitle(std::string_view title) {
    if (title.size() <= kMaxBookmarkTitleBytes)
        return title;
    return title.substr(0, CharacterStart(title, kMaxBookmarkTitleBytes));
}

} // namespace

std::vector<CommandEntry> ParseBookmarks(std::string_view bytes, std::size_t* leftOut,
                                         std::size_t* skippedLinks) {
    // Only the anchors are found case-blind (HREF and href alike); addresses and titles stay as
    // written, with their character references decoded. Lower-casing them whole broke every
    // case-sensitive address ("watch?v=dQw4w9WgXcQ").
    const std::string text = FlattenedText(bytes);
    const std::string search = SearchText(text);
    std::vector<CommandEntry> entries;
    std::size_t skipped = 0;
    auto anchor = search.find(kAnchorStart);
    while (anchor != std::string::npos) {
        const auto addressStart = anchor + kAnchorStart.size();
        const auto addressEnd = search.find('"', addressStart);
        if (addressEnd == std::string::npos)
            break;
        const auto tagEnd = search.find('>', addressEnd);
        if (tagEnd == std::string::npos)
            break;
        const auto titleStart = tagEnd + 1;
        const auto titleEnd = std::min(search.find(kTitleEnd, titleStart), search.size());
        if (addressEnd - addressStart > kMaxBookmarkAddressBytes || entries.size() >= kMaxBookmarks) {
            ++skipped;
        } else {
            const std::string_view view(text);
            const std::string address =
                DecodeCharacterReferences(view.substr(addressStart, addressEnd - addressStart));
            const std::string title =
                DecodeCharacterReferences(CutTitle(view.substr(titleStart, titleEnd - titleStart)));
            if (auto entry = WebBookmarkEntry(title, address, kFirefoxBookmarkSuffix, skippedLinks))
                entries.push_back(std::move(*entry));
        }
        anchor = search.find(kAnchorStart, titleEnd);
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

std::vector<CommandEntry> ReadBookmarksFile(const std::string& path, std::size_t* leftOut,
                                            std::size_t* skippedLinks) {
    if (!IsPlainFile(path))
        return {};
    const auto bytes = ReadFileBytes(path, kBookmarksFileLimit);
    return bytes ? ParseBookmarks(*bytes, leftOut, skippedLinks) : std::vector<CommandEntry>{};
}

void ImportFirefoxBookmarks(Catalogue& catalogue, const std::string& profilesFolder,
                            const std::function<void(std::string_view)>& log) {
    if (ImportFirefoxPlaces(catalogue, profilesFolder, log))
        return;
    const std::string path = FindBookmarksFile(profilesFolder);
    if (path.empty())
        return;
    std::size_t leftOut = 0;
    for (auto& entry : ReadBookmarksFile(path, &leftOut, &catalogue.skippedLinks))
        AddCommandEntry(catalogue, std::move(entry));
    if (leftOut > 0 && log)
        log("bookmarks: " + std::to_string(leftOut) + " anchors left out (past " +
            std::to_string(kMaxBookmarks) + " or with an address longer than " +
            std::to_string(kMaxBookmarkAddressBytes) + " bytes)");
}

} // namespace tov
