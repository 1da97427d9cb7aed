#pragma once
#include "input/state.h"
#include "platform/forms.h"

namespace tov {

// A button press outside the suggestion window closes the command line; the click itself
// always goes on to its target.
HookDecision MouseProc(Platform& platform, State& state, const Forms& forms, const MouseEvent& event);

} // namespace tov
