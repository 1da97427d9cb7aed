#include "commands/dispatch.h"

#include "app/app.h"
#include "commands/launch.h"
#include "commands/session.h"
#include "commands/window_commands.h"
#include "input/submit.h"
#include "platform/files.h"
#include "platform/text.h"
#include "prefs/preferences.h"
#include "suggest/command_window.h"
#include "suggest/match.h"
#include "update/update.h"

namespace tov {

namespace {

// Custom commands may stand for other custom commands; a chain that leads back to itself
// stops at this depth.
constexpr int kMaxCustomCommandDepth = 8;
// How deep the custom commands being carried out are nested right now (one thread).
int customCommandDepth = 0;

constexpr DispatchResult kCarriedOut{false, true};
constexpr DispatchResult kNothingApplied{false, false};

struct DepthGuard {
    DepthGuard() { ++customCommandDepth; }
    ~DepthGuard() { --customCommandDepth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;
};

const CustomCommand* FindCustomCommand(const Catalogue& catalogue, const std::string& line) {
    for (const CustomCommand& command : catalogue.custom)
        if (command.Name == line)
            return &command;
    return nullptr;
}

DispatchResult RunCustomCommand(App& app, std::string action) {
    if (customCommandDepth >= kMaxCustomCommandDepth)
        return kCarriedOut;
    DepthGuard guard;
    app.state.CommandText = std::move(action);
    SubmitCommandLine(app);
    // A message shown by the action ("Program not found.") keeps the window open out here too.
    return DispatchResult{app.state.WindowOpen, true};
}

// "run " + target: a command-table entry, a file, the best phrase for the typed text, a folder.
DispatchResult RunTarget(App& app, const std::string& target) {
    if (RunProgram(app, target))
        return kCarriedOut;
    if (IsPlainFile(target)) {
        OpenPath(app, target);
        return kCarriedOut;
    }
    if (!MatchCommand(app).empty())
        return kNothingApplied; // the caller runs that phrase
    if (IsFolder(target)) {
        OpenPath(app, target);
        return kCarriedOut;
    }
    ShowCommandWindowMessage(app, "Program not found.");
    return DispatchResult{true, true};
}

void ChangePlacement(App& app, WindowHandle window, ShowCommand command) {
    if (window != 0)
        app.platform.SetShowCommand(window, command);
}

// The suggestion window takes the system commands; the command window stands in while there is none.
WindowHandle WindowForSystemCommands(const App& app) {
    for (const auto* form : {&app.forms.frmCommandSuggestion, &app.forms.frmMain})
        if (*form && (*form)->handle != 0)
            return (*form)->handle;
    return 0;
}

std::string Rest(const std::string& line, std::string_view prefix) {
    return line.substr(prefix.size());
}

} // namespace

DispatchResult RunCommand(App& app, const std::string& line) {
    if (const CustomCommand* custom = FindCustomCommand(app.catalogue, line))
        return RunCustomCommand(app, custom->Action);

    Platform& platform = app.platform;
    const WindowHandle previous = app.state.PreviousWindow;
    if (line == "exit") {
        app.state.Running = false;
    } else if (line == "update") {
        RunUpdate(app);
    } else if (StartsWith(line, "run ") && line.size() > 4) {
        return RunTarget(app, Rest(line, "run "));
    } else if (line == "close") {
        if (previous != 0)
            platform.RequestWindowClose(previous);
    } else if (StartsWith(line, "close ")) {
        if (const WindowHandle window = FindWindowByCaption(platform, Rest(line, "close ")))
            platform.RequestWindowClose(window);
    } else if (line == "maximize") {
        ChangePlacement(app, previous, ShowCommand::Maximize);
    } else if (line == "minimize") {
        ChangePlacement(app, previous, ShowCommand::Minimize);
    } else if (StartsWith(line, "restore ")) {
        ChangePlacement(app, FindWindowByCaption(platform, Rest(line, "restore ")), ShowCommand::Normal);
    } else if (StartsWith(line, "show ")) {
        if (const WindowHandle window = FindWindowByCaption(platform, Rest(line, "show ")))
            platform.BringToFront(window);
    } else if (line == "preferences") {
        ShowPreferences(app);
    } else if (StartsWith(line, "web ")) {
        OpenWebSite(app, Rest(line, "web "));
    } else if (StartsWith(line, "google ")) {
        OpenWebSearch(app, Rest(line, "google "));
    } else if (line == "screensaver") {
        platform.StartScreenSaver(WindowForSystemCommands(app));
    } else if (line == "help") {
        OpenHelp(app);
    } else if (!RunSessionCommand(app, line)) {
        return kNothingApplied;
    }
    return kCarriedOut;
}

} // namespace tov
