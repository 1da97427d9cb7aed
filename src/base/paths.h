#pragma once
// Paths as the program writes them: UTF-8 with backslashes, as on Windows.
#include <string>

namespace tov {

// `folder` + "\" + `name`, without doubling a backslash that `folder` already ends with.
std::string JoinPath(const std::string& folder, const std::string& name);

// Up to and including the last separator (either slash), or nothing when there is none.
std::string FolderPart(const std::string& path);
// What follows the last separator, or the whole path when there is none.
std::string NamePart(const std::string& path);

} // namespace tov
