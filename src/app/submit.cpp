#include "app/submit.h"

#include "app/app.h"
#include "app/command_line.h"
#include "app/contexts.h"
#include "platform/settings_store.h"
#include "suggest/command_window.h"

namespace tov {

namespace {

void ClearTypedText(App& app) {
    if (app.forms.frmMain)
        app.forms.frmMain->At(frmMain::lblCommand).text.clear();
}

// The window closes on Enter, so the tray icon says what became of the result.
void CopyResult(Platform& platform, const std::string& result) {
    if (platform.SetClipboardText(result))
        platform.ShowTrayBalloon(kAppName, "Copied " + result, BalloonIcon::Information);
    else
        platform.ShowTrayBalloon(kAppName,
                                 "Could not copy " + result + ": another program holds the clipboard.",
                                 BalloonIcon::Warning);
}

} // namespace

void SubmitCommandLine(App& app, SubmitKind kind) {
    State& s = app.state;
    s.WindowOpen = false;
    ClearTypedText(app);
    HideCommandWindow(app.platform, app.forms);
    // A custom command's action takes the place of the typed text while it runs.
    const std::string line = s.CommandText;
    const DispatchResult answer = RunCommand(app, line, kind);
    s.WindowOpen = answer.keepOpen;
    if (!answer.keepOpen) {
        // The best suggestion runs only when the line itself carried nothing out, so a typed
        // built-in word or a whole "run" phrase is never run twice.
        if (!answer.carriedOut) {
            const std::string suggestion = MatchCommand(app);
            if (CalculationChosen(app)) {
                if (kind == SubmitKind::Run)
                    CopyResult(app.platform, *app.calculation);
            } else if (!suggestion.empty()) {
                SubmitSuggestion(app, suggestion, kind);
            }
        }
        if (!s.WindowOpen)
            CloseCommandWindow(app.platform, app.forms);
    }
    s.CommandText.clear();
}

void SubmitSuggestion(App& app, const std::string& suggestion, SubmitKind kind) {
    State& s = app.state;
    s.WindowOpen = false;
    ClearTypedText(app);
    if (app.forms.frmMain && app.forms.frmMain->visible)
        app.platform.HideForm(*app.forms.frmMain);
    s.WindowOpen = RunCommand(app, suggestion, kind).keepOpen;
    s.CommandText.clear();
}

} // namespace tov
