#include "app/program.h"

#include "app/app.h"
#include "app/catalogue_build.h"
#include "app/command_line.h"
#include "app/later_start.h"
#include "app/lifetime_steps.h"
#include "app/settings.h"
#include "app/submit.h"
#include "base/flag_scope.h"
#include "input/hooks.h"
#include "input/latency.h"
#include "platform/code_pages.h"
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

// Runs a frozen command line as if it had been submitted the moment it was frozen. The submit
// works on that line alone: the command line on screen is the user's meanwhile, and keeps
// following the input thread, also inside the message boxes a command shows.
void ServeSubmit(App& app) {
    State& s = app.state;
    const FrozenLine line = std::move(s.Submits.front());
    s.Submits.pop_front();
    // The frozen line's window goes as its command runs, unless the user has opened another.
    if (!s.WindowOpen) {
        if (app.forms.frmMain)
            app.forms.frmMain->At(frmMain::lblCommand).text.clear();
        HideCommandWindow(app.platform, app.forms);
    }
    bool keptOpen = false;
    {
        const FlagScope submitting(app.inSubmit);
        keptOpen = SubmitCommandLine(app, line);
    }
    if (keptOpen && !s.WindowOpen && !s.NewsWaiting && s.Latest.change == line.change) {
        // The command showed a message in the window and the user has done nothing since.
        s.WindowOpen = true;
        s.CommandText.clear();
        s.CommandKeys.clear();
        s.SelectedIndex = 0;
        s.PreviousWindow = line.previousWindow;
        TellKeptOpen(app.platform, s, line.change);
    } else if (s.WindowOpen) {
        s.DisplayDirty = true;
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
    WatchMouseHook(app.platform, s.Watchdog, s.WindowOpen);
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
    if (s.InputStuck) {
        // The hook's times may still be written to.
        platform.Log("The latency summary was not written: the input thread did not end");
        return;
    }
    std::string failure;
    if (!ReplaceFileContents(s.LatencyFile, LatencyReport(s.KeyTimes, s.Input->hookTimes), &failure))
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
    TakeLatestNews(s);
    FollowCommandLine(app);
    // A submit runs commands that may open message boxes, whose own message loops run this
    // routine again: the line on screen follows the keys there too, but the next submit waits
    // until this one has returned. A line submitted before the first catalogue has landed
    // waits for it.
    while (!app.inSubmit && !s.Submits.empty() && !FirstCatalogueUnderWay(app)) {
        ServeSubmit(app);
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
    // List files without a byte-order mark are read in this code page; a support log needs it.
    app.platform.Log("ANSI code page " + std::to_string(AnsiCodePage()));
    // Blurred or wrongly sized windows on a support call start here.
    app.platform.Log(std::string("Scaled by the program: ") +
                     DescribeScaleAwareness(app.platform.ScaleAwarenessOfProcess()));
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
    // The hooks, which every key and click of the desktop passes through, must answer at once;
    // that is why the whole program once ran at high priority. They live on the input thread
    // alone now, which runs above every normal program, so the rest stays among them: the main
    // thread a step above normal, the catalogue and icon workers below, where a rebuild of a
    // large Start menu takes no time from the user's game or compiler.
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
