#include "platform/catch_at_edge.h"

#include <string>

namespace tov {

void LogFault(Platform* platform, std::string_view what, std::string_view reason) noexcept {
    if (!platform)
        return;
    try {
        std::string line(what);
        line += " failed: ";
        line += reason;
        platform->Log(line);
    } catch (...) {
        // Out of memory, most likely: the fault goes unrecorded rather than ending the program.
    }
}

} // namespace tov
