#pragma once
#include <string>

namespace tov {

struct App;

// Ranks the phrases that contain CommandText, keeps SelectedIndex within the matches,
// refreshes the suggestion window and the result's icon, and returns the selected phrase
// ("" when CommandText is empty or nothing matches).
std::string MatchCommand(App& app);

} // namespace tov
