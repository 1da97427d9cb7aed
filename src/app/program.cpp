#include "app/program.h"

#include "app/app.h"
#include "app/lifetime_steps.h"
#include "app/settings.h"
#include "app/window_utilities.h"
#include "catalogue/build.h"
#include "input/keyboard.h"
#include "input/submit.h"
#include "suggest/command_window.h"
#include "suggest/suggestion_form.h"
#include "suggest/usage.h"
#include "update/install.h"

namespace tov {

namespace {

// Runs a frozen command line as if it had been submitted the moment it was frozen.
void ServeSubmit(App& app) {
    State& s = app.state;
    s.SubmitRequested = false;
    const unsigned generation = s.OpenGeneration;
    const std::string typedSince = s.CommandText;
    const bool openSince = s.WindowOpen;
    s.CommandText = s.PendingSubmit;
    s.SelectedIndex = s.PendingSelection;
    s.PendingSubmit.clear();
    SubmitCommandLine(app);
    if (s.OpenGeneration != generation || openSince) {
        // The user opened the window again before the submit ran; that line is theirs.
        s.CommandText = typedSince;
        s.WindowOpen = true;
        s.DisplayDirty = true;
    }
}

} // namespace

void ServiceInput(App& app) {
    static bool inSubmit = false;
    State& s = app.state;
    if (s.CaptureCompleted) {
        s.CaptureCompleted = false;
        SaveSetting(app.platform, "mappedkey", std::to_string(s.ActivationKey));
        UnloadForm(app, app.forms.frmRemap);
    }
    if (s.WindowOpen && s.ShownGeneration != s.OpenGeneration) {
        s.ShownGeneration = s.OpenGeneration;
        OpenCommandWindow(app);
        s.DisplayDirty = true;
    }
    if (!s.WindowOpen && !s.SubmitRequested && app.forms.frmMain) {
        CloseCommandWindow(app);
        s.DisplayDirty = false;
    }
    if (s.DisplayDirty && s.WindowOpen) {
        s.DisplayDirty = false;
        RefreshCommandWindow(app);
    }
    // A submit runs commands that may open message boxes, whose own message loops run this
    // routine again; one submit at a time, the next once the first has returned.
    while (s.SubmitRequested && !inSubmit) {
        inSubmit = true;
        ServeSubmit(app);
        inSubmit = false;
    }
    if (!s.WindowOpen && app.forms.frmMain && !inSubmit)
        CloseCommandWindow(app);
}

void Startup(App& app) {
    EnsureStartupShortcut(app);
    LoadSettings(app.platform, app.state);
    RemoveLeftoverDownloads(app.platform);
    ShowSplash(app);
    AddProgramTrayIcon(app);
    app.state.SelectedIndex = 0;
    BuildCatalogue(app);
    LoadInfluence(app);
    LoadTacks(app);
    LoadSuggestionForm(app);
    if (Form* suggestions = app.forms.frmCommandSuggestion.get()) {
        suggestions->rect.top = kSuggestionTop;
        app.platform.PlaceForm(*suggestions);
        SetTransparency(app, suggestions->handle, app.state.Transparency);
        app.platform.MakeTopmost(*suggestions);
    }
    FadeAwaySplash(app);
    app.state.SubmitRequested = false;
    app.state.Running = true;
    app.platform.SetWakeHandler([&app] { ServiceInput(app); });
    InstallHooks(app);
    app.platform.RaisePriority();
}

void MainLoop(App& app) {
    while (app.state.Running && app.platform.RunOneMessage()) {
        ServiceInput(app);
        app.unloaded.clear();
    }
}

void Shutdown(App& app) {
    RemoveHooks(app);
    RemoveProgramTrayIcon(app);
    app.platform.SetWakeHandler(nullptr);
    Forms& f = app.forms;
    for (auto* form : {&f.frmWelcome, &f.frmSystray, &f.frmLoad, &f.frmMain, &f.frmPrefs, &f.frmRemap,
                       &f.frmCommandSuggestion, &f.frmUpdate})
        UnloadForm(app, *form);
    app.unloaded.clear();
}

int RunTovlen(App& app) {
    Startup(app);
    MainLoop(app);
    Shutdown(app);
    return 0;
}

} // namespace tov
