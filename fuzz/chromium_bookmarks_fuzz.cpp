// Chromium Bookmarks files: any bytes give well-formed entries, each opening an address the
// file holds, never more of them than the file has room for.
#include "base/text.h"
#include "catalogue/chromium_bookmarks.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

// {"type":"url","url":"ab:"}, the least a bookmark that gives an entry takes.
constexpr std::size_t kSmallestBookmark = 26;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string suffix = tov::ChromiumBookmarkSuffix("fuzz");
    const auto entries = tov::ParseChromiumBookmarks(input, suffix);
    if (entries.size() > size / kSmallestBookmark)
        std::abort();
    // Without escapes, JSON strings stand in the file as they are read.
    const bool escaped = input.find('\\') != std::string_view::npos;
    for (const auto& entry : entries) {
        if (!std::string_view(entry.Name).ends_with(suffix) || entry.Target.find(':') == std::string::npos)
            std::abort();
        if (!escaped && input.find(entry.Target) == std::string_view::npos)
            std::abort();
        if (tov::Utf16ToUtf8(tov::Utf8ToUtf16(entry.Name)) != entry.Name ||
            tov::LowerCase(entry.Name) != entry.Name)
            std::abort();
        for (char c : entry.Name + entry.Target)
            if (static_cast<unsigned char>(c) < 0x20)
                std::abort();
    }
    return 0;
}
