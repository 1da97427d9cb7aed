#pragma once
// Ending or locking the user's session.
#include "catalogue/built_in_commands.h"
#include "platform/platform.h"

namespace tov {

// Ends the session once the shutdown privilege is enabled, and not at all when it cannot be.
void ExitSession(Platform& platform, SessionEnd end);

// Carries out a command that ends or locks the session, asking its question first when
// `confirm` is set. False when the action is no session command.
bool RunSessionCommand(Platform& platform, bool confirm, BuiltInAction action);

} // namespace tov
