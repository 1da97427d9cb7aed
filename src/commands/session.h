#pragma once
// Ending or locking the user's session.
#include "platform/platform.h"

#include <string_view>

namespace tov {

struct App;

// Ends the session once the shutdown privilege is enabled, and not at all when it cannot be.
void ExitSession(Platform& platform, SessionEnd end);

// Carries out "logoff", "reboot", "shutdown", "shutdown (force)" or "lock computer", asking
// first when CheckBeforeShutdown is set. False when the line is none of them.
bool RunSessionCommand(App& app, std::string_view line);

} // namespace tov
