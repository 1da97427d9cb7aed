#include "suggest/command_window.h"

#include "base/text.h"
#include "catalogue/built_in_commands.h"
#include "platform/settings_store.h"
#include "platform/window_utilities.h"
#include "suggest/accessible_view.h"
#include "suggest/suggestion_form.h"

#include <utility>

namespace tov {

namespace {

constexpr Rect kCommandWindowRect{0, 0, 600, 50};
// The typed text and the completion behind it start at the same place; the labels' indents
// then set each one's letters where they belong.
constexpr int kCommandTextLeft = 70;
constexpr const char* kArtwork = "commandback";

} // namespace

Form MakeCommandWindow(Platform& platform) {
    Form f;
    f.name = frmMain::kFormName;
    f.caption = kAppName;
    f.rect = kCommandWindowRect;
    f.font = Font{"Verdana", 14.25};
    f.style.topmost = true;
    f.Add({.name = frmMain::picIcon, .kind = ControlKind::PictureBox, .rect = {8, 8, 32, 32}});
    f.Add({.name = frmMain::lblCommandBack,
           .kind = ControlKind::Label,
           .rect = {kCommandTextLeft, 8, 521, 25}});
    f.Add({.name = frmMain::lblCommand, .kind = ControlKind::Label, .rect = {kCommandTextLeft, 8, 521, 25}});
    f.Add({.name = frmMain::lblDescription,
           .kind = ControlKind::Label,
           .rect = {100, 28, 497, 21},
           .font = Font{"Verdana", 9.75}});
    ApplyCommandWindowLooks(platform, f);
    f.accessible = DescribeCommandWindow;
    return f;
}

void ApplyCommandWindowLooks(Platform& platform, Form& f) {
    const CommandWindowLooks looks = CommandWindowLooksFor(platform.HighContrastColours());
    f.backColour = looks.back;
    if (!looks.artwork)
        f.background = nullptr;
    else if (!f.background)
        f.background = platform.LoadResourcePicture(kArtwork);
    f.At(frmMain::lblCommand).textColour = looks.typed;
    f.At(frmMain::lblCommandBack).textColour = looks.completion;
    f.At(frmMain::lblDescription).textColour = looks.description;
    if (f.At(frmMain::picIcon).backColour)
        f.At(frmMain::picIcon).backColour = looks.iconBox;
}

void PlaceCommandWindows(Platform& platform, Forms& forms, const Monitor& monitor) {
    forms.commandMonitor = monitor;
    for (const auto& [form, top] :
         {std::pair{forms.frmMain.get(), 0}, std::pair{forms.frmCommandSuggestion.get(), kSuggestionTop}}) {
        if (!form)
            continue;
        AnchorToWorkArea(*form, monitor);
        form->rect.left = 0;
        form->rect.top = top;
        if (form->handle != 0)
            platform.PlaceForm(*form);
    }
}

void OpenCommandWindow(Platform& platform, Forms& forms, int transparency, const Monitor& monitor) {
    UnloadForm(platform, forms, forms.frmMain);
    forms.frmMain = std::make_unique<Form>(MakeCommandWindow(platform));
    Form& f = *forms.frmMain;
    AnchorToWorkArea(f, monitor);
    f.At(frmMain::picIcon).backColour = CommandWindowLooksFor(platform.HighContrastColours()).iconBox;
    f.onSystemColoursChange = [&platform, &f] {
        ApplyCommandWindowLooks(platform, f);
        platform.UpdateForm(f);
    };
    if (!platform.CreateFormWindow(f))
        return;
    SetTransparency(platform, f.handle, transparency);
    PlaceCommandWindows(platform, forms, monitor);
    platform.ShowForm(f);
    platform.MakeTopmost(f);
}

void HideCommandWindow(Platform& platform, Forms& forms) {
    if (auto& f = forms.frmMain; f && f->visible)
        platform.HideForm(*f);
    HideSuggestions(platform, forms);
}

void CloseCommandWindow(Platform& platform, Forms& forms) {
    UnloadForm(platform, forms, forms.frmMain);
    HideSuggestions(platform, forms);
}

std::string DescribeCommandLine(const std::string& text, const std::string& caption) {
    const BuiltInCommand* command = FindBuiltInCommand(text);
    if (!command || command->description.empty())
        return {};
    std::string description(command->description);
    if (const auto mark = description.find(kArgumentMark); mark != std::string::npos)
        description.replace(mark, kArgumentMark.size(),
                            IsPrefix(*command) ? ArgumentOf(*command, text) : caption);
    return description;
}

bool ShowCommandWindowMessage(Platform& platform, Forms& forms, int transparency, const Monitor& monitor,
                              const std::string& message) {
    if (!forms.frmMain || forms.frmMain->handle == 0)
        OpenCommandWindow(platform, forms, transparency, monitor);
    if (!forms.frmMain)
        return false;
    Form& f = *forms.frmMain;
    Control& description = f.At(frmMain::lblDescription);
    description.text = message;
    description.tag = message;
    if (!f.visible) {
        platform.ShowForm(f);
        platform.MakeTopmost(f);
    }
    platform.UpdateForm(f);
    return true;
}

bool IsCommandWindowMessage(const Control& lblDescription) {
    return !lblDescription.text.empty() && lblDescription.text == lblDescription.tag;
}

} // namespace tov
