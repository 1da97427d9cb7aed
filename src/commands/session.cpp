#include "commands/session.h"

#include "app/app.h"
#include "app/settings.h"

#include <array>
#include <optional>

namespace tov {

namespace {

struct SessionCommand {
    std::string_view word;
    std::string_view question;
    std::optional<SessionEnd> end; // none: lock the workstation instead
};

constexpr std::array kSessionCommands = {
    SessionCommand{"logoff", "Are you sure you want to logoff now?", SessionEnd::LogOff},
    SessionCommand{"reboot", "Are you sure you want to reboot now?", SessionEnd::Reboot},
    SessionCommand{"shutdown", "Are you sure you want to shutdown now?", SessionEnd::Shutdown},
    SessionCommand{"shutdown (force)", "Are you sure you want to shutdown now?",
                   SessionEnd::Shutdown | SessionEnd::Force},
    SessionCommand{"lock computer", "Are you sure you want to lock the computer now?", std::nullopt},
};

} // namespace

void ExitSession(Platform& platform, SessionEnd end) {
    if (!platform.EnableShutdownPrivilege())
        return;
    platform.EndSession(end);
}

bool RunSessionCommand(App& app, std::string_view line) {
    for (const SessionCommand& command : kSessionCommands) {
        if (line != command.word)
            continue;
        if (app.state.CheckBeforeShutdown != 0 &&
            app.platform.ShowMessageBox(std::string(command.question), kAppName, MessageBoxButtons::YesNo) !=
                MessageBoxResult::Yes)
            return true;
        if (command.end)
            ExitSession(app.platform, *command.end);
        else
            app.platform.LockSession();
        return true;
    }
    return false;
}

} // namespace tov
