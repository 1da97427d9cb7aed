#include "ui/accessible.h"

#include <algorithm>

namespace tov {

namespace {

int SelectedChild(const AccessibleWindow& window) {
    const auto it = std::ranges::find_if(window.parts, &AccessiblePart::selected);
    return it == window.parts.end() ? 0 : static_cast<int>(it - window.parts.begin()) + 1;
}

std::vector<std::string> RowNames(const AccessibleWindow& window) {
    std::vector<std::string> names;
    for (const AccessiblePart& part : window.parts)
        if (part.selectable)
            names.push_back(part.name);
    return names;
}

} // namespace

std::vector<AccessibleEvent> AccessibleChanges(const AccessibleWindow* before, const AccessibleWindow& now) {
    std::vector<AccessibleEvent> events;
    if (before ? before->self.value != now.self.value : !now.self.value.empty())
        events.push_back({AccessibleEventKind::ValueChange, 0});
    for (std::size_t i = 0; i < now.parts.size(); ++i) {
        const AccessiblePart& part = now.parts[i];
        // Rows are told of as a selection; controls with windows tell of themselves.
        if (part.selectable || part.role == AccessibleRole::Control)
            continue;
        const AccessiblePart* old = before && i < before->parts.size() ? &before->parts[i] : nullptr;
        if (old && old->name == part.name && old->alert == part.alert)
            continue;
        const int child = static_cast<int>(i) + 1;
        if (part.alert && !part.name.empty())
            events.push_back({AccessibleEventKind::Alert, child});
        else if (old || !part.name.empty())
            events.push_back({AccessibleEventKind::NameChange, child});
    }
    const bool reordered = before ? RowNames(*before) != RowNames(now) : !RowNames(now).empty();
    if (reordered)
        events.push_back({AccessibleEventKind::Reorder, 0});
    // New rows with the highlight on the same line are still a new selection to hear.
    const int selected = SelectedChild(now);
    if (selected != 0 && (reordered || !before || SelectedChild(*before) != selected))
        events.push_back({AccessibleEventKind::Selection, selected});
    return events;
}

} // namespace tov
