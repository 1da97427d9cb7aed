// Bookmarks files: any bytes give well-formed entries, the parse always ends, and what it keeps
// grows no faster than the file: every anchor needs at least eight bytes of its own, and its
// address and title come from separate stretches of the file (a byte that is no UTF-8 may come
// out as three bytes of U+FFFD).
#include "base/text.h"
#include "catalogue/firefox_bookmarks.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

constexpr std::size_t kShortestAnchor = 8; // href="" and >
constexpr std::size_t kWidestReplacement = 3;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view suffix = tov::kFirefoxBookmarkSuffix;
    const auto entries = tov::ParseBookmarks(std::string_view(reinterpret_cast<const char*>(data), size));
    std::size_t kept = 0;
    for (const auto& entry : entries) {
        if (!std::string_view(entry.Name).ends_with(suffix) || entry.Target.find('"') != std::string::npos)
            std::abort();
        // Names are text: UTF-8 that survives a trip through UTF-16 unchanged.
        if (tov::Utf16ToUtf8(tov::Utf8ToUtf16(entry.Name)) != entry.Name ||
            tov::LowerCase(entry.Name) != entry.Name)
            std::abort();
        if (entry.Target.size() > tov::kMaxBookmarkAddressBytes ||
            entry.Name.size() > tov::kMaxBookmarkTitleBytes + suffix.size())
            std::abort();
        kept += entry.Name.size() - suffix.size() + entry.Target.size();
    }
    if (entries.size() > size / kShortestAnchor || entries.size() > tov::kMaxBookmarks ||
        kept > kWidestReplacement * size)
        std::abort();
    return 0;
}
