#pragma once
// The built-in commands, one row each: the word or prefix the user types, what the command
// window's description line says about it, and the question asked before it runs. The
// catalogue offers the words as phrases, the dispatcher carries out each row's action and
// the command window describes the line by the same rows.
#include <array>
#include <string>
#include <string_view>

namespace tov {

enum class BuiltInAction {
    Exit,
    Close,
    Minimize,
    Maximize,
    Preferences,
    Reboot,
    Shutdown,
    ShutdownForced,
    LogOff,
    LockComputer,
    Help,
    ScreenSaver,
    Update,
    Run,
    CloseByCaption,
    RestoreByCaption,
    ShowByCaption,
    WebSite,
    WebSearch,
};

struct BuiltInCommand {
    // The whole command line, or a prefix (it ends in a blank) that the argument follows.
    std::string_view text;
    BuiltInAction action;
    // The word is a phrase of the catalogue's own, in the order of the rows.
    bool offered = false;
    // The description line's text; kArgumentMark stands for the argument, or for a word
    // the caption of the window that was in front. Empty: the line has no description.
    std::string_view description;
    // Asked, Yes or No, before the command runs when the user wants session commands confirmed.
    std::string_view question;
};

inline constexpr std::string_view kArgumentMark = "{}";

inline constexpr std::array kBuiltInCommands = {
    BuiltInCommand{"exit", BuiltInAction::Exit, true, "Closes Tovlen"},
    BuiltInCommand{"close", BuiltInAction::Close, true, "Close {}"},
    BuiltInCommand{"minimize", BuiltInAction::Minimize, true, "Minimize {}"},
    BuiltInCommand{"maximize", BuiltInAction::Maximize, true, "Maximize {}"},
    BuiltInCommand{"preferences", BuiltInAction::Preferences, true, "Tovlen preferences"},
    BuiltInCommand{"reboot", BuiltInAction::Reboot, true, "", "Are you sure you want to reboot now?"},
    BuiltInCommand{"shutdown", BuiltInAction::Shutdown, true, "", "Are you sure you want to shutdown now?"},
    BuiltInCommand{"shutdown (force)", BuiltInAction::ShutdownForced, true, "",
                   "Are you sure you want to shutdown now?"},
    BuiltInCommand{"logoff", BuiltInAction::LogOff, true, "", "Are you sure you want to logoff now?"},
    BuiltInCommand{"lock computer", BuiltInAction::LockComputer, true, "",
                   "Are you sure you want to lock the computer now?"},
    BuiltInCommand{"help", BuiltInAction::Help, true},
    BuiltInCommand{"screensaver", BuiltInAction::ScreenSaver, true},
    BuiltInCommand{"update", BuiltInAction::Update},
    BuiltInCommand{"run ", BuiltInAction::Run},
    BuiltInCommand{"close ", BuiltInAction::CloseByCaption, false, "Close window with caption: '{}'"},
    BuiltInCommand{"restore ", BuiltInAction::RestoreByCaption, false, "Restore window with caption: '{}'"},
    BuiltInCommand{"show ", BuiltInAction::ShowByCaption, false, "Show window with caption: '{}'"},
    BuiltInCommand{"web ", BuiltInAction::WebSite, false, "Open website: {}"},
    BuiltInCommand{"google ", BuiltInAction::WebSearch, false, "Searches Google for: {}"},
};

constexpr bool IsPrefix(const BuiltInCommand& command) {
    return command.text.ends_with(' ');
}

constexpr bool RowsFollowTheActions() {
    for (std::size_t i = 0; i < kBuiltInCommands.size(); ++i)
        if (static_cast<std::size_t>(kBuiltInCommands[i].action) != i)
            return false;
    return true;
}
static_assert(RowsFollowTheActions(), "the rows stand in the order of BuiltInAction, one for each");

constexpr const BuiltInCommand& BuiltInCommandOf(BuiltInAction action) {
    return kBuiltInCommands[static_cast<std::size_t>(action)];
}

// The row a command line names: the word it equals or the prefix it starts with; nullptr for none.
const BuiltInCommand* FindBuiltInCommand(std::string_view line);

// What follows the prefix in `line`; empty for a word.
std::string_view ArgumentOf(const BuiltInCommand& command, std::string_view line);

// The command line of an action: its word, or its prefix followed by `argument`.
std::string BuiltInCommandLine(BuiltInAction action, std::string_view argument = {});

} // namespace tov
