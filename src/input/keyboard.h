#pragma once
#include "input/state.h"
#include "platform/forms.h"

namespace tov {

// The keyboard hook's decision for one event of the desktop. It only updates the command
// line state and asks the main loop for the window work (RequestWake); it never blocks.
HookDecision KeyboardProc(Platform& platform, State& state, const KeyEvent& event);

// Records the command line as the hooks leave it after a change (see State).
void RecordHookChange(State& state);

// Opens the command window as the activation key does, for a later start of the program; does
// nothing while it is open or a key is being captured.
void OpenCommandLine(Platform& platform, State& state);

// Installs both hooks with the program's handlers; removes them. Failures are silent:
// without hooks the program simply never opens its window.
void InstallHooks(Platform& platform, State& state, const Forms& forms);
void RemoveHooks(Platform& platform, State& state);

} // namespace tov
