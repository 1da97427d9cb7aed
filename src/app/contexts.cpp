#include "app/contexts.h"

#include "app/app.h"
#include "app/catalogue_build.h"
#include "app/command_line.h"
#include "prefs/preferences.h"
#include "update/update.h"

namespace tov {

CommandContext CommandContextOf(App& app, const FrozenLine& line) {
    return CommandContext{.platform = app.platform,
                          .state = app.state,
                          .forms = app.forms,
                          .catalogue = app.catalogue,
                          .previousWindow = line.previousWindow,
                          .bestMatch =
                              [&app, line](const std::string& typed) {
                                  // Only the line itself was typed with keys; a custom
                                  // command's action was not.
                                  static const std::vector<TypedKey> untyped;
                                  return BestPhrase(app, typed, typed == line.text ? line.keys : untyped,
                                                    line.selection);
                              },
                          .showPreferences = [&app] { ShowPreferences(app); },
                          .runUpdate = [&app] { RunUpdate(app.platform, app.state, app.forms); },
                          .kind = line.kind};
}

CommandContext CommandContextOf(App& app) {
    return CommandContextOf(app, FrozenLine{app.state.CommandText, app.state.CommandKeys,
                                            app.state.SelectedIndex, app.state.PreviousWindow});
}

PreferencesContext PreferencesContextOf(App& app) {
    return PreferencesContext{.platform = app.platform,
                              .state = app.state,
                              .forms = app.forms,
                              .saveFailures = app.saveFailures,
                              .rebuildCatalogue = [&app] { BuildCatalogue(app); },
                              .runCommand = [&app](const std::string& line) { RunCommand(app, line); }};
}

DispatchResult RunCommand(App& app, const std::string& line) {
    return RunCommand(CommandContextOf(app), line);
}

void ShowPreferences(App& app) {
    ShowPreferences(PreferencesContextOf(app));
}

} // namespace tov
