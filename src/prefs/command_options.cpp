#include "prefs/command_options.h"

#include "app/app.h"
#include "app/settings.h"
#include "catalogue/build.h"
#include "catalogue/custom_commands.h"
#include "catalogue/list_file.h"
#include "catalogue/save_failure.h"
#include "platform/text.h"
#include "prefs/command_loop.h"
#include "prefs/preferences_form.h"
#include "prefs/preferences_window.h"

#include <optional>

namespace tov {

namespace {

constexpr std::size_t kDroppedExtensionCharacters = 4;
constexpr const char* kNamePromptTitle = "Command";
constexpr const char* kFolderBrowserTitle = "Select Folder";

std::string CommandsFile(App& app) {
    return CustomCommandsPath(app.platform.ProgramFolder());
}

void ShowAddFrame(Form& f, bool adding) {
    f.At("fmeAddCommand").visible = adding;
    f.At("fmeUserCommands").visible = !adding;
}

// Ends an incomplete choice: nothing selected, nothing to add.
void ResetChoice(App& app) {
    if (Form* f = PreferencesWindow(app))
        for (int i = 0; i < kCommandTypeCount; ++i)
            f->At("opCommandType", i).value = 0;
    ResetCommandTypes(app);
}

std::string NameFromUser(App& app, const std::string& prompt, const std::string& defaultText) {
    return LowerCase(app.platform.InputBox(PreferencesOwner(app), prompt, kNamePromptTitle, defaultText));
}

// Program and File: the open-file dialog, then the name. The caption for the option
// button, or nothing when the user backed out.
std::optional<std::string> ChooseFileCommand(App& app, PreferencesFields& fields, bool program) {
    fields.cdOpen.defaultExtension = program ? ".exe" : "";
    fields.cdOpen.filter = program ? "*.exe" : "";
    const auto path = app.platform.ChooseOpenFile(PreferencesOwner(app), fields.cdOpen);
    if (!path || path->empty())
        return std::nullopt;
    fields.NewCommandAction = "run " + *path;
    fields.NewCommandName = NameFromUser(app,
                                         program ? "What do you want the command for this program to be?"
                                                 : "What do you want the command for this file to be?",
                                         DefaultFileCommandName(*path));
    if (fields.NewCommandName.empty())
        return std::nullopt;
    return std::string(program ? "Program (" : "File (") + fields.NewCommandName + ")";
}

std::optional<std::string> ChooseFolderCommand(App& app, PreferencesFields& fields) {
    const auto path = app.platform.ChooseFolder(PreferencesOwner(app), kFolderBrowserTitle);
    if (!path || path->empty())
        return std::nullopt;
    fields.NewCommandAction = "run " + *path;
    fields.NewCommandName = NameFromUser(app, "What do you want the command for this folder to be?",
                                         DefaultFolderCommandName(*path));
    if (fields.NewCommandName.empty())
        return std::nullopt;
    return "Folder (" + fields.NewCommandName + ")";
}

std::optional<std::string> ChooseWebSiteCommand(App& app, PreferencesFields& fields) {
    const std::string address = app.platform.InputBox(
        PreferencesOwner(app), "What website do you want to open?", kNamePromptTitle, "http://");
    if (address.empty())
        return std::nullopt; // cancelled: asking for a name would be for nothing
    fields.NewCommandAction = "web " + address;
    fields.NewCommandName = NameFromUser(app, "What do you want the command for this web site to be?", "");
    if (fields.NewCommandName.empty())
        return std::nullopt;
    return "Web site(" + fields.NewCommandName + ")";
}

} // namespace

std::string DefaultFileCommandName(std::string_view path) {
    std::size_t end = path.size();
    for (std::size_t dropped = 0; dropped < kDroppedExtensionCharacters && end > 0; ++dropped) {
        --end;
        while (end > 0 && (static_cast<unsigned char>(path[end]) & 0xC0) == 0x80)
            --end; // a whole character, not a byte of one
    }
    const std::string_view head = path.substr(0, end);
    const auto slash = head.rfind('\\');
    return std::string(slash == std::string_view::npos ? head : head.substr(slash + 1));
}

std::string DefaultFolderCommandName(std::string_view path) {
    const auto slash = path.rfind('\\');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

void RefreshCommandList(App& app) {
    Form* f = PreferencesWindow(app);
    if (!f)
        return;
    const std::string path = CommandsFile(app);
    const auto text = path.empty() ? std::nullopt : ReadListFile(path);
    if (!text)
        return; // no file: the list keeps what it shows
    Control& list = f->At("lstPrograms");
    list.items.clear();
    for (auto& command : CustomCommandsFromLines(text->lines))
        list.items.push_back(std::move(command.Name));
    list.value = -1;
    // With the selection gone there is nothing to remove.
    f->At("cmdRemoveProgram").enabled = false;
    UpdatePreferencesWindow(app);
}

void ResetCommandTypes(App& app) {
    Form* f = PreferencesWindow(app);
    if (!f)
        return;
    for (int i = 0; i < kCommandTypeCount; ++i)
        f->At("opCommandType", i).text = kCommandTypeCaptions[i];
    f->At("cmdAddOkay").enabled = false;
    UpdatePreferencesWindow(app);
}

void cmdAddProgram_Click(App& app, PreferencesFields& fields) {
    Form* f = PreferencesWindow(app);
    if (!f)
        return;
    fields.NewCommandName.clear();
    fields.NewCommandAction.clear();
    ShowAddFrame(*f, true);
    ResetChoice(app);
}

void opCommandType_Click(App& app, PreferencesFields& fields, int index) {
    fields.NewCommandName.clear();
    fields.NewCommandAction.clear();
    ResetCommandTypes(app);
    std::optional<std::string> caption;
    switch (index) {
    case kCommandTypeProgram:
        caption = ChooseFileCommand(app, fields, true);
        break;
    case kCommandTypeFile:
        caption = ChooseFileCommand(app, fields, false);
        break;
    case kCommandTypeFolder:
        caption = ChooseFolderCommand(app, fields);
        break;
    case kCommandTypeWebSite:
        caption = ChooseWebSiteCommand(app, fields);
        break;
    default:
        break;
    }
    Form* f = PreferencesWindow(app);
    if (!f)
        return;
    if (!caption) {
        ResetChoice(app);
        return;
    }
    f->At("opCommandType", index).text = *caption;
    if (!cmdAddOkay_Click(app, fields)) {
        ResetChoice(app);
        return;
    }
    if ((f = PreferencesWindow(app))) {
        f->At("cmdAddOkay").enabled = true;
        UpdatePreferencesWindow(app);
    }
}

bool cmdAddOkay_Click(App& app, PreferencesFields& fields) {
    if (!PreferencesWindow(app) || fields.NewCommandName.empty() || fields.NewCommandAction.empty())
        return false;
    const std::string path = CommandsFile(app);
    if (WouldRunItself(ReadCustomCommands(path), fields.NewCommandName, fields.NewCommandAction)) {
        app.platform.ShowMessageBox("The command \"" + fields.NewCommandName +
                                        "\" would run itself over and over, so it was not added.",
                                    kAppName, MessageBoxButtons::Ok);
        return false;
    }
    const ListSave save = AddCustomCommand(path, fields.NewCommandName, fields.NewCommandAction);
    if (!save.saved) {
        ReportSaveFailure(app.platform, app.saveFailures, kCustomCommandsFile, save.failure);
        return false;
    }
    BuildCatalogue(app);
    RefreshCommandList(app);
    if (Form* f = PreferencesWindow(app)) {
        ShowAddFrame(*f, false);
        UpdatePreferencesWindow(app);
    }
    return true;
}

void cmdCancel_Click(App& app) {
    if (Form* f = PreferencesWindow(app)) {
        ShowAddFrame(*f, false);
        UpdatePreferencesWindow(app);
    }
}

void lstPrograms_Click(App& app) {
    if (Form* f = PreferencesWindow(app)) {
        f->At("cmdRemoveProgram").enabled = f->At("lstPrograms").value >= 0;
        UpdatePreferencesWindow(app);
    }
}

void cmdRemoveProgram_Click(App& app) {
    Form* f = PreferencesWindow(app);
    if (!f)
        return;
    const Control& list = f->At("lstPrograms");
    const bool selected = list.value >= 0 && list.value < static_cast<int>(list.items.size());
    const std::string name = selected ? list.items[static_cast<std::size_t>(list.value)] : std::string();
    f->At("cmdRemoveProgram").enabled = false;
    UpdatePreferencesWindow(app);
    if (!selected)
        return;
    // Every record of the name goes; the file is replaced whole or left as it was.
    const ListSave save = RemoveCustomCommands(CommandsFile(app), name);
    if (!save.saved)
        ReportSaveFailure(app.platform, app.saveFailures, kCustomCommandsFile, save.failure);
    BuildCatalogue(app);
    RefreshCommandList(app);
}

} // namespace tov
