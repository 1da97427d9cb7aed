#include "prefs/preferences_form.h"

namespace tov {

namespace {

constexpr int kClientWidth = 560;
constexpr int kClientHeight = 446;
constexpr Rect kCommandFrame{280, 8, 270, 392};
constexpr Colour kLinkColour = Rgb(0, 0, 255);
constexpr Colour kValueBack = Rgb(255, 255, 255);

Control Frame(ControlName name, const char* caption, Rect rect) {
    return {.name = name, .kind = ControlKind::Frame, .rect = rect, .text = caption};
}

Control In(ControlName frame, Control c) {
    c.parent = frame;
    return c;
}

void AddUpdates(Form& f) {
    f.Add(Frame(frmPrefs::fmeUpdates, "Tovlen Updates", {10, 8, 260, 60}));
    f.Add(In(frmPrefs::fmeUpdates, {.name = frmPrefs::cmdCheckUpdates,
                                    .kind = ControlKind::Button,
                                    .rect = {14, 24, 232, 26},
                                    .text = "Check Now For Updates",
                                    .accessKey = 'U'}));
}

void AddSuggestions(Form& f) {
    f.Add(Frame(frmPrefs::fmeSuggestions, "Command Suggestions", {10, 76, 260, 88}));
    f.Add(In(frmPrefs::fmeSuggestions, {.name = frmPrefs::lblSuggestionsPrompt,
                                        .kind = ControlKind::Label,
                                        .rect = {14, 24, 168, 32},
                                        .text = "Maximum number of suggestions to show:",
                                        .wrap = true,
                                        .accessKey = 'M'}));
    f.Add(In(frmPrefs::fmeSuggestions, {.name = frmPrefs::lblSuggestions,
                                        .kind = ControlKind::Label,
                                        .rect = {190, 30, 28, 18},
                                        .text = "0",
                                        .font = Font{"Verdana", 8.25, true},
                                        .backColour = kValueBack,
                                        .centred = true}));
    f.Add(In(frmPrefs::fmeSuggestions, {.name = frmPrefs::udSuggestions,
                                        .kind = ControlKind::UpDown,
                                        .rect = {220, 26, 18, 26},
                                        .minimum = kSuggestionsMinimum,
                                        .maximum = kSuggestionsMaximum}));
    f.Add(In(frmPrefs::fmeSuggestions, {.name = frmPrefs::chkNearMatches,
                                        .kind = ControlKind::CheckBox,
                                        .rect = {14, 60, 232, 20},
                                        .text = "Also suggest near matches",
                                        .accessKey = 'g'}));
}

void AddKeyMapping(Form& f) {
    f.Add(Frame(frmPrefs::fmeKeyMapping, "Key Mapping", {10, 172, 260, 88}));
    f.Add(In(frmPrefs::fmeKeyMapping, {.name = frmPrefs::lblKeyPrompt,
                                       .kind = ControlKind::Label,
                                       .rect = {14, 26, 130, 16},
                                       .text = "Key to show Tovlen:"}));
    f.Add(In(frmPrefs::fmeKeyMapping, {.name = frmPrefs::lblKeyMap,
                                       .kind = ControlKind::Label,
                                       .rect = {146, 26, 104, 16},
                                       .font = Font{"Verdana", 8.25, true}}));
    f.Add(In(frmPrefs::fmeKeyMapping, {.name = frmPrefs::cmdRemap,
                                       .kind = ControlKind::Button,
                                       .rect = {14, 54, 86, 26},
                                       .text = "Change",
                                       .accessKey = 'h'}));
    f.Add(In(frmPrefs::fmeKeyMapping, {.name = frmPrefs::cmdKeyMapReset,
                                       .kind = ControlKind::Button,
                                       .rect = {108, 54, 138, 26},
                                       .text = "Reset to Caps Lock",
                                       .accessKey = 'R'}));
}

void AddTransparency(Form& f) {
    Control transparency = Frame(frmPrefs::fmeTransparency, "Window Transparency", {10, 268, 260, 80});
    transparency.accessKey = 'T';
    f.Add(std::move(transparency));
    f.Add(In(frmPrefs::fmeTransparency, {.name = frmPrefs::sdrTransparency,
                                         .kind = ControlKind::Slider,
                                         .rect = {14, 22, 232, 30},
                                         .minimum = kTransparencyMinimum,
                                         .maximum = kTransparencyMaximum}));
    f.Add(In(frmPrefs::fmeTransparency, {.name = frmPrefs::lblTransparencyLow,
                                         .kind = ControlKind::Label,
                                         .rect = {20, 56, 40, 16},
                                         .text = "40%"}));
    f.Add(In(frmPrefs::fmeTransparency, {.name = frmPrefs::lblTransparencyHigh,
                                         .kind = ControlKind::Label,
                                         .rect = {210, 56, 40, 16},
                                         .text = "100%"}));
}

void AddWindowPlace(Form& f) {
    f.Add(Frame(frmPrefs::fmeWindowPlace, "Window Position", {10, 356, 260, 44}));
    f.Add(In(frmPrefs::fmeWindowPlace, {.name = frmPrefs::chkWorkingMonitor,
                                        .kind = ControlKind::CheckBox,
                                        .rect = {14, 22, 232, 20},
                                        .text = "Open on the monitor I work on",
                                        .accessKey = 'k'}));
}

void AddCommandOptions(Form& f) {
    f.Add(Frame(frmPrefs::fmeUserCommands, "Command Options", kCommandFrame));
    f.Add(In(frmPrefs::fmeUserCommands, {.name = frmPrefs::chkCheckBeforeShutdown,
                                         .kind = ControlKind::CheckBox,
                                         .rect = {14, 22, 244, 20},
                                         .text = "Prompt Before Shutdown/Reboot",
                                         .accessKey = 'P'}));
    f.Add(In(frmPrefs::fmeUserCommands, {.name = frmPrefs::chkFFFavorites,
                                         .kind = ControlKind::CheckBox,
                                         .rect = {14, 46, 170, 20},
                                         .text = kFirefoxCaption,
                                         .accessKey = 'F'}));
    f.Add(In(frmPrefs::fmeUserCommands, {.name = frmPrefs::cmdFFLocate,
                                         .kind = ControlKind::Button,
                                         .rect = {188, 44, 70, 24},
                                         .text = "Locate",
                                         .accessKey = 'L'}));
    f.Add(In(frmPrefs::fmeUserCommands, {.name = frmPrefs::chkIEFavorites,
                                         .kind = ControlKind::CheckBox,
                                         .rect = {14, 70, 244, 20},
                                         .text = "Include Internet Explorer Favorites",
                                         .accessKey = 'I'}));
    f.Add(In(frmPrefs::fmeUserCommands, {.name = frmPrefs::chkChromiumFavorites,
                                         .kind = ControlKind::CheckBox,
                                         .rect = {14, 94, 244, 20},
                                         .text = "Include Edge and Chrome Favorites",
                                         .accessKey = 'E'}));
    f.Add(In(frmPrefs::fmeUserCommands, {.name = frmPrefs::chkApps,
                                         .kind = ControlKind::CheckBox,
                                         .rect = {14, 118, 244, 20},
                                         .text = "Include Windows Apps",
                                         .accessKey = 'W'}));
    f.Add(In(frmPrefs::fmeUserCommands, {.name = frmPrefs::lstPrograms,
                                         .kind = ControlKind::ListBox,
                                         .rect = {14, 148, 244, 198},
                                         .value = -1}));
    f.Add(In(frmPrefs::fmeUserCommands, {.name = frmPrefs::cmdAddProgram,
                                         .kind = ControlKind::Button,
                                         .rect = {14, 356, 118, 26},
                                         .text = "Add Command",
                                         .accessKey = 'A'}));
    f.Add(In(frmPrefs::fmeUserCommands, {.name = frmPrefs::cmdRemoveProgram,
                                         .kind = ControlKind::Button,
                                         .rect = {140, 356, 118, 26},
                                         .text = "Remove Command",
                                         .enabled = false,
                                         .accessKey = 'v'}));
}

void AddAddCommand(Form& f) {
    Control frame = Frame(frmPrefs::fmeAddCommand, "Add Command", kCommandFrame);
    frame.visible = false;
    f.Add(frame);
    f.Add(In(frmPrefs::fmeAddCommand, {.name = frmPrefs::lblAddPrompt,
                                       .kind = ControlKind::Label,
                                       .rect = {18, 30, 220, 16},
                                       .text = "I want to open a"}));
    for (int i = 0; i < kCommandTypeCount; ++i)
        f.Add(In(frmPrefs::fmeAddCommand, {.name = frmPrefs::opCommandType,
                                           .index = i,
                                           .kind = ControlKind::OptionButton,
                                           .rect = {32, 56 + 28 * i, 226, 22},
                                           .text = kCommandTypeCaptions[i]}));
    f.Add(In(frmPrefs::fmeAddCommand, {.name = frmPrefs::cmdAddOkay,
                                       .kind = ControlKind::Button,
                                       .rect = {14, 356, 118, 26},
                                       .text = "Okay",
                                       .enabled = false,
                                       .accessKey = 'O'}));
    f.Add(In(frmPrefs::fmeAddCommand, {.name = frmPrefs::cmdCancel,
                                       .kind = ControlKind::Button,
                                       .rect = {140, 356, 118, 26},
                                       .text = "Cancel",
                                       .accessKey = 'n'}));
}

} // namespace

Form MakePreferencesForm(const Monitor& monitor) {
    Form f;
    f.name = frmPrefs::kFormName;
    f.caption = "Tovlen Preferences";
    f.rect.width = kClientWidth;
    f.rect.height = kClientHeight;
    CentreInWorkArea(f, monitor);
    f.font = Font{"Verdana", 8.25};
    f.style = FormStyle{.captionBar = true, .topmost = false, .toolWindow = false, .activateOnShow = true};
    AddUpdates(f);
    AddSuggestions(f);
    AddKeyMapping(f);
    AddTransparency(f);
    AddWindowPlace(f);
    AddCommandOptions(f);
    AddAddCommand(f);
    f.cancelButton = frmPrefs::cmdCancel;
    f.Add({.name = frmPrefs::lblWebAddress,
           .kind = ControlKind::Label,
           .rect = {14, 414, 240, 16},
           .text = kProductWebAddress,
           .textColour = kLinkColour});
    f.Add({.name = frmPrefs::cmdOkay,
           .kind = ControlKind::Button,
           .rect = {406, 408, 144, 28},
           .text = "Close Preferences",
           .accessKey = 'C'});
    return f;
}

} // namespace tov
