#pragma once
#include <string>

namespace tov {

struct App;

// Hands the command line to the dispatcher; runs the best suggestion after it when the
// line itself carried nothing out.
void SubmitCommandLine(App& app);
void SubmitSuggestion(App& app, const std::string& suggestion);

} // namespace tov
