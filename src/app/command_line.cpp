#include "app/command_line.h"

#include "app/app.h"
#include "base/text.h"
#include "catalogue/save_failure.h"
#include "platform/program_file.h"
#include "suggest/calculator.h"
#include "suggest/command_window.h"
#include "suggest/rank.h"
#include "suggest/result_icon.h"
#include "suggest/suggestion_form.h"
#include "suggest/typed_keys.h"
#include "suggest/usage.h"

namespace tov {

namespace {

constexpr const char* kCopyResultDescription = "Enter copies the result";
// Between the typed text and a near match after it: blank room of the font's own spaces.
constexpr const char* kNearMatchGap = "   ";

// Ranks `typed` into app.ranking; `keys` are the keys that typed it, for the near matches that
// read them with the US layout.
void Rank(App& app, const std::string& typed, const std::vector<TypedKey>& keys) {
    NearOptions near;
    std::string usLayout;
    if (app.state.NearMatches != 0) {
        usLayout = UsLayoutText(keys, typed);
        near = {.forms = &app.catalogue.forms, .usLayoutText = usLayout};
    }
    RankMatches(app.catalogue.phrases, typed, app.usage, app.ranking, near);
}

// The calculator's row stands above the phrases' rows and counts among them: row n is match n - 1.
std::string SelectBelowResult(const App& app, std::int16_t& selectedIndex) {
    const std::vector<Match>& matches = app.ranking.matches;
    std::int16_t matchRow = static_cast<std::int16_t>(selectedIndex - 1);
    const std::string phrase = SelectMatch(app.catalogue.phrases, matches, matchRow);
    selectedIndex =
        matches.empty() ? std::min<std::int16_t>(selectedIndex, 0) : static_cast<std::int16_t>(matchRow + 1);
    return phrase;
}

// The typed text stands over the same letters of a completion that holds them. A near match
// does not hold them, so it stands after the typed text, apart, where neither hides the other.
void ShowCompletion(Form& window, const std::string& typed, const std::string& best) {
    Control& typedLabel = window.At(frmMain::lblCommand);
    Control& completion = window.At(frmMain::lblCommandBack);
    completion.text = best;
    const std::size_t at = Find(best, typed);
    const bool near = !best.empty() && at == std::string::npos;
    typedLabel.indent = near || best.empty() ? std::string() : best.substr(0, at);
    completion.indent = near ? typed + kNearMatchGap : std::string();
}

} // namespace

std::string MatchCommand(App& app) {
    State& state = app.state;
    app.calculation.reset();
    if (state.CommandText.empty())
        return {};
    Rank(app, state.CommandText, state.CommandKeys);
    app.calculation = CalculationOf(app, state.CommandText);
    const std::vector<Match>& matches = app.ranking.matches;
    if (matches.empty() && !app.calculation) {
        HideSuggestions(app.platform, app.forms);
        return {};
    }
    const std::string resultRow = app.calculation ? ResultRow(*app.calculation) : std::string();
    const std::string result = app.calculation
                                   ? SelectBelowResult(app, state.SelectedIndex)
                                   : SelectMatch(app.catalogue.phrases, matches, state.SelectedIndex);
    const std::string& highlighted = CalculationChosen(app) ? resultRow : result;
    const SuggestionRows rows{app.catalogue.phrases, matches,       highlighted, app.usage, state.CommandText,
                              state.SuggestionCount, app.catalogue, resultRow};
    RefreshSuggestions(app.platform, app.forms, rows, [&app](int row) { imgTack_Click(app, row); });
    ShowResultIcon(app.platform, app.forms, app.catalogue, app.icons, result);
    return result;
}

bool CalculationChosen(const App& app) {
    return app.calculation && app.state.SelectedIndex == 0;
}

std::optional<std::string> CalculationOf(App& app, const std::string& typed) {
    // Only a line that starts as arithmetic can be, so other lines never ask for the locale.
    if (!MayBeArithmetic(typed))
        return std::nullopt;
    return Calculate(typed, app.platform.DecimalSeparator());
}

std::string BestPhrase(App& app, const std::string& typed, const std::vector<TypedKey>& keys,
                       std::int16_t selection) {
    if (typed.empty())
        return {};
    Rank(app, typed, keys);
    if (CalculationOf(app, typed)) {
        if (selection <= 0)
            return {};
        return SelectBelowResult(app, selection);
    }
    return SelectMatch(app.catalogue.phrases, app.ranking.matches, selection);
}

void RefreshCommandWindow(App& app) {
    if (!app.forms.frmMain)
        return;
    State& s = app.state;
    {
        Form& f = *app.forms.frmMain;
        f.At(frmMain::lblCommand).text = s.CommandText;
        const std::string caption = Trim(app.platform.WindowCaption(s.PreviousWindow));
        f.At(frmMain::lblDescription).text = DescribeCommandLine(s.CommandText, caption);
        ClearResultIcon(f);
    }
    if (s.CommandText.empty()) {
        HideSuggestions(app.platform, app.forms);
        ShowCompletion(*app.forms.frmMain, {}, {});
    } else {
        const std::string phrase = MatchCommand(app);
        if (!app.forms.frmMain)
            return;
        Form& f = *app.forms.frmMain;
        const bool calculation = CalculationChosen(app);
        const std::string best = calculation ? ResultCompletion(s.CommandText, *app.calculation) : phrase;
        if (calculation)
            f.At(frmMain::lblDescription).text = kCopyResultDescription;
        ShowCompletion(f, s.CommandText, best);
    }
    app.platform.UpdateForm(*app.forms.frmMain);
}

void imgTack_Click(App& app, int index) {
    Form* form = app.forms.frmCommandSuggestion.get();
    const Control* pin = form ? form->Find(frmCommandSuggestion::imgTack, index) : nullptr;
    // The calculator's row has a pin of no phrase: a result is nothing to tack.
    if (!pin || index == 0 || pin->tag.empty() || app.state.CommandText.empty())
        return;
    const std::string phrase = pin->tag;
    const bool tack = pin->picture == form->At(frmCommandSuggestion::imgTack, 0).picture;
    const ListSave save =
        SetTack(app.usage, ProgramFile(app.platform, kTackFile), phrase, app.state.CommandText, tack);
    if (!save.saved)
        ReportSaveFailure(app.platform, app.saveFailures, kTackFile, save.failure);
    MatchCommand(app);
    // The best match may have changed under the typed text; the main loop redraws the command line.
    app.state.DisplayDirty = true;
    app.platform.RequestWake();
}

} // namespace tov
