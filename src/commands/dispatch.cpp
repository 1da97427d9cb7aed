#include "commands/dispatch.h"

#include "catalogue/built_in_commands.h"
#include "catalogue/settings_pages.h"
#include "commands/launch.h"
#include "commands/session.h"
#include "commands/window_commands.h"
#include "platform/files.h"
#include "suggest/command_window.h"

namespace tov {

namespace {

// Custom commands may stand for other custom commands; a chain that leads back to itself
// stops at this depth.
constexpr int kMaxCustomCommandDepth = 8;

constexpr DispatchResult kCarriedOut{false, true};
constexpr DispatchResult kNothingApplied{false, false};
constexpr DispatchResult kKeptOpen{true, true};

class DepthGuard {
  public:
    explicit DepthGuard(int& depth) : depth_(depth) { ++depth_; }
    ~DepthGuard() { --depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

  private:
    int& depth_;
};

const CustomCommand* FindCustomCommand(const Catalogue& catalogue, const std::string& line) {
    for (const CustomCommand& command : catalogue.custom)
        if (command.Name == line)
            return &command;
    return nullptr;
}

// The action runs as a line typed on its own: the best suggestion for it runs when the
// action itself carries nothing out.
DispatchResult RunCustomCommand(const CommandContext& c, const std::string& action) {
    State& s = c.state;
    if (s.CustomCommandDepth >= kMaxCustomCommandDepth)
        return kCarriedOut;
    DepthGuard guard(s.CustomCommandDepth);
    DispatchResult answer = RunCommand(c, action);
    if (!answer.keepOpen && !answer.carriedOut) {
        const std::string suggestion = c.bestMatch(action);
        if (!suggestion.empty())
            answer.keepOpen = RunCommand(c, suggestion).keepOpen;
    }
    // A message shown by the action ("Program not found.") keeps the window open out here too.
    return DispatchResult{answer.keepOpen, true};
}

// The message is for the line carried out. A line the user has opened since is theirs, and the
// message would only hide it; the submit decides whether the window stays open for it.
DispatchResult ShowMessage(const CommandContext& c, const std::string& message) {
    State& s = c.state;
    if (!s.WindowOpen && ShowCommandWindowMessage(c.platform, c.forms, s.Transparency, message)) {
        s.ShownGeneration = s.OpenGeneration;
        // A redraw still pending from the Enter key would put the typed line's description back.
        s.DisplayDirty = false;
    }
    return kKeptOpen;
}

// The run prefix and a target: a command-table entry, a file, the best phrase for the typed
// line, a folder.
DispatchResult RunTarget(const CommandContext& c, const std::string& line, const std::string& target) {
    if (RunProgram(c.platform, c.catalogue, target, c.kind))
        return kCarriedOut;
    if (IsPlainFile(target)) {
        OpenPath(c.platform, target, c.kind);
        return kCarriedOut;
    }
    if (!c.bestMatch(line).empty())
        return kNothingApplied; // the caller runs that phrase
    if (IsFolder(target)) {
        OpenPath(c.platform, target, c.kind);
        return kCarriedOut;
    }
    return ShowMessage(c, "Program not found.");
}

void ChangePlacement(Platform& platform, WindowHandle window, ShowCommand command) {
    if (window != 0)
        platform.SetShowCommand(window, command);
}

// The suggestion window takes the system commands; the command window stands in while there is none.
WindowHandle WindowForSystemCommands(const Forms& forms) {
    for (const auto* form : {&forms.frmCommandSuggestion, &forms.frmMain})
        if (*form && (*form)->handle != 0)
            return (*form)->handle;
    return 0;
}

} // namespace

DispatchResult RunCommand(const CommandContext& c, const std::string& line) {
    if (const CustomCommand* custom = FindCustomCommand(c.catalogue, line))
        return RunCustomCommand(c, custom->Action);
    if (c.catalogue.settingsPages) {
        if (const std::string address = SettingsPageAddress(line); !address.empty()) {
            if (c.kind == SubmitKind::Run)
                c.platform.ShellOpen(address, {}, kDefaultWorkingFolder, ShowCommand::Show);
            return kCarriedOut;
        }
    }
    const BuiltInCommand* command = FindBuiltInCommand(line);
    if (!command)
        return kNothingApplied;
    if (c.kind != SubmitKind::Run && command->action != BuiltInAction::Run)
        return kCarriedOut; // asked of a command that runs no file: nothing to do

    Platform& platform = c.platform;
    const WindowHandle previous = c.previousWindow;
    const std::string argument(ArgumentOf(*command, line));
    switch (command->action) {
    case BuiltInAction::Exit:
        c.state.Running = false;
        break;
    case BuiltInAction::Update:
        c.runUpdate();
        break;
    case BuiltInAction::Run:
        return argument.empty() ? kNothingApplied : RunTarget(c, line, argument);
    case BuiltInAction::Close:
        if (previous != 0)
            platform.RequestWindowClose(previous);
        break;
    case BuiltInAction::CloseByCaption:
        if (const WindowHandle window = FindWindowByCaption(platform, argument))
            platform.RequestWindowClose(window);
        break;
    case BuiltInAction::Maximize:
        ChangePlacement(platform, previous, ShowCommand::Maximize);
        break;
    case BuiltInAction::Minimize:
        ChangePlacement(platform, previous, ShowCommand::Minimize);
        break;
    case BuiltInAction::RestoreByCaption:
        ChangePlacement(platform, FindWindowByCaption(platform, argument), ShowCommand::Normal);
        break;
    case BuiltInAction::ShowByCaption:
        if (const WindowHandle window = FindWindowByCaption(platform, argument))
            platform.BringToFront(window);
        break;
    case BuiltInAction::Preferences:
        c.showPreferences();
        break;
    case BuiltInAction::WebSite:
        OpenWebSite(platform, argument);
        break;
    case BuiltInAction::WebSearch:
        OpenWebSearch(platform, argument);
        break;
    case BuiltInAction::ScreenSaver:
        platform.StartScreenSaver(WindowForSystemCommands(c.forms));
        break;
    case BuiltInAction::Help:
        OpenHelp(platform);
        break;
    case BuiltInAction::Reboot:
    case BuiltInAction::Shutdown:
    case BuiltInAction::ShutdownForced:
    case BuiltInAction::LogOff:
    case BuiltInAction::LockComputer:
        RunSessionCommand(platform, c.state.CheckBeforeShutdown != 0, command->action);
        break;
    }
    return kCarriedOut;
}

} // namespace tov
