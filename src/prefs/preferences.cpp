#include "prefs/preferences.h"

#include "catalogue/built_in_commands.h"
#include "catalogue/catalogue.h"
#include "input/hooks.h"
#include "platform/files.h"
#include "platform/settings_store.h"
#include "platform/window_utilities.h"
#include "prefs/command_options.h"
#include "prefs/key_mapping.h"
#include "prefs/preferences_form.h"
#include "prefs/preferences_window.h"
#include "suggest/suggestion_form.h"
#include "suggest/working_monitor.h"

#include <algorithm>
#include <memory>

namespace tov {

namespace {

using FieldsPtr = std::shared_ptr<PreferencesFields>;

constexpr const char* kBookmarksBelowFirefox = "defaults\\profile\\bookmarks.html";

int Checked(int value) {
    return value != 0 ? 1 : 0;
}

// A check box's click: the setting, the value in memory, and for a catalogue source a rebuild.
void StoreCheckBox(const PreferencesContext& p, ControlName control, const char* key, std::int16_t& value,
                   bool rebuild) {
    Form* f = PreferencesWindow(p.forms);
    if (!f)
        return;
    const int state = Checked(f->At(control).value);
    SaveSetting(p.platform, key, std::to_string(state));
    value = static_cast<std::int16_t>(state);
    if (rebuild)
        p.rebuildCatalogue();
}

void udSuggestions_Change(const PreferencesContext& p) {
    Form* f = PreferencesWindow(p.forms);
    if (!f)
        return;
    const int value = f->At(frmPrefs::udSuggestions).value;
    f->At(frmPrefs::lblSuggestions).text = std::to_string(value);
    UpdatePreferencesWindow(p.platform, p.forms);
    SaveSetting(p.platform, "showsuggestions", std::to_string(value));
    p.state.SuggestionCount = static_cast<std::int16_t>(value);
    TellSuggestionCount(p.platform, p.state);
}

void sdrTransparency_Change(const PreferencesContext& p) {
    Form* f = PreferencesWindow(p.forms);
    if (!f)
        return;
    const int value = f->At(frmPrefs::sdrTransparency).value;
    SaveSetting(p.platform, "windowtransparency", std::to_string(value));
    if (!p.forms.frmCommandSuggestion) {
        LoadSuggestionForm(p.platform, p.forms);
        if (p.forms.frmCommandSuggestion)
            TellSuggestionWindow(p.platform, p.state, p.forms.frmCommandSuggestion->handle);
    }
    if (p.forms.frmCommandSuggestion)
        SetTransparency(p.platform, p.forms.frmCommandSuggestion->handle, value);
    p.state.Transparency = static_cast<std::int16_t>(value);
}

void cmdFFLocate_Click(const PreferencesContext& p, PreferencesFields& fields) {
    Platform& platform = p.platform;
    platform.ShowMessageBox("Please find and select firefox.exe", kAppName, MessageBoxButtons::Ok);
    if (!PreferencesWindow(p.forms))
        return;
    const auto chosen = platform.ChooseOpenFile(PreferencesOwner(p.forms), fields.cdOpen);
    if (!chosen || chosen->empty())
        return; // cancelled: there is nothing to look for
    const std::string folder = FolderOf(*chosen);
    const std::string bookmarks = folder + kBookmarksBelowFirefox;
    if (!IsPlainFile(bookmarks)) {
        platform.ShowMessageBox("Could not locate bookmarks file.\r\n\r\n" + bookmarks, kAppName,
                                MessageBoxButtons::Ok);
        return;
    }
    platform.ShowMessageBox("Bookmarks found. Tovlen can now import your Firefox bookmarks.", kAppName,
                            MessageBoxButtons::Ok);
    p.state.FirefoxProfilesDir = folder;
    SaveSetting(platform, "ffdir", folder);
    if (Form* f = PreferencesWindow(p.forms)) {
        f->At(frmPrefs::cmdFFLocate).enabled = false;
        Control& firefox = f->At(frmPrefs::chkFFFavorites);
        firefox.enabled = true;
        firefox.text = kFirefoxLocatedCaption;
        UpdatePreferencesWindow(p.platform, p.forms);
    }
}

void cmdOkay_Click(const PreferencesContext& p) {
    UnloadForm(p.platform, p.forms, p.forms.frmPrefs);
}

void AttachHandlers(const PreferencesContext& p, Form& f, const FieldsPtr& fields) {
    f.At(frmPrefs::chkCheckBeforeShutdown).onClick = [p] {
        StoreCheckBox(p, frmPrefs::chkCheckBeforeShutdown, "checkbeforeshutdown", p.state.CheckBeforeShutdown,
                      false);
    };
    f.At(frmPrefs::chkIEFavorites).onClick = [p] {
        StoreCheckBox(p, frmPrefs::chkIEFavorites, "showiefavs", p.state.ShowIEFavorites, true);
    };
    f.At(frmPrefs::chkFFFavorites).onClick = [p] {
        StoreCheckBox(p, frmPrefs::chkFFFavorites, "showfffavs", p.state.ShowFFFavorites, true);
    };
    f.At(frmPrefs::chkChromiumFavorites).onClick = [p] {
        StoreCheckBox(p, frmPrefs::chkChromiumFavorites, "showchromium", p.state.ShowChromiumBookmarks, true);
    };
    f.At(frmPrefs::chkApps).onClick = [p] {
        StoreCheckBox(p, frmPrefs::chkApps, "showapps", p.state.ShowApps, true);
    };
    f.At(frmPrefs::chkWorkingMonitor).onClick = [p] {
        StoreCheckBox(p, frmPrefs::chkWorkingMonitor, kWorkingMonitorSetting, p.state.WorkingMonitor, false);
    };
    f.At(frmPrefs::chkNearMatches).onClick = [p] {
        StoreCheckBox(p, frmPrefs::chkNearMatches, kNearMatchesSetting, p.state.NearMatches, false);
    };
    f.At(frmPrefs::udSuggestions).onChange = [p] { udSuggestions_Change(p); };
    f.At(frmPrefs::sdrTransparency).onChange = [p] { sdrTransparency_Change(p); };
    f.At(frmPrefs::cmdCheckUpdates).onClick = [p] {
        p.runCommand(BuiltInCommandLine(BuiltInAction::Update));
    };
    f.At(frmPrefs::lblWebAddress).onClick = [p] {
        p.runCommand(BuiltInCommandLine(BuiltInAction::WebSite, kProductWebAddress));
    };
    f.At(frmPrefs::cmdFFLocate).onClick = [p, fields] { cmdFFLocate_Click(p, *fields); };
    f.At(frmPrefs::cmdOkay).onClick = [p] { cmdOkay_Click(p); };
    f.onClose = [p] { cmdOkay_Click(p); };

    f.At(frmPrefs::cmdAddProgram).onClick = [p, fields] { cmdAddProgram_Click(p, *fields); };
    for (int i = 0; i < kCommandTypeCount; ++i)
        f.At(frmPrefs::opCommandType, i).onClick = [p, fields, i] { opCommandType_Click(p, *fields, i); };
    f.At(frmPrefs::cmdAddOkay).onClick = [p, fields] { cmdAddOkay_Click(p, *fields); };
    f.At(frmPrefs::cmdCancel).onClick = [p] { cmdCancel_Click(p); };
    f.At(frmPrefs::lstPrograms).onClick = [p] { lstPrograms_Click(p); };
    f.At(frmPrefs::cmdRemoveProgram).onClick = [p] { cmdRemoveProgram_Click(p); };

    f.At(frmPrefs::cmdRemap).onClick = [p] { cmdRemap_Click(p.platform, p.state, p.forms); };
    f.At(frmPrefs::cmdKeyMapReset).onClick = [p] { cmdKeyMapReset_Click(p.platform, p.state, p.forms); };
}

void Form_Load(const PreferencesContext& p) {
    Platform& platform = p.platform;
    const State& s = p.state;
    platform.ShowForm(*p.forms.frmPrefs);
    RefreshCommandList(p);
    Form* f = PreferencesWindow(p.forms);
    if (!f)
        return;
    f->At(frmPrefs::sdrTransparency).value =
        std::clamp<int>(s.Transparency, kTransparencyMinimum, kTransparencyMaximum);
    f->At(frmPrefs::chkCheckBeforeShutdown).value = Checked(s.CheckBeforeShutdown);
    // The store, not the value in memory: the two differ only if something else wrote it.
    const int suggestions = SettingToInt16(GetSetting(platform, "showsuggestions", kDefaultSuggestionCount));
    Control& upDown = f->At(frmPrefs::udSuggestions);
    upDown.value = std::clamp(suggestions, kSuggestionsMinimum, kSuggestionsMaximum);
    f->At(frmPrefs::lblSuggestions).text = std::to_string(upDown.value);
    f->At(frmPrefs::chkNearMatches).value = Checked(s.NearMatches);
    f->At(frmPrefs::chkIEFavorites).value = Checked(s.ShowIEFavorites);
    f->At(frmPrefs::chkChromiumFavorites).value = Checked(s.ShowChromiumBookmarks);
    f->At(frmPrefs::chkApps).value = Checked(s.ShowApps);
    f->At(frmPrefs::chkWorkingMonitor).value = Checked(s.WorkingMonitor);
    Control& firefox = f->At(frmPrefs::chkFFFavorites);
    firefox.value = Checked(s.ShowFFFavorites);
    if (!IsFolder(s.FirefoxProfilesDir)) {
        firefox.text = kFirefoxNotFoundCaption;
        firefox.enabled = false;
    }
    f->At(frmPrefs::lblKeyMap).text = platform.KeyName(static_cast<std::uint16_t>(s.ActivationKey));
    UpdatePreferencesWindow(p.platform, p.forms);
}

} // namespace

Form* PreferencesWindow(Forms& forms) {
    return forms.frmPrefs.get();
}

WindowHandle PreferencesOwner(Forms& forms) {
    const Form* f = PreferencesWindow(forms);
    return f ? f->handle : 0;
}

void UpdatePreferencesWindow(Platform& platform, Forms& forms) {
    if (Form* f = PreferencesWindow(forms); f && f->handle != 0)
        platform.UpdateForm(*f);
}

void ShowPreferences(const PreferencesContext& p) {
    if (Form* f = PreferencesWindow(p.forms)) {
        p.platform.ShowForm(*f);
        return;
    }
    p.forms.frmPrefs = std::make_unique<Form>(MakePreferencesForm(
        MonitorForWindows(p.platform, p.state.WorkingMonitor != 0, p.platform.ForegroundWindow())));
    AttachHandlers(p, *p.forms.frmPrefs, std::make_shared<PreferencesFields>());
    if (!p.platform.CreateFormWindow(*p.forms.frmPrefs)) {
        UnloadForm(p.platform, p.forms, p.forms.frmPrefs);
        return;
    }
    Form_Load(p);
}

} // namespace tov
