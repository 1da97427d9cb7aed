#pragma once
// The desktop's monitors, and where on one of them a form's 96-DPI layout goes.
#include "ui/form.h"

namespace tov {

// A monitor as the system reports it, in the screen's own pixels.
struct Monitor {
    Rect bounds;
    Rect workArea; // what the taskbar and the bars docked at the monitor's edges leave free
    int dpi = kBaseDpi;
    bool primary = false;
};

// Whether the system leaves the scaling of a program's windows to the program: not at all (it
// stretches them as bitmaps), for the scale the system had at log-on, or for each monitor's own
// scale (version 2 also scales the caption bars and the dialogs of templates).
enum class ScaleAwareness { Unaware, System, PerMonitor, PerMonitorV2 };
// As a log says it.
const char* DescribeScaleAwareness(ScaleAwareness awareness);

// Where the form's rectangle lies on the screen, in the screen's pixels.
Rect ScreenRect(const Form& form);

// The monitor's work area in the 96-DPI units of a form laid out for it.
Size WorkAreaSize(const Monitor& monitor);

// Lays the form out for the monitor, its rectangle counting from the work area's top-left
// corner, so that a rectangle at (0, 0) stands in that corner, clear of a taskbar at the top or
// at the left.
void AnchorToWorkArea(Form& form, const Monitor& monitor);

// Anchors the form to the monitor and centres it in the work area; a form larger than the work
// area keeps its top-left corner (and so its caption bar) inside it.
void CentreInWorkArea(Form& form, const Monitor& monitor);

} // namespace tov
