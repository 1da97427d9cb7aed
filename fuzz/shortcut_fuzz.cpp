// Shortcut files are whatever sits in a Start-menu folder: any bytes must parse quietly, a
// rejected file must leave nothing behind, and a resolved relative path must climb no further.
#include "catalogue/shortcut.h"
#include "catalogue/start_menu.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

bool HasParentStep(const std::string& path) {
    std::size_t start = 0;
    for (;;) {
        const auto end = path.find('\\', start);
        if (path.substr(start, end == std::string::npos ? std::string::npos : end - start) == "..")
            return true;
        if (end == std::string::npos)
            return false;
        start = end + 1;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tov::ShortcutInfo info;
    if (!tov::ParseShortcut(bytes, info)) {
        const tov::ShortcutInfo empty;
        if (info.Attributes != 0 || info.Target != empty.Target || info.Description != empty.Description ||
            info.RelativePath != empty.RelativePath || info.WorkingFolder != empty.WorkingFolder ||
            info.Arguments != empty.Arguments || info.IconLocation != empty.IconLocation)
            std::abort();
        return 0;
    }
    const std::string target = tov::ProgramTarget(info, "C:\\ProgramData\\Start Menu\\Programs\\Tools\\");
    if (target.size() >= 2 && target[1] == ':' && HasParentStep(target) && target != info.Target)
        std::abort();
    return 0;
}
