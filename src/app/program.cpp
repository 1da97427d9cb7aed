#include "app/program.h"

#include "app/app.h"
#include "app/catalogue_build.h"
#include "app/command_line.h"
#include "app/later_start.h"
#include "app/lifetime_steps.h"
#include "app/settings.h"
#include "app/submit.h"
#include "input/hooks.h"
#include "input/latency.h"
#include "platform/files.h"
#include "platform/program_file.h"
#include "platform/settings_store.h"
#include "platform/window_utilities.h"
#include "suggest/command_window.h"
#include "suggest/suggestion_form.h"
#include "suggest/usage.h"
#include "suggest/working_monitor.h"
#include "update/install.h"

namespace tov {

namespace {

// Runs a frozen command line as if it had been submitted the moment it was frozen; the
// command line the user has now is theirs again afterwards.
void ServeSubmit(App& app) {
    State& s = app.state;
    const FrozenLine line = std::move(s.Submits.front());
    s.Submits.pop_front();
    const std::string typedSince = s.CommandText;
    const bool openSince = s.WindowOpen;
    const std::int16_t selectedSince = s.SelectedIndex;
    const WindowHandle previousSince = s.PreviousWindow;
    s.CommandText = line.text;
    s.SelectedIndex = line.selection;
    s.PreviousWindow = line.previousWindow;
    SubmitCommandLine(app);
    const bool keptOpen = s.WindowOpen;
    s.CommandText = typedSince;
    s.WindowOpen = openSince;
    s.SelectedIndex = selectedSince;
    s.PreviousWindow = previousSince;
    if (openSince) {
        s.DisplayDirty = true;
    } else if (keptOpen && !s.NewsWaiting && s.Latest.change == line.change) {
        // The command showed a message in the window and the user has done nothing since.
        s.WindowOpen = true;
        s.SelectedIndex = 0;
        s.PreviousWindow = line.previousWindow;
        TellKeptOpen(app.platform, s, line.change);
    }
}

// The command window's monitor changed its scale or the window came to another: both windows
// go to the corner of its work area as it is now, and the line is drawn again with its text
// measured at the new scale.
void FollowScaleChange(App& app) {
    const Form* f = app.forms.frmMain.get();
    if (!f)
        return;
    if (const auto monitor = app.platform.MonitorOfWindow(f->handle))
        PlaceCommandWindows(app.platform, app.forms, *monitor);
    app.state.DisplayDirty = true;
    app.platform.RequestWake();
}

// Brings the windows in step with the command line as it stands: an open line always has its
// window on screen, also when a submit took it down after the user had opened it again.
void FollowCommandLine(App& app) {
    State& s = app.state;
    const bool missing = !app.forms.frmMain || !app.forms.frmMain->visible;
    if (s.WindowOpen && (s.ShownGeneration != s.OpenGeneration || missing)) {
        s.ShownGeneration = s.OpenGeneration;
        OpenCommandWindow(app.platform, app.forms, s.Transparency,
                          MonitorForWindows(app.platform, s.WorkingMonitor != 0, s.PreviousWindow));
        if (app.forms.frmMain)
            app.forms.frmMain->onScaleChange = [&app] { FollowScaleChange(app); };
        s.DisplayDirty = true;
    }
    if (!s.WindowOpen && s.Submits.empty() && app.forms.frmMain) {
        CloseCommandWindow(app.platform, app.forms);
        s.DisplayDirty = false;
    }
    if (s.DisplayDirty && s.WindowOpen) {
        s.DisplayDirty = false;
        RefreshCommandWindow(app);
    }
}

void WriteLatencySummary(Platform& platform, const State& s) {
    if (s.LatencyFile.empty())
        return;
    std::string failure;
    if (!ReplaceFileContents(s.LatencyFile, LatencyReport(s.KeyTimes, s.Input.hookTimes), &failure))
        platform.Log("The latency summary could not be written: " + failure);
}

} // namespace

void ServiceInput(App& app) {
    State& s = app.state;
    if (s.CaptureCompleted) {
        s.CaptureCompleted = false;
        SaveSetting(app.platform, "mappedkey", std::to_string(s.ActivationKey));
        UnloadForm(app.platform, app.forms, app.forms.frmRemap);
    }
    // A submit runs commands that may open message boxes, whose own message loops run this
    // routine again. The submit works on the line it froze, so the input thread's news waits
    // until it has returned; then the next submit runs.
    if (app.inSubmit)
        return;
    TakeLatestNews(s);
    FollowCommandLine(app);
    // A line submitted before the first catalogue has landed waits for it.
    while (!s.Submits.empty() && !FirstCatalogueUnderWay(app)) {
        app.inSubmit = true;
        ServeSubmit(app);
        app.inSubmit = false;
        TakeLatestNews(s);
        FollowCommandLine(app);
    }
    if (!s.WindowOpen && app.forms.frmMain)
        CloseCommandWindow(app.platform, app.forms);
    if (!s.LatencyFile.empty())
        NoteKeysShown(s);
}

void Startup(App& app) {
    app.platform.Log("Tovlen started");
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
        SetTransparency(app.platform, suggestions->handle, app.state.Transparency);
        app.platform.MakeTopmost(*suggestions);
    }
    FadeAwaySplash(app);
    app.state.Running = true;
    app.platform.SetWakeHandler([&app] { ServiceInput(app); });
    app.platform.SetLaterStartHandler(
        [&app](const std::string& commandLine) { ServeLaterStart(app.platform, app.state, commandLine); });
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
    WriteLatencySummary(app.platform, app.state);
    RemoveProgramTrayIcon(app);
    app.platform.SetWakeHandler(nullptr);
    app.platform.SetLaterStartHandler(nullptr);
    UnloadAllForms(app.platform, app.forms);
    app.forms.unloaded.clear();
    app.platform.Log("Tovlen ended");
}

int RunTovlen(App& app) {
    // A later start hands its command line to the copy that runs and ends quietly.
    if (!app.platform.ClaimOnlyInstance())
        return 0;
    Startup(app);
    MainLoop(app);
    Shutdown(app);
    return 0;
}

} // namespace tov
