#include "suggest/accessible_view.h"

#include "suggest/command_window.h"
#include "suggest/suggestion_form.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace tov {

namespace {

constexpr const char* kSuggestionsName = "Suggestions";
constexpr const char* kNearMatchWords = ", near match";
constexpr std::string_view kLineEnd = "\r\n";

// The lines of a label, without the empty one after the last line end.
std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find(kLineEnd, start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + kLineEnd.size();
    }
    return lines;
}

Rect ClientRect(const Form& form) {
    return Rect{0, 0, form.rect.width, form.rect.height};
}

} // namespace

AccessibleWindow DescribeCommandWindow(const Form& frmMain) {
    const Control& typed = frmMain.At(frmMain::lblCommand);
    const Control& completion = frmMain.At(frmMain::lblCommandBack);
    const Control& description = frmMain.At(frmMain::lblDescription);
    AccessibleWindow window;
    window.self = {.role = AccessibleRole::ComboBox,
                   .name = frmMain.caption,
                   .value = typed.text,
                   .description = completion.text,
                   .rect = ClientRect(frmMain)};
    window.parts.push_back(
        {.role = AccessibleRole::StaticText, .name = completion.text, .rect = completion.rect});
    window.parts.push_back({.role = AccessibleRole::StaticText,
                            .name = description.text,
                            .rect = description.rect,
                            .alert = IsCommandWindowMessage(description)});
    return window;
}

AccessibleWindow DescribeSuggestions(const Form& form) {
    AccessibleWindow window;
    window.self = {.role = AccessibleRole::List, .name = kSuggestionsName, .rect = ClientRect(form)};
    const std::vector<std::string> rows = LinesOf(form.At(frmCommandSuggestion::lblCommand).text);
    const std::vector<std::string> nearRows = LinesOf(form.At(frmCommandSuggestion::lblNearRows).text);
    const std::vector<std::string> highlighted =
        LinesOf(form.At(frmCommandSuggestion::lblCommandOverlay).text);
    const Control& unlit = form.At(frmCommandSuggestion::imgTack, 0);
    const std::size_t rowCount = std::max(rows.size(), nearRows.size());
    const std::string count = std::to_string(rowCount);
    for (std::size_t i = 0; i < rowCount; ++i) {
        const int row = static_cast<int>(i) + 1;
        const Control* pin = form.Find(frmCommandSuggestion::imgTack, row);
        std::string name = i < rows.size() ? rows[i] : std::string();
        std::string description = std::to_string(row) + " of " + count;
        if (name.empty() && i < nearRows.size() && !nearRows[i].empty()) {
            const std::string_view line = nearRows[i];
            name = line.ends_with(kNearMark) ? line.substr(0, line.size() - kNearMark.size()) : line;
            description += kNearMatchWords;
        }
        if (pin && !pin->text.empty())
            description += ", " + pin->text; // the keys the row takes
        AccessiblePart part{.role = AccessibleRole::ListItem,
                            .name = std::move(name),
                            .description = std::move(description),
                            .selectable = true,
                            .selected = i < highlighted.size() && !highlighted[i].empty(),
                            .checked = pin && pin->picture != unlit.picture};
        if (pin)
            part.rect = {0, pin->rect.top, form.rect.width, pin->rect.height};
        window.parts.push_back(std::move(part));
    }
    return window;
}

} // namespace tov
