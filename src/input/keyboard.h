#pragma once
#include "platform/types.h"

namespace tov {

struct App;

// The keyboard hook's decision for one event of the desktop. It only updates the command
// line state and asks the main loop for the window work (RequestWake); it never blocks.
HookDecision KeyboardProc(App& app, const KeyEvent& event);

// Installs both hooks with the program's handlers; removes them. Failures are silent:
// without hooks the program simply never opens its window.
void InstallHooks(App& app);
void RemoveHooks(App& app);

} // namespace tov
