#include "suggest/suggestion_form.h"

#include "platform/program_file.h"
#include "suggest/accessible_view.h"
#include "suggest/row_keys.h"
#include "suggest/window_looks.h"

#include <algorithm>

namespace tov {

namespace {

constexpr double kFontPoints = 12;
constexpr Rect kRowsRect{24, 4, 2000, 0};
constexpr Rect kPinRect{0, 4, 20, 15};
constexpr int kPinFirstTop = 5;
constexpr int kPinPitch = 18;
constexpr int kBottomMargin = 10;
constexpr const char* kPinResource = "pin";
constexpr const char* kLitPinFile = "LIGHTON.ico";
constexpr const char* kLineEnd = "\r\n";

Control RowsLabel(ControlName name) {
    Control c;
    c.name = name;
    c.kind = ControlKind::Label;
    c.rect = kRowsRect;
    return c;
}

void ApplyLooks(Platform& platform, Form& form) {
    const SuggestionLooks looks = SuggestionLooksFor(platform.HighContrastColours());
    form.backColour = looks.back;
    form.At(frmCommandSuggestion::lblCommand).textColour = looks.row;
    form.At(frmCommandSuggestion::lblNearRows).textColour = looks.nearRow;
    form.At(frmCommandSuggestion::lblCommandOverlay).textColour = looks.highlight;
    Control& bar = form.At(frmCommandSuggestion::lblHighlightBar);
    bar.backColour = looks.highlightBar;
    bar.visible = looks.highlightBar.has_value() && bar.rect.height > 0;
}

std::size_t RowLimit(std::int16_t suggestionCount, std::size_t matches) {
    return suggestionCount > 0 ? std::min<std::size_t>(static_cast<std::size_t>(suggestionCount), matches)
                               : matches;
}

bool CommandWindowVisible(const Forms& forms) {
    return forms.frmMain && forms.frmMain->visible;
}

} // namespace

Form MakeSuggestionForm(Platform& platform) {
    Form form;
    form.name = frmCommandSuggestion::kFormName;
    form.rect = Rect{0, kSuggestionTop, kSuggestionWidth, kBottomMargin};
    form.font = Font{"Verdana", kFontPoints};
    form.style.topmost = true;
    form.Add({.name = frmCommandSuggestion::lblHighlightBar,
              .kind = ControlKind::Label,
              .rect = {0, kRowsRect.top, kSuggestionWidth, 0},
              .visible = false});
    form.Add(RowsLabel(frmCommandSuggestion::lblCommand));
    form.Add(RowsLabel(frmCommandSuggestion::lblNearRows));
    form.Add(RowsLabel(frmCommandSuggestion::lblCommandOverlay));

    Control pin;
    pin.name = frmCommandSuggestion::imgTack;
    pin.kind = ControlKind::Image;
    pin.rect = kPinRect;
    pin.visible = false;
    pin.picture = platform.LoadResourcePicture(kPinResource);
    form.Add(std::move(pin));
    ApplyLooks(platform, form);
    form.accessible = DescribeSuggestions;
    return form;
}

void LoadSuggestionForm(Platform& platform, Forms& forms) {
    auto& form = forms.frmCommandSuggestion;
    if (form)
        return;
    form = std::make_unique<Form>(MakeSuggestionForm(platform));
    form->onSystemColoursChange = [&platform, f = form.get()] {
        ApplyLooks(platform, *f);
        platform.UpdateForm(*f);
    };
    platform.CreateFormWindow(*form);
}

void RefreshSuggestions(Platform& platform, Forms& forms, const SuggestionRows& rowsToShow,
                        const std::function<void(int row)>& onPinClick) {
    Form* form = forms.frmCommandSuggestion.get();
    if (!form)
        return;
    const auto& phrases = rowsToShow.phrases;
    const auto& matches = rowsToShow.matches;
    const Control pinTemplate = form->At(frmCommandSuggestion::imgTack, 0);
    std::string rows;
    std::string nearRows;
    std::string highlight;
    PicturePtr litPin;
    bool litPinLoaded = false;
    int height = 0;
    Rect bar{0, kRowsRect.top, kSuggestionWidth, 0};

    // Without a row limit the rows stop where the screen does: more could not be seen, and
    // drawing thousands of them would stall every keystroke.
    const std::string resultRow(rowsToShow.resultRow);
    const std::size_t leading = resultRow.empty() ? 0 : 1;
    const std::size_t limit = RowLimit(rowsToShow.suggestionCount, matches.size() + leading);
    const int screenBottom = platform.ScreenSize().height;
    std::vector<std::string_view> shownPhrases;
    std::size_t shown = 0;
    while (shown < limit) {
        if (rowsToShow.suggestionCount <= 0 && shown > 0 && form->rect.top + height >= screenBottom)
            break;
        const bool isResult = shown < leading;
        // The result is drawn as the exact matches are: it is what the typed text says, not a guess.
        const bool exact = isResult || matches[shown - leading].kind == MatchKind::Exact;
        const std::string& phrase = isResult ? resultRow : phrases[matches[shown - leading].index];
        if (!isResult)
            shownPhrases.push_back(phrase);
        const int row = static_cast<int>(++shown);

        Control* pin = form->Find(frmCommandSuggestion::imgTack, row);
        if (!pin) {
            Control copy = pinTemplate;
            copy.index = row;
            copy.onClick = [onPinClick, row] { onPinClick(row); };
            pin = &form->Add(std::move(copy));
        }
        pin->rect.top = (row - 1) * kPinPitch + kPinFirstTop;
        pin->visible = !isResult;
        pin->tag = isResult ? std::string() : phrase;
        pin->picture = pinTemplate.picture;
        if (!isResult && IsTacked(rowsToShow.usage, phrase, rowsToShow.typed)) {
            if (!litPinLoaded) {
                litPin = platform.LoadPictureFile(ProgramFile(platform, kLitPinFile));
                litPinLoaded = true;
            }
            pin->picture = litPin;
        }

        if (exact) {
            rows += phrase;
        } else {
            nearRows += phrase;
            nearRows += kNearMark;
        }
        rows += kLineEnd;
        nearRows += kLineEnd;
        const int lineHeight = platform.MeasureText(form->font, phrase).height;
        if (phrase == rowsToShow.result) {
            highlight += phrase;
            if (bar.height == 0)
                bar = {0, kRowsRect.top + height, kSuggestionWidth, lineHeight};
        }
        highlight += kLineEnd;
        height += lineHeight;
    }
    std::erase_if(form->controls, [&](const Control& c) {
        return c.name == frmCommandSuggestion::imgTack && static_cast<std::size_t>(c.index) > shown;
    });
    const std::vector<RowKeys> keys = KeysOfPhrases(rowsToShow.catalogue, shownPhrases);
    for (std::size_t i = 0; i < shown; ++i)
        form->At(frmCommandSuggestion::imgTack, static_cast<int>(i) + 1).text =
            DescribeRowKeys(i < leading ? RowKeys::CopyResult : keys[i - leading]);

    height += kBottomMargin;
    Control& list = form->At(frmCommandSuggestion::lblCommand);
    list.text = std::move(rows);
    list.rect.height = height;
    Control& nearList = form->At(frmCommandSuggestion::lblNearRows);
    nearList.text = std::move(nearRows);
    nearList.rect.height = height;
    Control& overlay = form->At(frmCommandSuggestion::lblCommandOverlay);
    overlay.text = std::move(highlight);
    overlay.rect.height = height;
    form->rect.height = height;
    form->At(frmCommandSuggestion::lblHighlightBar).rect = bar;
    ApplyLooks(platform, *form);
    if (form->handle == 0)
        return;
    platform.PlaceForm(*form);
    platform.UpdateForm(*form);
    if (CommandWindowVisible(forms))
        platform.ShowForm(*form);
}

void HideSuggestions(Platform& platform, Forms& forms) {
    Form* form = forms.frmCommandSuggestion.get();
    if (form && form->handle != 0)
        platform.HideForm(*form);
}

} // namespace tov
