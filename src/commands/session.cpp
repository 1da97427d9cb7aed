#include "commands/session.h"

#include "platform/settings_store.h"

#include <array>
#include <optional>

namespace tov {

namespace {

constexpr unsigned kFirstNTMajorVersion = 4;

struct SessionCommand {
    BuiltInAction action;
    std::optional<unsigned> ewxFlags; // none: lock the workstation instead
};

constexpr std::array kSessionCommands = {
    SessionCommand{BuiltInAction::LogOff, EWX_LOGOFF},
    SessionCommand{BuiltInAction::Reboot, EWX_REBOOT},
    SessionCommand{BuiltInAction::Shutdown, EWX_SHUTDOWN},
    SessionCommand{BuiltInAction::ShutdownForced, EWX_SHUTDOWN | EWX_FORCE},
    SessionCommand{BuiltInAction::LockComputer, std::nullopt},
};

} // namespace

bool IsNTFamily(Platform& platform) {
    const std::optional<SystemVersion> version = platform.QueryVersion();
    return version && version->platformId == VER_PLATFORM_WIN32_NT && version->major >= kFirstNTMajorVersion;
}

void ExitSession(Platform& platform, unsigned ewxFlags) {
    if (IsNTFamily(platform) && !platform.EnableShutdownPrivilege())
        return;
    platform.EndSession(ewxFlags);
}

bool RunSessionCommand(Platform& platform, bool confirm, BuiltInAction action) {
    for (const SessionCommand& command : kSessionCommands) {
        if (command.action != action)
            continue;
        if (confirm && platform.ShowMessageBox(std::string(BuiltInCommandOf(action).question), kAppName,
                                               MessageBoxButtons::YesNo) != MessageBoxResult::Yes)
            return true;
        if (command.ewxFlags)
            ExitSession(platform, *command.ewxFlags);
        else
            platform.LockSession();
        return true;
    }
    return false;
}

} // namespace tov
