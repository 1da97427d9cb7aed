#include "catalogue/catalogue.h"

namespace tov {

namespace {

constexpr std::string_view kShareStart = "\\\\";

bool IsDriveLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

} // namespace

std::string FolderOf(std::string_view path) {
    const auto last = path.rfind('\\');
    if (last == std::string_view::npos)
        return {};
    return std::string(path.substr(0, last + 1));
}

bool IsFileSystemPath(std::string_view target) {
    if (target.starts_with(kShareStart))
        return target.size() > kShareStart.size();
    return target.size() >= 3 && IsDriveLetter(target[0]) && target[1] == ':' && IsSeparator(target[2]);
}

} // namespace tov
