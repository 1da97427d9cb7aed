#pragma once
#include "input/typing.h"

namespace tov {

struct App;

// Carries out a line the input thread froze: the line itself, then the best suggestion for it
// when the line carried nothing out, or, when the line is arithmetic and its result's row was
// the one chosen, copies the result. It works on that line alone, so the command line on
// screen keeps following the input thread meanwhile. True when a command showed a message in
// the command window, to stay open.
bool SubmitCommandLine(App& app, const FrozenLine& line);

} // namespace tov
