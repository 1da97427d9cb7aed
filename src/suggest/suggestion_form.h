#pragma once
// The suggestion window frmCommandSuggestion: the ranked phrases one per line in grey, the
// selected one again in white on an overlay, and a pin at the left of each row that tacks
// the row's phrase to the typed text.
#include "catalogue/catalogue.h"
#include "platform/forms.h"
#include "suggest/rank.h"
#include "suggest/usage.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

namespace frmCommandSuggestion {
inline constexpr const char* kFormName = "frmCommandSuggestion";
inline constexpr ControlName lblCommand{"lblCommand"};
// The near matches' rows, in a quieter colour and marked; the exact matches' lines are empty.
inline constexpr ControlName lblNearRows{"lblNearRows"};
inline constexpr ControlName lblCommandOverlay{"lblCommandOverlay"};
inline constexpr ControlName imgTack{"imgTack"};
// Under the highlighted row, where the theme gives the highlight a colour of its own.
inline constexpr ControlName lblHighlightBar{"lblHighlightBar"};
} // namespace frmCommandSuggestion

// The command window's height: the suggestion window sits right under it.
constexpr int kSuggestionTop = 50;
constexpr int kSuggestionWidth = 600;
// After a near match's phrase on its row.
inline constexpr std::string_view kNearMark = "  \u2248";

// What the rows show: the ranked matches of the typed text in the phrase list, and the result.
struct SuggestionRows {
    const std::vector<std::string>& phrases;
    const std::vector<Match>& matches;
    const std::string& result;
    const UsageMemory& usage;
    const std::string& typed;
    std::int16_t suggestionCount;
    const Catalogue& catalogue;      // what the phrases' commands do, which decides the keys they take
    std::string_view resultRow = {}; // the calculator's row, first and among the counted; empty: none
};

Form MakeSuggestionForm(Platform& platform);
// Start-up: creates frmCommandSuggestion with its window, hidden.
void LoadSuggestionForm(Platform& platform, Forms& forms);

// Rebuilds the rows from the ranked matches (at most suggestionCount of them, the calculator's
// row included), highlights every row whose text is the result, sizes the window to its text
// and shows it while the command window is visible. A click on the pin of a row calls
// `onPinClick` with the row; the calculator's row has no pin to click. Each pin's text says
// which keys its row takes, for a screen reader.
void RefreshSuggestions(Platform& platform, Forms& forms, const SuggestionRows& rows,
                        const std::function<void(int row)>& onPinClick);
void HideSuggestions(Platform& platform, Forms& forms);

} // namespace tov
