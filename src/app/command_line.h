#pragma once
// The command line on screen: the ranking of the typed text, the suggestion rows and the
// command window brought in step with it.
#include "suggest/typed_keys.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tov {

struct App;

// Ranks the phrases that contain CommandText (and, while the setting is on, those that match it
// near, also by the keys that typed it), keeps SelectedIndex within the rows, refreshes the
// suggestion window and the result's icon, and returns the selected phrase ("" when
// CommandText is empty, nothing matches or the calculator's row is selected). When the line is
// arithmetic its result is kept in App::calculation and its row stands first.
std::string MatchCommand(App& app);

// Whether the selected row is the calculator's, as the last MatchCommand left it.
bool CalculationChosen(const App& app);

// The shown result of `typed` when it is arithmetic; none for any other line.
std::optional<std::string> CalculationOf(App& app, const std::string& typed);

// The phrase that `selection` picks among the rows of `typed` (typed with `keys`), ranked
// afresh; nothing on screen changes. "" when nothing matches or the selection is the
// calculator's row, which stands above the phrases' rows of an arithmetic line.
std::string BestPhrase(App& app, const std::string& typed, const std::vector<TypedKey>& keys,
                       std::int16_t selection);

// Brings the labels, the suggestions and the icon in step with the command line.
void RefreshCommandWindow(App& app);

// A click on the pin of row `index`: tacks the row's phrase to the typed text, or untacks
// it when the pin is lit, and ranks again.
void imgTack_Click(App& app, int index);

} // namespace tov
