#pragma once
// Apps of the shell's Applications folder (Calculator, Settings, Store apps) that no
// Start-menu shortcut already offers.
#include "catalogue/catalogue.h"
#include "platform/platform.h"

#include <vector>

namespace tov {

// What the shell opens an app by.
inline constexpr const char* kAppsFolderPrefix = "shell:AppsFolder\\";

// Adds each app whose lower-cased name no entry of the table has yet, and no earlier app of
// the list, named by its display name and opening shell:AppsFolder\<id>.
void ImportWindowsApps(Catalogue& catalogue, const std::vector<InstalledApp>& apps);

} // namespace tov
