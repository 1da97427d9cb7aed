#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_values.h"

#include <windows.h>

namespace tov {

bool Win32Platform::EnableShutdownPrivilege() {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw))
        return false;
    const win32::UniqueHandle token(raw);
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid))
        return false;
    // Success with ERROR_NOT_ALL_ASSIGNED means the account does not hold the privilege at all.
    return AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr) &&
           GetLastError() != ERROR_NOT_ALL_ASSIGNED;
}

void Win32Platform::EndSession(SessionEnd end) {
    ExitWindowsEx(win32::ToExitWindowsFlags(end), 0);
}

void Win32Platform::LockSession() {
    LockWorkStation();
}

} // namespace tov
