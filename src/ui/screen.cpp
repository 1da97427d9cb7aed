#include "ui/screen.h"

#include <algorithm>

namespace tov {

const char* DescribeScaleAwareness(ScaleAwareness awareness) {
    switch (awareness) {
    case ScaleAwareness::Unaware:
        return "none (the system stretches the windows)";
    case ScaleAwareness::System:
        return "the system's scale";
    case ScaleAwareness::PerMonitor:
        return "per monitor";
    case ScaleAwareness::PerMonitorV2:
        return "per monitor, version 2";
    }
    return "unknown";
}

Rect ScreenRect(const Form& form) {
    return Rect{form.origin.x + ScaleToDpi(form.rect.left, form.dpi),
                form.origin.y + ScaleToDpi(form.rect.top, form.dpi), ScaleToDpi(form.rect.width, form.dpi),
                ScaleToDpi(form.rect.height, form.dpi)};
}

Size WorkAreaSize(const Monitor& monitor) {
    return Size{ScaleFromDpi(monitor.workArea.width, monitor.dpi),
                ScaleFromDpi(monitor.workArea.height, monitor.dpi)};
}

void AnchorToWorkArea(Form& form, const Monitor& monitor) {
    form.origin = Point{monitor.workArea.left, monitor.workArea.top};
    form.dpi = monitor.dpi;
}

void CentreInWorkArea(Form& form, const Monitor& monitor) {
    AnchorToWorkArea(form, monitor);
    const Size room = WorkAreaSize(monitor);
    form.rect.left = std::max(0, (room.width - form.rect.width) / 2);
    form.rect.top = std::max(0, (room.height - form.rect.height) / 2);
}

} // namespace tov
