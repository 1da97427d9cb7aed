#include "input/submit.h"

#include "app/app.h"
#include "commands/dispatch.h"
#include "suggest/command_window.h"
#include "suggest/match.h"

namespace tov {

namespace {

void ClearTypedText(App& app) {
    if (app.forms.frmMain)
        app.forms.frmMain->At("lblCommand").text.clear();
}

} // namespace

void SubmitCommandLine(App& app) {
    State& s = app.state;
    s.WindowOpen = false;
    ClearTypedText(app);
    HideCommandWindow(app);
    const DispatchResult answer = RunCommand(app, s.CommandText);
    s.WindowOpen = answer.keepOpen;
    if (!answer.keepOpen) {
        // The best suggestion runs only when the line itself carried nothing out, so a typed
        // built-in word or a whole "run" phrase is never run twice.
        if (!answer.carriedOut) {
            const std::string suggestion = MatchCommand(app);
            if (!suggestion.empty())
                SubmitSuggestion(app, suggestion);
        }
        if (!s.WindowOpen)
            CloseCommandWindow(app);
    }
    s.CommandText.clear();
}

void SubmitSuggestion(App& app, const std::string& suggestion) {
    State& s = app.state;
    s.WindowOpen = false;
    ClearTypedText(app);
    if (app.forms.frmMain && app.forms.frmMain->visible)
        app.platform.HideForm(*app.forms.frmMain);
    s.WindowOpen = RunCommand(app, suggestion).keepOpen;
    s.CommandText.clear();
}

} // namespace tov
