#include "app/contexts.h"

#include "app/app.h"
#include "app/catalogue_build.h"
#include "app/command_line.h"
#include "prefs/preferences.h"
#include "update/update.h"

namespace tov {

CommandContext CommandContextOf(App& app, SubmitKind kind) {
    return CommandContext{.platform = app.platform,
                          .state = app.state,
                          .forms = app.forms,
                          .catalogue = app.catalogue,
                          .bestMatch = [&app] { return MatchCommand(app); },
                          .showPreferences = [&app] { ShowPreferences(app); },
                          .runUpdate = [&app] { RunUpdate(app.platform, app.state, app.forms); },
                          .kind = kind};
}

PreferencesContext PreferencesContextOf(App& app) {
    return PreferencesContext{.platform = app.platform,
                              .state = app.state,
                              .forms = app.forms,
                              .saveFailures = app.saveFailures,
                              .rebuildCatalogue = [&app] { BuildCatalogue(app); },
                              .runCommand = [&app](const std::string& line) { RunCommand(app, line); }};
}

DispatchResult RunCommand(App& app, const std::string& line, SubmitKind kind) {
    return RunCommand(CommandContextOf(app, kind), line);
}

void ShowPreferences(App& app) {
    ShowPreferences(PreferencesContextOf(app));
}

} // namespace tov
