#include "app/program.h"

#include "app/app.h"
#include "app/catalogue_build.h"
#include "app/command_line.h"
#include "app/lifetime_steps.h"
#include "app/settings.h"
#include "app/submit.h"
#include "input/keyboard.h"
#include "platform/program_file.h"
#include "platform/settings_store.h"
#include "platform/window_utilities.h"
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
    State& s = app.state;
    if (s.CaptureCompleted) {
        s.CaptureCompleted = false;
        SaveSetting(app.platform, "mappedkey", std::to_string(s.ActivationKey));
        UnloadForm(app.platform, app.forms, app.forms.frmRemap);
    }
    if (s.WindowOpen && s.ShownGeneration != s.OpenGeneration) {
        s.ShownGeneration = s.OpenGeneration;
        OpenCommandWindow(app.platform, app.forms, s.Transparency);
        s.DisplayDirty = true;
    }
    if (!s.WindowOpen && !s.SubmitRequested && app.forms.frmMain) {
        CloseCommandWindow(app.platform, app.forms);
        s.DisplayDirty = false;
    }
    if (s.DisplayDirty && s.WindowOpen) {
        s.DisplayDirty = false;
        RefreshCommandWindow(app);
    }
    // A submit runs commands that may open message boxes, whose own message loops run this
    // routine again; one submit at a time, the next once the first has returned.
    // A line submitted before the first catalogue has landed waits for it.
    while (s.SubmitRequested && !app.inSubmit && !FirstCatalogueUnderWay(app)) {
        app.inSubmit = true;
        ServeSubmit(app);
        app.inSubmit = false;
    }
    if (!s.WindowOpen && app.forms.frmMain && !app.inSubmit)
        CloseCommandWindow(app.platform, app.forms);
}

void Startup(App& app) {
    EnsureStartupShortcut(app);
    LoadSettings(app.platform, app.state);
    RemoveLeftoverDownloads(app.platform);
    ShowSplash(app);
    AddProgramTrayIcon(app);
    app.state.SelectedIndex = 0;
    StartStallProbe(app.platform, app.catalogueRefresh.stalls);
    BuildCatalogue(app);
    const auto log = [&app](std::string_view line) { app.platform.Log(line); };
    LoadInfluence(app.usage, ProgramFile(app.platform, kInfluenceFile), log);
    LoadTacks(app.usage, ProgramFile(app.platform, kTackFile), log);
    LoadSuggestionForm(app.platform, app.forms);
    if (Form* suggestions = app.forms.frmCommandSuggestion.get()) {
        suggestions->rect.top = kSuggestionTop;
        app.platform.PlaceForm(*suggestions);
        SetTransparency(app.platform, suggestions->handle, app.state.Transparency);
        app.platform.MakeTopmost(*suggestions);
    }
    FadeAwaySplash(app);
    app.state.SubmitRequested = false;
    app.state.Running = true;
    app.platform.SetWakeHandler([&app] { ServiceInput(app); });
    InstallHooks(app.platform, app.state, app.forms);
    app.platform.RaisePriority();
}

void MainLoop(App& app) {
    while (app.state.Running && app.platform.RunOneMessage()) {
        ServiceInput(app);
        app.forms.unloaded.clear();
    }
}

void Shutdown(App& app) {
    RemoveHooks(app.platform, app.state);
    RemoveProgramTrayIcon(app);
    app.platform.SetWakeHandler(nullptr);
    UnloadAllForms(app.platform, app.forms);
    app.forms.unloaded.clear();
}

int RunTovlen(App& app) {
    Startup(app);
    MainLoop(app);
    Shutdown(app);
    return 0;
}

} // namespace tov
