#pragma once
#include <string>

namespace tov {

struct App;

struct DispatchResult {
    // The command window was shown again with a message and stays open.
    bool keepOpen = false;
    // The line was a command and something was carried out (or asked, or refused by the
    // user): the caller must not run the best suggestion for it as well.
    bool carriedOut = false;
};

// Carries out one command line.
DispatchResult RunCommand(App& app, const std::string& line);

} // namespace tov
