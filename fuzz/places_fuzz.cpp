// Damaged places.sqlite files: whatever the bytes, the read ends, gives no more entries than
// the file has bytes, and every entry opens an address with a scheme, never a Firefox query.
#include "catalogue/firefox_bookmarks.h"
#include "catalogue/firefox_places.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = (std::filesystem::temp_directory_path() /
                                     ("tovlen-places-fuzz-" + std::to_string(getpid()) + ".sqlite"))
                                        .string();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    const auto entries = tov::ReadPlacesBookmarks(path);
    std::filesystem::remove(path);
    if (!entries)
        return 0;
    if (entries->size() > size)
        std::abort();
    const std::string_view suffix = tov::kFirefoxBookmarkSuffix;
    for (const auto& entry : *entries)
        if (!std::string_view(entry.Name).ends_with(suffix) || entry.Target.find(':') == std::string::npos ||
            entry.Target.starts_with("place:"))
            std::abort();
    return 0;
}
