#pragma once
// Access to the loaded preferences window for its handlers. Handlers that show a dialog or
// rebuild the catalogue let messages through, and the window may be closed meanwhile: they
// look it up again afterwards instead of keeping a reference.
#include "platform/form.h"

namespace tov {

struct App;

Form* PreferencesWindow(App& app);       // nullptr when it is not loaded
WindowHandle PreferencesOwner(App& app); // its window, as the owner of the dialogs it opens
void UpdatePreferencesWindow(App& app);  // brings the window in step with the form's data

} // namespace tov
