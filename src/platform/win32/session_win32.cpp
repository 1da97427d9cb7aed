#include "platform/win32/win32_platform.h"

#include <windows.h>

namespace tov {

std::optional<SystemVersion> Win32Platform::QueryVersion() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#ifdef _MSC_VER
#pragma warning(push)
#pragma warning(disable : 4996) // the version is only told apart by family, which every system reports
#endif
    const BOOL ok = GetVersionExW(&info);
#ifdef _MSC_VER
#pragma warning(pop)
#endif
    if (!ok)
        return std::nullopt;
    return SystemVersion{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

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

void Win32Platform::EndSession(unsigned ewxFlags) {
    ExitWindowsEx(ewxFlags, 0);
}

void Win32Platform::LockSession() {
    LockWorkStation();
}

} // namespace tov
