#pragma once

namespace tov {

struct App;

// Loads the preferences window frmPrefs, if it is not loaded, and shows it.
void ShowPreferences(App& app);

} // namespace tov
