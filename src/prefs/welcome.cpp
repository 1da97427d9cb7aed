#include "prefs/welcome.h"

#include "platform/settings_store.h"

namespace tov {

namespace {

constexpr int kMargin = 16;
constexpr int kParagraphGap = 10;
constexpr int kListIndent = 12;
constexpr int kListGap = 3;
constexpr int kRuleHeight = 2;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 26;
constexpr int kCheckBoxHeight = 20;
const Font kBodyFont{"Tahoma", 9};
const Font kHeadingFont{"Arial", 14.25};

constexpr const char* kIntroduction =
    "Thank you for installing Tovlen. We hope you will find it very useful. Below is a quick introduction "
    "to the program.";
constexpr const char* kHowToOpen =
    "To open Tovlen, press the Caps Lock key. A green box will open at the top-left corner of your screen. "
    "This is the command box. When you begin typing a command, suggested commands will be displayed under "
    "the command box. You can select the command you want with arrow keys, or keep typing the command until "
    "it is selected. Once the command you want is selected, press Caps Lock or Enter.";
constexpr const char* kTryIt =
    "Try it now! Press Caps Lock, type 'notepad' (without the quotes), and press Enter. "
    "You should see Notepad open. Some more commands:";
constexpr const char* kExampleCommands[] = {
    "Preferences -- Opens Tovlen's Preferences window",
    "Exit -- Exits Tovlen",
    "Shutdown -- Shutsdown Windows",
    "Reboot -- Reboots Windows",
};

// Adds the controls top to bottom, each as tall as its text needs.
struct Column {
    Platform& platform;
    Form& form;
    int top = kMargin;

    void Text(ControlName name, const std::string& text, const Font& font, int indent, int gapAfter,
              int index = 0, bool centred = false) {
        const int width = kWelcomeClientWidth - 2 * kMargin - indent;
        const int height = platform.MeasureWrappedText(font, text, width, form.dpi).height;
        form.Add({.name = name,
                  .index = index,
                  .kind = ControlKind::Label,
                  .rect = {kMargin + indent, top, width, height},
                  .text = text,
                  .font = font,
                  .centred = centred,
                  .wrap = true});
        top += height + gapAfter;
    }
    void Rule(ControlName name) {
        form.Add({.name = name,
                  .kind = ControlKind::Line,
                  .rect = {kMargin, top, kWelcomeClientWidth - 2 * kMargin, kRuleHeight}});
        top += kRuleHeight + kParagraphGap;
    }
};

} // namespace

Form MakeWelcome(Platform& platform, Forms& forms, const Monitor& monitor) {
    Form f;
    AnchorToWorkArea(f, monitor);
    f.name = frmWelcome::kFormName;
    f.caption = "Welcome to Tovlen";
    f.font = kBodyFont;
    f.style = FormStyle{.captionBar = true, .topmost = false, .toolWindow = false, .activateOnShow = true};
    Column column{platform, f};
    column.Text(frmWelcome::lblWelcome, "Welcome to Tovlen!", kHeadingFont, 0, kParagraphGap, 0, true);
    column.Text(frmWelcome::lblIntroduction, kIntroduction, kBodyFont, 0, kParagraphGap);
    column.Rule(frmWelcome::linBelowIntroduction);
    column.Text(frmWelcome::lblHowToOpen, kHowToOpen, kBodyFont, 0, kParagraphGap);
    column.Text(frmWelcome::lblTryIt, kTryIt, kBodyFont, 0, kParagraphGap);
    column.Rule(frmWelcome::linAboveExamples);
    int index = 0;
    for (const char* line : kExampleCommands)
        column.Text(frmWelcome::lblExample, line, kBodyFont, kListIndent, kListGap, index++);
    const int bottom = column.top + kParagraphGap;
    f.Add({.name = frmWelcome::chkShowWindow,
           .kind = ControlKind::CheckBox,
           .rect = {kMargin, bottom + (kButtonHeight - kCheckBoxHeight) / 2,
                    kWelcomeClientWidth - 3 * kMargin - kButtonWidth, kCheckBoxHeight},
           .text = "Show this window next time Tovlen Starts",
           .value = 1,
           .accessKey = 'S'});
    f.Add({.name = frmWelcome::cmdOk,
           .kind = ControlKind::Button,
           .rect = {kWelcomeClientWidth - kMargin - kButtonWidth, bottom, kButtonWidth, kButtonHeight},
           .text = "Okay",
           .accessKey = 'O',
           .onClick = [&platform, &forms] { cmdOk_Click(platform, forms); }});
    f.defaultButton = frmWelcome::cmdOk;
    f.rect.width = kWelcomeClientWidth;
    f.rect.height = bottom + kButtonHeight + kMargin;
    CentreInWorkArea(f, monitor);
    // Closing it any other way leaves the setting as it was, so it shows again next time.
    f.onClose = [&platform, &forms] { UnloadForm(platform, forms, forms.frmWelcome); };
    return f;
}

void ShowWelcome(Platform& platform, Forms& forms, const Monitor& monitor) {
    auto& welcome = forms.frmWelcome;
    if (!welcome) {
        welcome = std::make_unique<Form>(MakeWelcome(platform, forms, monitor));
        if (!platform.CreateFormWindow(*welcome)) {
            UnloadForm(platform, forms, welcome);
            return;
        }
    }
    platform.ShowForm(*welcome);
}

void cmdOk_Click(Platform& platform, Forms& forms) {
    if (!forms.frmWelcome)
        return;
    const Control* show = forms.frmWelcome->Find(frmWelcome::chkShowWindow);
    SaveSetting(platform, "showwelcome", show && show->value ? "1" : "0");
    UnloadForm(platform, forms, forms.frmWelcome);
}

} // namespace tov
