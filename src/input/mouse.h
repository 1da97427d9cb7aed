#pragma once
#include "platform/types.h"

namespace tov {

struct App;

// A button press outside the suggestion window closes the command line; the click itself
// always goes on to its target.
HookDecision MouseProc(App& app, const MouseEvent& event);

} // namespace tov
