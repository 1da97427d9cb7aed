// Internet-shortcut files: any bytes give an address of one line at most.
#include "catalogue/favorites.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string address =
        tov::InternetShortcutAddress(std::string_view(reinterpret_cast<const char*>(data), size));
    if (address.find_first_of("\r\n") != std::string::npos)
        std::abort();
    return 0;
}
