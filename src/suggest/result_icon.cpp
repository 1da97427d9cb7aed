#include "suggest/result_icon.h"

#include "catalogue/built_in_commands.h"
#include "suggest/command_window.h"
#include "suggest/lower_compare.h"

namespace tov {

namespace {

// The first entry whose "run" phrase is `phrase`.
const CommandEntry* EntryOfPhrase(const Catalogue& catalogue, std::string_view phrase) {
    const std::string_view runPrefix = BuiltInCommandOf(BuiltInAction::Run).text;
    if (!phrase.starts_with(runPrefix))
        return nullptr;
    const std::string_view name = phrase.substr(runPrefix.size());
    for (const auto& entry : catalogue.table)
        if (LowersTo(entry.Name, name))
            return &entry;
    return nullptr;
}

// An icon location names an icon file or a program; anything else (a library, an index) has no icon here.
std::string IconFileOf(const CommandEntry& entry) {
    if (entry.IconLocation.empty())
        return entry.Target;
    constexpr std::size_t kExtensionLength = 4;
    if (entry.IconLocation.size() < kExtensionLength)
        return {};
    std::string extension = entry.IconLocation.substr(entry.IconLocation.size() - kExtensionLength);
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return extension == ".ico" || extension == ".exe" ? entry.IconLocation : std::string();
}

} // namespace

void ShowResultIcon(Platform& platform, Form* commandWindow, const Catalogue& catalogue, IconCache& icons,
                    std::string_view result) {
    if (!commandWindow)
        return;
    Control* box = commandWindow->Find(frmMain::picIcon);
    const CommandEntry* entry = EntryOfPhrase(catalogue, result);
    if (!box || !entry)
        return;
    const std::string file = IconFileOf(*entry);
    if (file.empty())
        return;
    PicturePtr icon = CachedFileIcon(platform, icons, file);
    if (!icon)
        return;
    box->picture = std::move(icon);
    if (commandWindow->handle != 0)
        platform.UpdateForm(*commandWindow);
}

} // namespace tov
