#pragma once
// The running program as the dispatcher and the preferences window see it: the parts of App
// they use, and the work above them (ranking, rebuilding, the windows of the other layers)
// that they start through the callbacks given here.
#include "commands/dispatch.h"
#include "prefs/preferences_window.h"

#include <string>

namespace tov {

struct App;

CommandContext CommandContextOf(App& app, SubmitKind kind = SubmitKind::Run);
PreferencesContext PreferencesContextOf(App& app);

// Carries out one command line in the running program, as the submitting key asks.
DispatchResult RunCommand(App& app, const std::string& line, SubmitKind kind = SubmitKind::Run);
// Loads and shows the preferences window of the running program.
void ShowPreferences(App& app);

} // namespace tov
