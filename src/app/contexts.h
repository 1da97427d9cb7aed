#pragma once
// The running program as the dispatcher and the preferences window see it: the parts of App
// they use, and the work above them (ranking, rebuilding, the windows of the other layers)
// that they start through the callbacks given here.
#include "commands/dispatch.h"
#include "input/typing.h"
#include "prefs/preferences_window.h"

#include <string>

namespace tov {

struct App;

// Commands started from the command line on screen, or from the preferences window.
CommandContext CommandContextOf(App& app);
// Commands of a line the input thread froze, as it stood then and as its key asked.
CommandContext CommandContextOf(App& app, const FrozenLine& line);
PreferencesContext PreferencesContextOf(App& app);

// Carries out one command line in the running program.
DispatchResult RunCommand(App& app, const std::string& line);
// Loads and shows the preferences window of the running program.
void ShowPreferences(App& app);

} // namespace tov
