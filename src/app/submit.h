#pragma once
#include "input/typing.h"

namespace tov {

struct App;

// Carries out a line the input thread froze: the line itself, then the best suggestion for it
// when the line carried nothing out. It works on that line alone, so the command line on
// screen keeps following the input thread meanwhile. True when a command showed a message in
// the command window, to stay open.
bool SubmitCommandLine(App& app, const FrozenLine& line);

} // namespace tov
