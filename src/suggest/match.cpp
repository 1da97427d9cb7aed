#include "suggest/match.h"

#include "app/app.h"
#include "suggest/lower_compare.h"
#include "suggest/rank.h"
#include "suggest/suggestion_form.h"

namespace tov {

namespace {

constexpr std::string_view kRunPrefix = "run ";

// The first entry whose "run " phrase is `phrase`.
const CommandEntry* EntryOfPhrase(const Catalogue& catalogue, std::string_view phrase) {
    if (!phrase.starts_with(kRunPrefix))
        return nullptr;
    const std::string_view name = phrase.substr(kRunPrefix.size());
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

void ShowResultIcon(App& app, std::string_view result) {
    Form* window = app.forms.frmMain.get();
    if (!window)
        return;
    Control* box = window->Find("picIcon");
    const CommandEntry* entry = EntryOfPhrase(app.catalogue, result);
    if (!box || !entry)
        return;
    const std::string file = IconFileOf(*entry);
    if (file.empty())
        return;
    PicturePtr icon = CachedFileIcon(app.platform, app.icons, file);
    if (!icon)
        return;
    box->picture = std::move(icon);
    if (window->handle != 0)
        app.platform.UpdateForm(*window);
}

} // namespace

std::string MatchCommand(App& app) {
    State& state = app.state;
    if (state.CommandText.empty())
        return {};
    RankMatches(app.catalogue.phrases, state.CommandText, app.usage, app.ranking);
    const std::vector<Match>& matches = app.ranking.matches;
    if (matches.empty()) {
        HideSuggestions(app);
        return {};
    }
    const std::string result = SelectMatch(app.catalogue.phrases, matches, state.SelectedIndex);
    RefreshSuggestions(app, matches, result);
    ShowResultIcon(app, result);
    return result;
}

} // namespace tov
