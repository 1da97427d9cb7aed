// The desktop's monitors as the program places its windows on them.
#include "platform/win32/win32_platform.h"

#include "platform/win32/dpi_win32.h"

namespace tov {

namespace {

Rect ToRect(const RECT& r) {
    return Rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

Monitor Describe(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!monitor || !GetMonitorInfoW(monitor, &info)) {
        // Only a monitor that has just gone can fail; the screen as a whole stands in for it.
        const Rect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        return Monitor{.bounds = screen, .workArea = screen, .dpi = win32::SystemDpi(), .primary = true};
    }
    return Monitor{.bounds = ToRect(info.rcMonitor),
                   .workArea = ToRect(info.rcWork),
                   .dpi = win32::MonitorDpi(monitor),
                   .primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0};
}

} // namespace

std::optional<Monitor> Win32Platform::MonitorOfWindow(WindowHandle window) {
    const HWND hwnd = reinterpret_cast<HWND>(window);
    if (!hwnd || !IsWindow(hwnd))
        return std::nullopt;
    return Describe(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST));
}

Monitor Win32Platform::MonitorOfCursor() {
    POINT cursor{};
    if (!GetCursorPos(&cursor))
        return PrimaryMonitor();
    return Describe(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST));
}

Monitor Win32Platform::PrimaryMonitor() {
    return Describe(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
}

} // namespace tov
