#pragma once
#include "catalogue/catalogue.h"
#include "input/state.h"
#include "platform/forms.h"

#include <functional>
#include <string>

namespace tov {

struct DispatchResult {
    // The command window was shown again with a message and stays open.
    bool keepOpen = false;
    // The line was a command and something was carried out (or asked, or refused by the
    // user): the caller must not run the best suggestion for it as well.
    bool carriedOut = false;
};

// What a command line can reach: the program's parts, and the work above the dispatcher
// that some commands start, given by the program.
struct CommandContext {
    Platform& platform;
    State& state;
    Forms& forms;
    const Catalogue& catalogue;
    // The line being carried out: the window in front when it was typed, and the phrase its
    // selection picks among the matches of a typed text, ranked afresh.
    WindowHandle previousWindow = 0;
    std::function<std::string(const std::string& typed)> bestMatch;
    std::function<void()> showPreferences;
    std::function<void()> runUpdate;
    // What the submitting key asks of the command; only what runs a file takes more than Run.
    SubmitKind kind = SubmitKind::Run;
};

// Carries out one command line: a custom command's action, a page of the Settings app, or a
// built-in command. With a kind other than Run, a line that runs no file does nothing.
DispatchResult RunCommand(const CommandContext& context, const std::string& line);

} // namespace tov
