#include "prefs/preferences.h"

#include "app/app.h"
#include "app/settings.h"
#include "app/window_utilities.h"
#include "catalogue/build.h"
#include "commands/dispatch.h"
#include "platform/files.h"
#include "prefs/command_options.h"
#include "prefs/key_mapping.h"
#include "prefs/preferences_form.h"
#include "prefs/preferences_window.h"
#include "suggest/suggestion_form.h"

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
void StoreCheckBox(App& app, const char* control, const char* key, std::int16_t& value, bool rebuild) {
    Form* f = PreferencesWindow(app);
    if (!f)
        return;
    const int state = Checked(f->At(control).value);
    SaveSetting(app.platform, key, std::to_string(state));
    value = static_cast<std::int16_t>(state);
    if (rebuild)
        BuildCatalogue(app);
}

void udSuggestions_Change(App& app) {
    Form* f = PreferencesWindow(app);
    if (!f)
        return;
    const int value = f->At("udSuggestions").value;
    f->At("lblSuggestions").text = std::to_string(value);
    UpdatePreferencesWindow(app);
    SaveSetting(app.platform, "showsuggestions", std::to_string(value));
    app.state.SuggestionCount = static_cast<std::int16_t>(value);
}

void sdrTransparency_Change(App& app) {
    Form* f = PreferencesWindow(app);
    if (!f)
        return;
    const int value = f->At("sdrTransparency").value;
    SaveSetting(app.platform, "windowtransparency", std::to_string(value));
    if (!app.forms.frmCommandSuggestion)
        LoadSuggestionForm(app);
    if (app.forms.frmCommandSuggestion)
        SetTransparency(app, app.forms.frmCommandSuggestion->handle, value);
    app.state.Transparency = static_cast<std::int16_t>(value);
}

void cmdFFLocate_Click(App& app, PreferencesFields& fields) {
    Platform& platform = app.platform;
    platform.ShowMessageBox("Please find and select firefox.exe", kAppName, MessageBoxButtons::Ok);
    if (!PreferencesWindow(app))
        return;
    const auto chosen = platform.ChooseOpenFile(PreferencesOwner(app), fields.cdOpen);
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
    app.state.FirefoxProfilesDir = folder;
    SaveSetting(platform, "ffdir", folder);
    if (Form* f = PreferencesWindow(app)) {
        f->At("cmdFFLocate").enabled = false;
        Control& firefox = f->At("chkFFFavorites");
        firefox.enabled = true;
        firefox.text = kFirefoxLocatedCaption;
        UpdatePreferencesWindow(app);
    }
}

void cmdOkay_Click(App& app) {
    UnloadForm(app, app.forms.frmPrefs);
}

void AttachHandlers(App& app, Form& f, const FieldsPtr& fields) {
    State& s = app.state;
    f.At("chkCheckBeforeShutdown").onClick = [&app, &s] {
        StoreCheckBox(app, "chkCheckBeforeShutdown", "checkbeforeshutdown", s.CheckBeforeShutdown, false);
    };
    f.At("chkIEFavorites").onClick = [&app, &s] {
        StoreCheckBox(app, "chkIEFavorites", "showiefavs", s.ShowIEFavorites, true);
    };
    f.At("chkFFFavorites").onClick = [&app, &s] {
        StoreCheckBox(app, "chkFFFavorites", "showfffavs", s.ShowFFFavorites, true);
    };
    f.At("chkChromiumFavorites").onClick = [&app, &s] {
        StoreCheckBox(app, "chkChromiumFavorites", "showchromium", s.ShowChromiumBookmarks, true);
    };
    f.At("chkApps").onClick = [&app, &s] { StoreCheckBox(app, "chkApps", "showapps", s.ShowApps, true); };
    f.At("udSuggestions").onChange = [&app] { udSuggestions_Change(app); };
    f.At("sdrTransparency").onChange = [&app] { sdrTransparency_Change(app); };
    f.At("cmdCheckUpdates").onClick = [&app] { RunCommand(app, "update"); };
    f.At("Label8").onClick = [&app] { RunCommand(app, std::string("web ") + kProductWebAddress); };
    f.At("cmdFFLocate").onClick = [&app, fields] { cmdFFLocate_Click(app, *fields); };
    f.At("cmdOkay").onClick = [&app] { cmdOkay_Click(app); };
    f.onClose = [&app] { cmdOkay_Click(app); };

    f.At("cmdAddProgram").onClick = [&app, fields] { cmdAddProgram_Click(app, *fields); };
    for (int i = 0; i < kCommandTypeCount; ++i)
        f.At("opCommandType", i).onClick = [&app, fields, i] { opCommandType_Click(app, *fields, i); };
    f.At("cmdAddOkay").onClick = [&app, fields] { cmdAddOkay_Click(app, *fields); };
    f.At("cmdCancel").onClick = [&app] { cmdCancel_Click(app); };
    f.At("lstPrograms").onClick = [&app] { lstPrograms_Click(app); };
    f.At("cmdRemoveProgram").onClick = [&app] { cmdRemoveProgram_Click(app); };

    f.At("cmdRemap").onClick = [&app] { cmdRemap_Click(app); };
    f.At("cmdKeyMapReset").onClick = [&app] { cmdKeyMapReset_Click(app); };
}

void Form_Load(App& app) {
    Platform& platform = app.platform;
    const State& s = app.state;
    platform.ShowForm(*app.forms.frmPrefs);
    RefreshCommandList(app);
    Form* f = PreferencesWindow(app);
    if (!f)
        return;
    f->At("sdrTransparency").value =
        std::clamp<int>(s.Transparency, kTransparencyMinimum, kTransparencyMaximum);
    f->At("chkCheckBeforeShutdown").value = Checked(s.CheckBeforeShutdown);
    // The store, not the value in memory: the two differ only if something else wrote it.
    const int suggestions = SettingToInt16(GetSetting(platform, "showsuggestions", kDefaultSuggestionCount));
    Control& upDown = f->At("udSuggestions");
    upDown.value = std::clamp(suggestions, kSuggestionsMinimum, kSuggestionsMaximum);
    f->At("lblSuggestions").text = std::to_string(upDown.value);
    f->At("chkIEFavorites").value = Checked(s.ShowIEFavorites);
    f->At("chkChromiumFavorites").value = Checked(s.ShowChromiumBookmarks);
    f->At("chkApps").value = Checked(s.ShowApps);
    Control& firefox = f->At("chkFFFavorites");
    firefox.value = Checked(s.ShowFFFavorites);
    if (!IsFolder(s.FirefoxProfilesDir)) {
        firefox.text = kFirefoxNotFoundCaption;
        firefox.enabled = false;
    }
    f->At("lblKeyMap").text = platform.KeyName(static_cast<std::uint16_t>(s.ActivationKey));
    UpdatePreferencesWindow(app);
}

} // namespace

Form* PreferencesWindow(App& app) {
    return app.forms.frmPrefs.get();
}

WindowHandle PreferencesOwner(App& app) {
    const Form* f = PreferencesWindow(app);
    return f ? f->handle : 0;
}

void UpdatePreferencesWindow(App& app) {
    if (Form* f = PreferencesWindow(app); f && f->handle != 0)
        app.platform.UpdateForm(*f);
}

void ShowPreferences(App& app) {
    if (Form* f = PreferencesWindow(app)) {
        app.platform.ShowForm(*f);
        return;
    }
    app.forms.frmPrefs = std::make_unique<Form>(MakePreferencesForm(app.platform.ScreenSize()));
    AttachHandlers(app, *app.forms.frmPrefs, std::make_shared<PreferencesFields>());
    if (!app.platform.CreateFormWindow(*app.forms.frmPrefs)) {
        UnloadForm(app, app.forms.frmPrefs);
        return;
    }
    Form_Load(app);
}

} // namespace tov
