#pragma once
#include "input/typing.h"
#include "platform/platform.h"

namespace tov {

// The keyboard hook's decision for one event of the desktop, on the input thread. It decides
// from what that thread owns, hands the change to `tell` and returns; it never blocks.
HookDecision KeyboardProc(Platform& platform, Typing& typing, const KeyEvent& event, const NewsSink& tell);

// Opens the command line on the input thread, as the activation key does.
void OpenLine(Platform& platform, Typing& typing);

} // namespace tov
