#pragma once
#include "platform/types.h"

namespace tov {

struct App;
struct State;

// The keyboard hook's decision for one event of the desktop. It only updates the command
// line state and asks the main loop for the window work (RequestWake); it never blocks.
HookDecision KeyboardProc(App& app, const KeyEvent& event);

// Records the command line as the hooks leave it after a change (see State).
void RecordHookChange(State& state);

// Opens the command window as the activation key does, for a later start of the program; does
// nothing while it is open or a key is being captured.
void OpenCommandLine(App& app);

// Installs both hooks with the program's handlers; removes them. Failures are silent:
// without hooks the program simply never opens its window.
void InstallHooks(App& app);
void RemoveHooks(App& app);

} // namespace tov
