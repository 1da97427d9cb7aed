#include "suggest/command_window.h"

#include "app/app.h"
#include "app/window_utilities.h"
#include "platform/text.h"
#include "suggest/match.h"
#include "suggest/suggestion_form.h"

namespace tov {

namespace {

constexpr const char* kAppTitle = "Tovlen";
constexpr Rect kCommandWindowRect{0, 0, 600, 50};
constexpr Colour kCompletionColour = Rgb(0x40, 0x40, 0x40);
constexpr Colour kCommandWindowBack = Rgb(236, 246, 232);

} // namespace

Form MakeCommandWindow(App& app) {
    Form f;
    f.name = "frmMain";
    f.caption = kAppTitle;
    f.rect = kCommandWindowRect;
    f.backColour = kCommandWindowBack;
    f.background = app.platform.LoadResourcePicture("commandback");
    f.font = Font{"Verdana", 14.25};
    f.style.topmost = true;
    f.Add({.name = "picIcon", .kind = ControlKind::PictureBox, .rect = {8, 8, 32, 32}});
    f.Add({.name = "lblCommandBack",
           .kind = ControlKind::Label,
           .rect = {kCommandTextLeft, 8, 521, 25},
           .textColour = kCompletionColour});
    f.Add({.name = "lblCommand", .kind = ControlKind::Label, .rect = {kCommandTextLeft, 8, 521, 25}});
    f.Add({.name = "lblDescription",
           .kind = ControlKind::Label,
           .rect = {100, 28, 497, 21},
           .font = Font{"Verdana", 9.75}});
    return f;
}

void OpenCommandWindow(App& app) {
    UnloadForm(app, app.forms.frmMain);
    app.forms.frmMain = std::make_unique<Form>(MakeCommandWindow(app));
    Form& f = *app.forms.frmMain;
    f.At("picIcon").backColour = kIconBoxColour;
    if (!app.platform.CreateFormWindow(f))
        return;
    SetTransparency(app, f.handle, app.state.Transparency);
    app.platform.PlaceForm(f);
    app.platform.ShowForm(f);
    app.platform.MakeTopmost(f);
}

void HideCommandWindow(App& app) {
    if (auto& f = app.forms.frmMain; f && f->visible)
        app.platform.HideForm(*f);
    HideSuggestions(app);
}

void CloseCommandWindow(App& app) {
    UnloadForm(app, app.forms.frmMain);
    HideSuggestions(app);
}

std::string DescribeCommandLine(const std::string& text, const std::string& caption) {
    auto rest = [&](std::size_t prefix) { return text.substr(prefix); };
    if (text == "exit")
        return std::string("Closes ") + kAppTitle;
    if (text == "close")
        return "Close " + caption;
    if (StartsWith(text, "close "))
        return "Close window with caption: '" + rest(6) + "'";
    if (text == "maximize")
        return "Maximize " + caption;
    if (text == "minimize")
        return "Minimize " + caption;
    if (StartsWith(text, "restore "))
        return "Restore window with caption: '" + rest(8) + "'";
    if (StartsWith(text, "show "))
        return "Show window with caption: '" + rest(5) + "'";
    if (text == "preferences")
        return std::string(kAppTitle) + " preferences";
    if (StartsWith(text, "web "))
        return "Open website: " + rest(4);
    if (StartsWith(text, "google "))
        return "Searches Google for: " + rest(7);
    return {};
}

void RefreshCommandWindow(App& app) {
    if (!app.forms.frmMain)
        return;
    State& s = app.state;
    {
        Form& f = *app.forms.frmMain;
        f.At("lblCommand").text = s.CommandText;
        const std::string caption = Trim(app.platform.WindowCaption(s.PreviousWindow));
        f.At("lblDescription").text = DescribeCommandLine(s.CommandText, caption);
        f.At("picIcon").picture = nullptr;
    }
    if (s.CommandText.empty()) {
        HideSuggestions(app);
        app.forms.frmMain->At("lblCommandBack").text.clear();
        app.forms.frmMain->At("lblCommand").rect.left = kCommandTextLeft;
    } else {
        const std::string best = MatchCommand(app);
        if (!app.forms.frmMain)
            return;
        Form& f = *app.forms.frmMain;
        f.At("lblCommandBack").text = best;
        int left = kCommandTextLeft;
        const auto p = best.find(s.CommandText);
        if (p != std::string::npos && p > 0)
            left += app.platform.MeasureText(f.font, best.substr(0, p)).width;
        f.At("lblCommand").rect.left = left;
    }
    app.platform.UpdateForm(*app.forms.frmMain);
}

void ShowCommandWindowMessage(App& app, const std::string& message) {
    if (!app.forms.frmMain || app.forms.frmMain->handle == 0)
        OpenCommandWindow(app);
    if (!app.forms.frmMain)
        return;
    Form& f = *app.forms.frmMain;
    f.At("lblDescription").text = message;
    if (!f.visible) {
        app.platform.ShowForm(f);
        app.platform.MakeTopmost(f);
    }
    app.platform.UpdateForm(f);
    app.state.WindowOpen = true;
    app.state.ShownGeneration = app.state.OpenGeneration;
    // A redraw still pending from the Enter key would put the typed line's description back.
    app.state.DisplayDirty = false;
}

} // namespace tov
