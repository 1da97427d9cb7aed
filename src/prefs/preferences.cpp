#include "prefs/preferences.h"

namespace tov {

void ShowPreferences(App&) {}

} // namespace tov
