// The desktop's monitors as the program places its windows on them, and whether a window's
// program runs above this one.
#include "platform/win32/win32_platform.h"

#include "platform/win32/dpi_win32.h"

#include <cwchar>
#include <iterator>
#include <vector>

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

// The integrity level of a token (untrusted, low, medium, high, system), or nothing when it
// cannot be read.
std::optional<DWORD> IntegrityLevel(HANDLE token) {
    DWORD bytes = 0;
    GetTokenInformation(token, TokenIntegrityLevel, nullptr, 0, &bytes);
    if (bytes < sizeof(TOKEN_MANDATORY_LABEL))
        return std::nullopt;
    std::vector<unsigned char> buffer(bytes);
    if (!GetTokenInformation(token, TokenIntegrityLevel, buffer.data(), bytes, &bytes))
        return std::nullopt;
    const PSID sid = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer.data())->Label.Sid;
    if (!IsValidSid(sid) || *GetSidSubAuthorityCount(sid) == 0)
        return std::nullopt;
    return *GetSidSubAuthority(sid, static_cast<DWORD>(*GetSidSubAuthorityCount(sid) - 1));
}

// The shell's desktop (its icons, or the layer Win+D brings up) stretches over every monitor.
bool IsDesktop(HWND hwnd) {
    if (hwnd == GetShellWindow() || hwnd == GetDesktopWindow())
        return true;
    wchar_t name[16] = {};
    return GetClassNameW(hwnd, name, static_cast<int>(std::size(name))) > 0 &&
           (std::wcscmp(name, L"Progman") == 0 || std::wcscmp(name, L"WorkerW") == 0);
}

} // namespace

std::optional<Monitor> Win32Platform::MonitorOfWindow(WindowHandle window) {
    const HWND hwnd = reinterpret_cast<HWND>(window);
    if (!hwnd || !IsWindow(hwnd) || IsDesktop(hwnd))
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

ScaleAwareness Win32Platform::ScaleAwarenessOfProcess() {
    return win32::ProcessScaleAwareness();
}

bool Win32Platform::RunsElevatedAboveUs(WindowHandle window) {
    const HWND hwnd = reinterpret_cast<HWND>(window);
    DWORD processId = 0;
    if (!hwnd || !GetWindowThreadProcessId(hwnd, &processId) || processId == 0 ||
        processId == GetCurrentProcessId())
        return false;
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw))
        return false;
    const win32::UniqueHandle ownToken(raw);
    const auto ours = IntegrityLevel(ownToken.Get());
    if (!ours)
        return false;
    // A program that this one may not even ask about runs above it (as administrator, or as the
    // system itself).
    const win32::UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process)
        return GetLastError() == ERROR_ACCESS_DENIED;
    raw = nullptr;
    if (!OpenProcessToken(process.Get(), TOKEN_QUERY, &raw))
        return GetLastError() == ERROR_ACCESS_DENIED;
    const win32::UniqueHandle theirToken(raw);
    const auto theirs = IntegrityLevel(theirToken.Get());
    return theirs && *theirs > *ours;
}

} // namespace tov
