#pragma once
// What a screen reader is told about a window that draws its contents itself: the window's
// own object and its parts, as plain data. The platform hands it out on request and raises the
// events that tell a listening screen reader what changed.
#include "ui/window_values.h"

#include <string>
#include <vector>

namespace tov {

enum class AccessibleRole {
    ComboBox, // a typed line with suggestions
    List,
    ListItem,
    StaticText,
    Client,   // a window's contents as a whole
    Grouping, // a frame's caption
    Control,  // a control with a window of its own, which speaks for itself
};

struct AccessiblePart {
    AccessibleRole role = AccessibleRole::StaticText;
    std::string name;
    std::string value;
    std::string description;
    Rect rect; // in the form's client coordinates
    bool selectable = false;
    bool selected = false;
    bool checked = false;
    // Text the user must hear even while the window does not have the focus.
    bool alert = false;
    int nativeControl = -1;  // a Control part: its position in the form's controls
    WindowHandle window = 0; // a Control part: its window, found by the platform
};

struct AccessibleWindow {
    AccessiblePart self;
    std::vector<AccessiblePart> parts; // the window's children, numbered from 1
};

enum class AccessibleEventKind {
    ValueChange,
    NameChange,
    Alert,
    Reorder, // the window's rows are others now
    Selection,
};

struct AccessibleEvent {
    AccessibleEventKind kind;
    int child; // 0 for the window itself, 1.. for its parts
    bool operator==(const AccessibleEvent&) const = default;
};

// The events that carry a window from what a screen reader was last told to what it shows now.
// `before` is null when the window has not been described yet.
std::vector<AccessibleEvent> AccessibleChanges(const AccessibleWindow* before, const AccessibleWindow& now);

} // namespace tov
