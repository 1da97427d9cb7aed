#pragma once
// Ending or locking the user's session.
#include <string_view>

namespace tov {

struct App;
class Platform;

// True when the system reports the NT family at major version 4 or later.
bool IsNTFamily(Platform& platform);

// Ends the session with the given EWX_* flags; on the NT family only once the shutdown
// privilege is enabled, and not at all when it cannot be.
void ExitSession(Platform& platform, unsigned ewxFlags);

// Carries out "logoff", "reboot", "shutdown", "shutdown (force)" or "lock computer", asking
// first when CheckBeforeShutdown is set. False when the line is none of them.
bool RunSessionCommand(App& app, std::string_view line);

} // namespace tov
