#pragma once
// The monitor the program's windows open on: the one the user works on, which shows the window
// in front (the one under the mouse pointer when no window is in front), or the primary monitor
// when the setting "workingmonitor" is off.
#include "platform/platform.h"

namespace tov {

Monitor MonitorForWindows(Platform& platform, bool workingMonitor, WindowHandle front);

} // namespace tov
