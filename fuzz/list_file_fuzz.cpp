// List files: whatever a file holds, its lines written back and read again are the same lines,
// and the custom-command records are the complete pairs among them.
#include "catalogue/custom_commands.h"
#include "catalogue/list_file.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto lines = tov::DecodeListFile(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const auto& line : lines)
        if (line.find_first_of("\r\n") != std::string::npos)
            std::abort();
    if (tov::DecodeListFile(tov::EncodeListFile(lines)) != lines)
        std::abort();
    if (tov::CustomCommandsFromLines(lines).size() != lines.size() / 2)
        std::abort();
    return 0;
}
