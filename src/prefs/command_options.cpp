#include "prefs/command_options.h"

#include "base/text.h"
#include "catalogue/built_in_commands.h"
#include "catalogue/custom_commands.h"
#include "catalogue/list_file.h"
#include "catalogue/save_failure.h"
#include "platform/settings_store.h"
#include "prefs/command_loop.h"
#include "prefs/preferences_form.h"
#include "prefs/preferences_window.h"

#include <optional>

namespace tov {

namespace {

constexpr std::size_t kDroppedExtensionCharacters = 4;
constexpr const char* kNamePromptTitle = "Command";
constexpr const char* kFolderBrowserTitle = "Select Folder";

std::string CommandsFile(const PreferencesContext& p) {
    return CustomCommandsPath(p.platform.ProgramFolder());
}

void ShowAddFrame(Form& f, bool adding) {
    f.At(frmPrefs::fmeAddCommand).visible = adding;
    f.At(frmPrefs::fmeUserCommands).visible = !adding;
}

// Ends an incomplete choice: nothing selected, nothing to add.
void ResetChoice(const PreferencesContext& p) {
    if (Form* f = PreferencesWindow(p.forms))
        for (int i = 0; i < kCommandTypeCount; ++i)
            f->At(frmPrefs::opCommandType, i).value = 0;
    ResetCommandTypes(p);
}

std::string NameFromUser(const PreferencesContext& p, const std::string& prompt,
                         const std::string& defaultText) {
    return LowerCase(p.platform.InputBox(PreferencesOwner(p.forms), prompt, kNamePromptTitle, defaultText));
}

// Program and File: the open-file dialog, then the name. The caption for the option
// button, or nothing when the user backed out.
std::optional<std::string> ChooseFileCommand(const PreferencesContext& p, PreferencesFields& fields,
                                             bool program) {
    fields.cdOpen.defaultExtension = program ? ".exe" : "";
    fields.cdOpen.filter = program ? "*.exe" : "";
    const auto path = p.platform.ChooseOpenFile(PreferencesOwner(p.forms), fields.cdOpen);
    if (!path || path->empty())
        return std::nullopt;
    fields.NewCommandAction = BuiltInCommandLine(BuiltInAction::Run, *path);
    fields.NewCommandName = NameFromUser(p,
                                         program ? "What do you want the command for this program to be?"
                                                 : "What do you want the command for this file to be?",
                                         DefaultFileCommandName(*path));
    if (fields.NewCommandName.empty())
        return std::nullopt;
    return std::string(program ? "Program (" : "File (") + fields.NewCommandName + ")";
}

std::optional<std::string> ChooseFolderCommand(const PreferencesContext& p, PreferencesFields& fields) {
    const auto path = p.platform.ChooseFolder(PreferencesOwner(p.forms), kFolderBrowserTitle);
    if (!path || path->empty())
        return std::nullopt;
    fields.NewCommandAction = BuiltInCommandLine(BuiltInAction::Run, *path);
    fields.NewCommandName = NameFromUser(p, "What do you want the command for this folder to be?",
                                         DefaultFolderCommandName(*path));
    if (fields.NewCommandName.empty())
        return std::nullopt;
    return "Folder (" + fields.NewCommandName + ")";
}

std::optional<std::string> ChooseWebSiteCommand(const PreferencesContext& p, PreferencesFields& fields) {
    const std::string address = p.platform.InputBox(
        PreferencesOwner(p.forms), "What website do you want to open?", kNamePromptTitle, "http://");
    if (address.empty())
        return std::nullopt; // cancelled: asking for a name would be for nothing
    fields.NewCommandAction = BuiltInCommandLine(BuiltInAction::WebSite, address);
    fields.NewCommandName = NameFromUser(p, "What do you want the command for this web site to be?", "");
    if (fields.NewCommandName.empty())
        return std::nullopt;
    return "Web site(" + fields.NewCommandName + ")";
}

} // namespace

std::string DefaultFileCommandName(std::string_view path) {
    std::size_t end = path.size();
    for (std::size_t dropped = 0; dropped < kDroppedExtensionCharacters && end > 0; ++dropped) {
        end = CharacterStart(path, end - 1); // a whole character, not a byte of one
    }
    const std::string_view head = path.substr(0, end);
    const auto slash = head.rfind('\\');
    return std::string(slash == std::string_view::npos ? head : head.substr(slash + 1));
}

std::string DefaultFolderCommandName(std::string_view path) {
    const auto slash = path.rfind('\\');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

void RefreshCommandList(const PreferencesContext& p) {
    Form* f = PreferencesWindow(p.forms);
    if (!f)
        return;
    const std::string path = CommandsFile(p);
    const auto text = path.empty() ? std::nullopt : ReadListFile(path);
    if (!text)
        return; // no file: the list keeps what it shows
    Control& list = f->At(frmPrefs::lstPrograms);
    list.items.clear();
    for (auto& command : CustomCommandsFromLines(text->lines))
        list.items.push_back(std::move(command.Name));
    list.value = -1;
    // With the selection gone there is nothing to remove.
    f->At(frmPrefs::cmdRemoveProgram).enabled = false;
    UpdatePreferencesWindow(p.platform, p.forms);
}

void ResetCommandTypes(const PreferencesContext& p) {
    Form* f = PreferencesWindow(p.forms);
    if (!f)
        return;
    for (int i = 0; i < kCommandTypeCount; ++i)
        f->At(frmPrefs::opCommandType, i).text = kCommandTypeCaptions[i];
    f->At(frmPrefs::cmdAddOkay).enabled = false;
    UpdatePreferencesWindow(p.platform, p.forms);
}

void cmdAddProgram_Click(const PreferencesContext& p, PreferencesFields& fields) {
    Form* f = PreferencesWindow(p.forms);
    if (!f)
        return;
    fields.NewCommandName.clear();
    fields.NewCommandAction.clear();
    ShowAddFrame(*f, true);
    ResetChoice(p);
}

void opCommandType_Click(const PreferencesContext& p, PreferencesFields& fields, int index) {
    fields.NewCommandName.clear();
    fields.NewCommandAction.clear();
    ResetCommandTypes(p);
    std::optional<std::string> caption;
    switch (index) {
    case kCommandTypeProgram:
        caption = ChooseFileCommand(p, fields, true);
        break;
    case kCommandTypeFile:
        caption = ChooseFileCommand(p, fields, false);
        break;
    case kCommandTypeFolder:
        caption = ChooseFolderCommand(p, fields);
        break;
    case kCommandTypeWebSite:
        caption = ChooseWebSiteCommand(p, fields);
        break;
    default:
        break;
    }
    Form* f = PreferencesWindow(p.forms);
    if (!f)
        return;
    if (!caption) {
        ResetChoice(p);
        return;
    }
    f->At(frmPrefs::opCommandType, index).text = *caption;
    if (!cmdAddOkay_Click(p, fields)) {
        ResetChoice(p);
        return;
    }
    if ((f = PreferencesWindow(p.forms))) {
        f->At(frmPrefs::cmdAddOkay).enabled = true;
        UpdatePreferencesWindow(p.platform, p.forms);
    }
}

bool cmdAddOkay_Click(const PreferencesContext& p, PreferencesFields& fields) {
    if (!PreferencesWindow(p.forms) || fields.NewCommandName.empty() || fields.NewCommandAction.empty())
        return false;
    const std::string path = CommandsFile(p);
    if (WouldRunItself(ReadCustomCommands(path), fields.NewCommandName, fields.NewCommandAction)) {
        p.platform.ShowMessageBox("The command \"" + fields.NewCommandName +
                                      "\" would run itself over and over, so it was not added.",
                                  kAppName, MessageBoxButtons::Ok);
        return false;
    }
    const ListSave save = AddCustomCommand(path, fields.NewCommandName, fields.NewCommandAction);
    if (!save.saved) {
        ReportSaveFailure(p.platform, p.saveFailures, kCustomCommandsFile, save.failure);
        return false;
    }
    p.rebuildCatalogue();
    RefreshCommandList(p);
    if (Form* f = PreferencesWindow(p.forms)) {
        ShowAddFrame(*f, false);
        UpdatePreferencesWindow(p.platform, p.forms);
    }
    return true;
}

void cmdCancel_Click(const PreferencesContext& p) {
    if (Form* f = PreferencesWindow(p.forms)) {
        ShowAddFrame(*f, false);
        UpdatePreferencesWindow(p.platform, p.forms);
    }
}

void lstPrograms_Click(const PreferencesContext& p) {
    if (Form* f = PreferencesWindow(p.forms)) {
        f->At(frmPrefs::cmdRemoveProgram).enabled = f->At(frmPrefs::lstPrograms).value >= 0;
        UpdatePreferencesWindow(p.platform, p.forms);
    }
}

void cmdRemoveProgram_Click(const PreferencesContext& p) {
    Form* f = PreferencesWindow(p.forms);
    if (!f)
        return;
    const Control& list = f->At(frmPrefs::lstPrograms);
    const bool selected = list.value >= 0 && list.value < static_cast<int>(list.items.size());
    const std::string name = selected ? list.items[static_cast<std::size_t>(list.value)] : std::string();
    f->At(frmPrefs::cmdRemoveProgram).enabled = false;
    UpdatePreferencesWindow(p.platform, p.forms);
    if (!selected)
        return;
    // Every record of the name goes; the file is replaced whole or left as it was.
    const ListSave save = RemoveCustomCommands(CommandsFile(p), name);
    if (!save.saved)
        ReportSaveFailure(p.platform, p.saveFailures, kCustomCommandsFile, save.failure);
    p.rebuildCatalogue();
    RefreshCommandList(p);
}

} // namespace tov
