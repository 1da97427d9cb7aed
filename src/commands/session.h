#pragma once
// Ending or locking the user's session.
#include "catalogue/built_in_commands.h"
#include "platform/platform.h"

namespace tov {

// True when the system reports the NT family at major version 4 or later.
bool IsNTFamily(Platform& platform);

// Ends the session with the given EWX_* flags; on the NT family only once the shutdown
// privilege is enabled, and not at all when it cannot be.
void ExitSession(Platform& platform, unsigned ewxFlags);

// Carries out a command that ends or locks the session, asking its question first when
// `confirm` is set. False when the action is no session command.
bool RunSessionCommand(Platform& platform, bool confirm, BuiltInAction action);

} // namespace tov
