#pragma once
#include "prefs/preferences_window.h"

namespace tov {

// Loads the preferences window frmPrefs, if it is not loaded, and shows it.
void ShowPreferences(const PreferencesContext& context);

} // namespace tov
