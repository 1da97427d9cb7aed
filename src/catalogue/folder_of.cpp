#include "catalogue/catalogue.h"

namespace tov {

std::string FolderOf(std::string_view path) {
    const auto last = path.rfind('\\');
    if (last == std::string_view::npos)
        return {};
    return std::string(path.substr(0, last + 1));
}

} // namespace tov
