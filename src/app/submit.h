#pragma once
#include "input/typing.h"

#include <string>

namespace tov {

struct App;

// Hands the command line to the dispatcher; runs the best suggestion after it when the
// line itself carried nothing out, or copies the result when the line is arithmetic and its
// row is the one chosen. `kind` is what the submitting key asks of the command.
void SubmitCommandLine(App& app, SubmitKind kind = SubmitKind::Run);
void SubmitSuggestion(App& app, const std::string& suggestion, SubmitKind kind = SubmitKind::Run);

} // namespace tov
