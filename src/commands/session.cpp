#include "commands/session.h"

#include "app/app.h"
#include "app/settings.h"

#include <array>
#include <optional>

namespace tov {

namespace {

constexpr unsigned kFirstNTMajorVersion = 4;

struct SessionCommand {
    std::string_view word;
    std::string_view question;
    std::optional<unsigned> ewxFlags; // none: lock the workstation instead
};

constexpr std::array kSessionCommands = {
    SessionCommand{"logoff", "Are you sure you want to logoff now?", EWX_LOGOFF},
    SessionCommand{"reboot", "Are you sure you want to reboot now?", EWX_REBOOT},
    SessionCommand{"shutdown", "Are you sure you want to shutdown now?", EWX_SHUTDOWN},
    SessionCommand{"shutdown (force)", "Are you sure you want to shutdown now?", EWX_SHUTDOWN | EWX_FORCE},
    SessionCommand{"lock computer", "Are you sure you want to lock the computer now?", std::nullopt},
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

bool RunSessionCommand(App& app, std::string_view line) {
    for (const SessionCommand& command : kSessionCommands) {
        if (line != command.word)
            continue;
        if (app.state.CheckBeforeShutdown != 0 &&
            app.platform.ShowMessageBox(std::string(command.question), kAppName, MessageBoxButtons::YesNo) !=
                MessageBoxResult::Yes)
            return true;
        if (command.ewxFlags)
            ExitSession(app.platform, *command.ewxFlags);
        else
            app.platform.LockSession();
        return true;
    }
    return false;
}

} // namespace tov
