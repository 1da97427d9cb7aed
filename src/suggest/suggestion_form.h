#pragma once
// The suggestion window frmCommandSuggestion: the ranked phrases one per line in grey, the
// selected one again in white on an overlay, and a pin at the left of each row that tacks
// the row's phrase to the typed text.
#include "platform/form.h"
#include "suggest/rank.h"

#include <string>
#include <vector>

namespace tov {

struct App;

inline constexpr const char* kSuggestionFormName = "frmCommandSuggestion";
// The command window's height: the suggestion window sits right under it.
constexpr int kSuggestionTop = 50;
constexpr int kSuggestionWidth = 600;

Form MakeSuggestionForm(App& app);
// Start-up: creates app.forms.frmCommandSuggestion with its window, hidden.
void LoadSuggestionForm(App& app);

// Rebuilds the rows from the ranked matches (at most SuggestionCount of them), highlights
// every row whose phrase is `result`, sizes the window to its text and shows it while the
// command window is visible.
void RefreshSuggestions(App& app, const std::vector<Match>& matches, const std::string& result);
void HideSuggestions(App& app);

// A click on the pin of row `index`: tacks the row's phrase to the typed text, or untacks
// it when the pin is lit, and ranks again.
void imgTack_Click(App& app, int index);

} // namespace tov
