#include "input/submit.h"

#include "app/app.h"
#include "commands/dispatch.h"
#include "suggest/match.h"

namespace tov {

void SubmitCommandLine(App& app) {
    app.state.WindowOpen = false;
    const DispatchResult answer = RunCommand(app, app.state.CommandText);
    app.state.WindowOpen = answer.keepOpen;
    if (!answer.keepOpen && !answer.carriedOut) {
        const std::string suggestion = MatchCommand(app);
        if (!suggestion.empty())
            SubmitSuggestion(app, suggestion);
    }
    app.state.CommandText.clear();
}

void SubmitSuggestion(App& app, const std::string& suggestion) {
    app.state.WindowOpen = false;
    app.state.WindowOpen = RunCommand(app, suggestion).keepOpen;
    app.state.CommandText.clear();
}

} // namespace tov
