#pragma once
// Access to the loaded preferences window for its handlers. Handlers that show a dialog or
// rebuild the catalogue let messages through, and the window may be closed meanwhile: they
// look it up again afterwards instead of keeping a reference.
#include "catalogue/save_failure.h"
#include "input/state.h"
#include "platform/forms.h"

#include <functional>
#include <string>

namespace tov {

// What the window's handlers reach: the program's parts, and the work above them that a
// change starts, given by the program.
struct PreferencesContext {
    Platform& platform;
    State& state;
    Forms& forms;
    SaveFailures& saveFailures;
    std::function<void()> rebuildCatalogue;
    std::function<void(const std::string& line)> runCommand;
};

Form* PreferencesWindow(Forms& forms);       // nullptr when it is not loaded
WindowHandle PreferencesOwner(Forms& forms); // its window, as the owner of the dialogs it opens
void UpdatePreferencesWindow(Platform& platform,
                             Forms& forms); // brings the window in step with the form's data

} // namespace tov
