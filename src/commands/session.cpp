#include "commands/session.h"

#include "platform/settings_store.h"

#include <array>
#include <optional>

namespace tov {

namespace {

struct SessionCommand {
    BuiltInAction action;
    std::optional<SessionEnd> end; // none: lock the workstation instead
};

constexpr std::array kSessionCommands = {
    SessionCommand{BuiltInAction::LogOff, SessionEnd::LogOff},
    SessionCommand{BuiltInAction::Reboot, SessionEnd::Reboot},
    SessionCommand{BuiltInAction::Shutdown, SessionEnd::Shutdown},
    SessionCommand{BuiltInAction::ShutdownForced, SessionEnd::Shutdown | SessionEnd::Force},
    SessionCommand{BuiltInAction::LockComputer, std::nullopt},
};

} // namespace

void ExitSession(Platform& platform, SessionEnd end) {
    if (!platform.EnableShutdownPrivilege())
        return;
    platform.EndSession(end);
}

bool RunSessionCommand(Platform& platform, bool confirm, BuiltInAction action) {
    for (const SessionCommand& command : kSessionCommands) {
        if (command.action != action)
            continue;
        if (confirm && platform.ShowMessageBox(std::string(BuiltInCommandOf(action).question), kAppName,
                                               MessageBoxButtons::YesNo) != MessageBoxResult::Yes)
            return true;
        if (command.end)
            ExitSession(platform, *command.end);
        else
            platform.LockSession();
        return true;
    }
    return false;
}

} // namespace tov
