#include "suggest/result_icon.h"

#include "catalogue/built_in_commands.h"
#include "suggest/command_window.h"

namespace tov {

namespace {

// The first entry whose "run" phrase is `phrase`.
const CommandEntry* EntryOfPhrase(const Catalogue& catalogue, std::string_view phrase) {
    const std::string_view runPrefix = BuiltInCommandOf(BuiltInAction::Run).text;
    if (!phrase.starts_with(runPrefix))
        return nullptr;
    return FindCommandEntry(catalogue, phrase.substr(runPrefix.size()));
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

// The box of the command window that stands now, when it still waits for `key`.
Control* BoxWaitingFor(Forms& forms, const IconKey& key) {
    Form* window = forms.frmMain.get();
    Control* box = window ? window->Find(frmMain::picIcon) : nullptr;
    return box && box->tag == key.file ? box : nullptr;
}

void Draw(Platform& platform, Form& window, Control& box, PicturePtr picture) {
    if (!picture)
        return;
    box.picture = std::move(picture);
    if (window.handle != 0)
        platform.UpdateForm(window);
}

} // namespace

void ShowResultIcon(Platform& platform, Forms& forms, const Catalogue& catalogue, IconCache& icons,
                    std::string_view result) {
    Form* window = forms.frmMain.get();
    Control* box = window ? window->Find(frmMain::picIcon) : nullptr;
    if (!box)
        return;
    const CommandEntry* entry = EntryOfPhrase(catalogue, result);
    // The box remembers which file it waits for, so a late icon never lands on another result.
    box->tag = entry ? IconFileOf(*entry) : std::string();
    if (box->tag.empty())
        return;
    const IconKey key{box->tag, 0};
    const CachedIcon* cached = FindCachedIcon(icons, key);
    if (cached)
        Draw(platform, *window, *box, cached->picture);
    if (cached && platform.MonotonicNow() - cached->checked < kIconRecheck)
        return;
    ExtractIconInBackground(platform, icons, key, [&platform, &forms, &icons](const IconKey& ready) {
        Control* waiting = BoxWaitingFor(forms, ready);
        const CachedIcon* icon = waiting ? FindCachedIcon(icons, ready) : nullptr;
        if (icon && waiting->picture != icon->picture)
            Draw(platform, *forms.frmMain, *waiting, icon->picture);
    });
}

void ClearResultIcon(Form& commandWindow) {
    if (Control* box = commandWindow.Find(frmMain::picIcon)) {
        box->picture = nullptr;
        box->tag.clear();
    }
}

} // namespace tov
