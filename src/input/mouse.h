#pragma once
#include "input/typing.h"
#include "platform/platform.h"

namespace tov {

// A button press outside the suggestion window closes the command line; the click itself
// always goes on to its target. On the input thread, like the keyboard hook.
HookDecision MouseProc(Platform& platform, Typing& typing, const MouseEvent& event, const NewsSink& tell);

// Whether a click can matter now, so that the mouse hook should be in place: every move of the
// mouse passes through a mouse hook, and the program has nothing to do with moves.
bool MouseHookWanted(const Typing& typing);

} // namespace tov
