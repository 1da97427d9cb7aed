#pragma once
// The scale of the monitors as this process sees them. The manifest asks for per-monitor
// awareness (version 2 on Windows 10 1703 and later, version 1 on Windows 8.1); where the system
// grants it, every monitor and window has a scale of its own, and where it does not (Windows 7),
// every one has the system's. The functions that tell them apart are found at run time.
#include "ui/screen.h"

#include <windows.h>

#include <vector>

namespace tov::win32 {

// How the system scales this process's windows, as the main thread was started.
ScaleAwareness ProcessScaleAwareness();
// The system's one scale, as every window of a process that is not per-monitor aware has it.
int SystemDpi();
// The scale of the monitor, or of the monitor the window is on, as this process lays them out.
int MonitorDpi(HMONITOR monitor);
// The scales of the monitors attached now, each once.
std::vector<int> MonitorDpis();
int WindowDpi(HWND window);
// The outer size of a window whose client area is `client`, for its style at the scale.
SIZE OuterSize(SIZE client, DWORD style, DWORD exStyle, int dpi);
// A system metric (an icon's size, say) at the scale.
int MetricForDpi(int index, int dpi);

} // namespace tov::win32
