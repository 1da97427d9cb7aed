#pragma once
#include "catalogue/catalogue.h"
#include "platform/forms.h"
#include "suggest/icon_cache.h"
#include "ui/form.h"

#include <string_view>

namespace tov {

// Puts the icon of the command-table entry that `result` leads to in the command window's
// icon box; leaves the box as it is when the result is no entry's phrase or has no icon. An
// icon not yet extracted is drawn when it is ready, if the window still wants it then.
void ShowResultIcon(Platform& platform, Forms& forms, const Catalogue& catalogue, IconCache& icons,
                    std::string_view result);

// Empties the icon box, which then waits for no icon.
void ClearResultIcon(Form& commandWindow);

} // namespace tov
