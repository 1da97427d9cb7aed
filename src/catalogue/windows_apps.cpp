#include "catalogue/windows_apps.h"

#include "base/text.h"

#include <algorithm>
#include <set>

namespace tov {

namespace {

bool HasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

} // namespace

void ImportWindowsApps(Catalogue& catalogue, const std::vector<InstalledApp>& apps) {
    std::set<std::string> taken;
    for (const auto& entry : catalogue.table)
        taken.insert(LowerCase(entry.Name));
    for (const auto& app : apps) {
        // A name or id that would break a list file line or the shell's parsing is left out.
        if (app.name.empty() || app.appUserModelId.empty() || HasControlCharacter(app.name) ||
            HasControlCharacter(app.appUserModelId))
            continue;
        if (!taken.insert(LowerCase(app.name)).second)
            continue;
        AddCommandEntry(catalogue,
                        CommandEntry{kAppsFolderPrefix + app.appUserModelId, app.name, {}, {}, {}});
    }
}

} // namespace tov
