#include "suggest/working_monitor.h"

namespace tov {

Monitor MonitorForWindows(Platform& platform, bool workingMonitor, WindowHandle front) {
    if (!workingMonitor)
        return platform.PrimaryMonitor();
    if (front != 0)
        if (const auto monitor = platform.MonitorOfWindow(front))
            return *monitor;
    return platform.MonitorOfCursor();
}

} // namespace tov
