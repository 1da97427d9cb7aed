#pragma once
#include "catalogue/catalogue.h"
#include "platform/form.h"
#include "suggest/icon_cache.h"

#include <string_view>

namespace tov {

// Puts the icon of the command-table entry that `result` leads to in the command window's
// icon box; leaves the box as it is when the result is no entry's phrase or has no icon.
void ShowResultIcon(Platform& platform, Form* commandWindow, const Catalogue& catalogue, IconCache& icons,
                    std::string_view result);

} // namespace tov
