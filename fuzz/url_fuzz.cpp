// Internet-shortcut files: any bytes give an address of one line at most, and that address is
// what a line of the file, as text, says after "URL=".
#include "catalogue/favorites.h"
#include "catalogue/list_file.h"
#include "platform/code_pages.h"

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string_view>

namespace {

constexpr std::size_t kAnyLength = std::numeric_limits<std::size_t>::max();

bool SaidByALine(std::string_view bytes, const std::string& address) {
    const std::string said = "URL=" + address;
    // Lines of any length: the reader allows longer lines in these files than in lists.
    for (const std::string& line : tov::DecodeListFile(bytes, tov::AnsiCodePage(), kAnyLength).lines)
        if (line.ends_with(said))
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string address = tov::InternetShortcutAddress(bytes);
    if (address.find_first_of("\r\n") != std::string::npos)
        std::abort();
    if (!address.empty() && !SaidByALine(bytes, address))
        std::abort();
    return 0;
}
