// Bookmarks files: any bytes give well-formed entries, and the parse always ends.
#include "catalogue/firefox_bookmarks.h"
#include "platform/text.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view suffix = tov::kFirefoxBookmarkSuffix;
    for (const auto& entry :
         tov::ParseBookmarks(std::string_view(reinterpret_cast<const char*>(data), size))) {
        if (!std::string_view(entry.Name).ends_with(suffix) || entry.Target.find('"') != std::string::npos)
            std::abort();
        // Names are text: UTF-8 that survives a trip through UTF-16 unchanged.
        if (tov::Utf16ToUtf8(tov::Utf8ToUtf16(entry.Name)) != entry.Name ||
            tov::LowerCase(entry.Name) != entry.Name)
            std::abort();
    }
    return 0;
}
