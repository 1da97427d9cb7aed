#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_values.h"

#include <windows.h>

namespace tov {

namespace {

HWND ToHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}

} // namespace

// Posted, so a window that does not answer cannot hold up the launcher.
void Win32Platform::RequestWindowClose(WindowHandle window) {
    const HWND hwnd = ToHwnd(window);
    if (hwnd && IsWindow(hwnd))
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

void Win32Platform::SetShowCommand(WindowHandle window, ShowCommand command) {
    const HWND hwnd = ToHwnd(window);
    // Placing another thread's window waits for that thread; one that has stopped answering is left alone.
    if (!hwnd || !IsWindow(hwnd) || IsHungAppWindow(hwnd))
        return;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(hwnd, &placement))
        return;
    const int showCommand = win32::ToShowWindowCommand(command);
    placement.showCmd = static_cast<UINT>(showCommand);
    // Some systems (Wine) place only their own process's windows; the show command alone
    // still reaches the others, queued to their thread.
    if (!SetWindowPlacement(hwnd, &placement))
        ShowWindowAsync(hwnd, showCommand);
}

void Win32Platform::BringToFront(WindowHandle window) {
    const HWND hwnd = ToHwnd(window);
    if (hwnd && IsWindow(hwnd))
        SetForegroundWindow(hwnd);
}

void Win32Platform::StartScreenSaver(WindowHandle ownWindow) {
    const HWND hwnd = ToHwnd(ownWindow);
    if (hwnd && IsWindow(hwnd))
        SendMessageW(hwnd, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
}

} // namespace tov
