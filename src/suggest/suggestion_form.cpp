#include "suggest/suggestion_form.h"

#include "app/app.h"
#include "suggest/match.h"

#include <algorithm>

namespace tov {

namespace {

constexpr Colour kBackColour = 0x404000;
constexpr Colour kRowColour = 0x808080;
constexpr Colour kHighlightColour = 0xFFFFFF;
constexpr double kFontPoints = 12;
constexpr Rect kRowsRect{24, 4, 2000, 0};
constexpr Rect kPinRect{0, 4, 20, 15};
constexpr int kPinFirstTop = 5;
constexpr int kPinPitch = 18;
constexpr int kBottomMargin = 10;
constexpr const char* kPinResource = "pin";
constexpr const char* kLitPinFile = "LIGHTON.ico";
constexpr const char* kLineEnd = "\r\n";

Control RowsLabel(const char* name, Colour colour) {
    Control c;
    c.name = name;
    c.kind = ControlKind::Label;
    c.rect = kRowsRect;
    c.textColour = colour;
    return c;
}

std::size_t RowLimit(std::int16_t suggestionCount, std::size_t matches) {
    return suggestionCount > 0 ? std::min<std::size_t>(static_cast<std::size_t>(suggestionCount), matches)
                               : matches;
}

bool CommandWindowVisible(const App& app) {
    return app.forms.frmMain && app.forms.frmMain->visible;
}

} // namespace

Form MakeSuggestionForm(App& app) {
    Form form;
    form.name = kSuggestionFormName;
    form.rect = Rect{0, kSuggestionTop, kSuggestionWidth, kBottomMargin};
    form.backColour = kBackColour;
    form.font = Font{"Verdana", kFontPoints};
    form.style.topmost = true;
    form.Add(RowsLabel("lblCommand", kRowColour));
    form.Add(RowsLabel("lblCommandOverlay", kHighlightColour));

    Control pin;
    pin.name = "imgTack";
    pin.kind = ControlKind::Image;
    pin.rect = kPinRect;
    pin.visible = false;
    pin.picture = app.platform.LoadResourcePicture(kPinResource);
    form.Add(std::move(pin));
    return form;
}

void LoadSuggestionForm(App& app) {
    auto& form = app.forms.frmCommandSuggestion;
    if (form)
        return;
    form = std::make_unique<Form>(MakeSuggestionForm(app));
    app.platform.CreateFormWindow(*form);
}

void RefreshSuggestions(App& app, const std::vector<Match>& matches, const std::string& result) {
    Form* form = app.forms.frmCommandSuggestion.get();
    if (!form)
        return;
    const auto& phrases = app.catalogue.phrases;
    const Control pinTemplate = form->At("imgTack", 0);
    std::string rows;
    std::string highlight;
    PicturePtr litPin;
    bool litPinLoaded = false;
    int height = 0;

    // Without a row limit the rows stop where the screen does: more could not be seen, and
    // drawing thousands of them would stall every keystroke.
    const std::size_t limit = RowLimit(app.state.SuggestionCount, matches.size());
    const int screenBottom = app.platform.ScreenSize().height;
    std::size_t shown = 0;
    while (shown < limit) {
        if (app.state.SuggestionCount <= 0 && shown > 0 && form->rect.top + height >= screenBottom)
            break;
        const Match& match = matches[shown];
        const std::string& phrase = phrases[match.index];
        const int row = static_cast<int>(++shown);

        Control* pin = form->Find("imgTack", row);
        if (!pin) {
            Control copy = pinTemplate;
            copy.index = row;
            copy.onClick = [&app, row] { imgTack_Click(app, row); };
            pin = &form->Add(std::move(copy));
        }
        pin->rect.top = (row - 1) * kPinPitch + kPinFirstTop;
        pin->visible = true;
        pin->tag = phrase;
        pin->picture = pinTemplate.picture;
        if (IsTacked(app.usage, phrase, app.state.CommandText)) {
            if (!litPinLoaded) {
                litPin = app.platform.LoadPictureFile(ProgramFile(app, kLitPinFile));
                litPinLoaded = true;
            }
            pin->picture = litPin;
        }

        rows += phrase;
        rows += kLineEnd;
        if (phrase == result)
            highlight += phrase;
        highlight += kLineEnd;
        height += app.platform.MeasureText(form->font, phrase).height;
    }
    std::erase_if(form->controls, [&](const Control& c) {
        return c.name == "imgTack" && static_cast<std::size_t>(c.index) > shown;
    });

    height += kBottomMargin;
    Control& list = form->At("lblCommand");
    list.text = std::move(rows);
    list.rect.height = height;
    Control& overlay = form->At("lblCommandOverlay");
    overlay.text = std::move(highlight);
    overlay.rect.height = height;
    form->rect.height = height;
    if (form->handle == 0)
        return;
    app.platform.PlaceForm(*form);
    app.platform.UpdateForm(*form);
    if (CommandWindowVisible(app))
        app.platform.ShowForm(*form);
}

void HideSuggestions(App& app) {
    Form* form = app.forms.frmCommandSuggestion.get();
    if (form && form->handle != 0)
        app.platform.HideForm(*form);
}

void imgTack_Click(App& app, int index) {
    Form* form = app.forms.frmCommandSuggestion.get();
    const Control* pin = form ? form->Find("imgTack", index) : nullptr;
    if (!pin || index == 0 || app.state.CommandText.empty())
        return;
    const std::string phrase = pin->tag;
    const bool tack = pin->picture == form->At("imgTack", 0).picture;
    SetTack(app, phrase, app.state.CommandText, tack);
    MatchCommand(app);
    // The best match may have changed under the typed text; the main loop redraws the command line.
    app.state.DisplayDirty = true;
    app.platform.RequestWake();
}

} // namespace tov
