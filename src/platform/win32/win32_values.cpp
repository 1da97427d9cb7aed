#include "platform/win32/win32_values.h"

#include <shlobj.h>

namespace tov::win32 {

int ToShowWindowCommand(ShowCommand command) {
    switch (command) {
    case ShowCommand::Normal:
        return SW_SHOWNORMAL;
    case ShowCommand::Maximize:
        return SW_SHOWMAXIMIZED;
    case ShowCommand::Minimize:
        return SW_MINIMIZE;
    case ShowCommand::Show:
        break;
    }
    return SW_SHOW;
}

int ToCsidl(KnownFolder folder) {
    switch (folder) {
    case KnownFolder::Programs:
        return CSIDL_PROGRAMS;
    case KnownFolder::CommonPrograms:
        return CSIDL_COMMON_PROGRAMS;
    case KnownFolder::Favorites:
        return CSIDL_FAVORITES;
    case KnownFolder::CommonFavorites:
        return CSIDL_COMMON_FAVORITES;
    case KnownFolder::Startup:
        return CSIDL_STARTUP;
    case KnownFolder::CommonStartup:
        return CSIDL_COMMON_STARTUP;
    case KnownFolder::LocalAppData:
        return CSIDL_LOCAL_APPDATA;
    case KnownFolder::AppData:
        break;
    }
    return CSIDL_APPDATA;
}

UINT ToExitWindowsFlags(SessionEnd end) {
    UINT flags = EWX_LOGOFF;
    if (HasFlag(end, SessionEnd::Reboot))
        flags = EWX_REBOOT;
    else if (HasFlag(end, SessionEnd::Shutdown))
        flags = EWX_SHUTDOWN;
    if (HasFlag(end, SessionEnd::Force))
        flags |= EWX_FORCE;
    return flags;
}

} // namespace tov::win32
