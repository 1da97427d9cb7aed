#pragma once
// Icons of command-table entries by file. Typing asks for the best match's icon on every
// key; reading it from the program file once is enough.
#include "platform/platform.h"

#include <string>
#include <unordered_map>

namespace tov {

struct IconCache {
    std::unordered_map<std::string, PicturePtr> pictures; // a file without an icon maps to nullptr
};

// Icon 0 of `file`, extracted on first use.
PicturePtr CachedFileIcon(Platform& platform, IconCache& cache, const std::string& file);

} // namespace tov
