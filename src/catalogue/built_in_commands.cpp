#include "catalogue/built_in_commands.h"

namespace tov {

const BuiltInCommand* FindBuiltInCommand(std::string_view line) {
    for (const BuiltInCommand& command : kBuiltInCommands)
        if (IsPrefix(command) ? line.starts_with(command.text) : line == command.text)
            return &command;
    return nullptr;
}

std::string_view ArgumentOf(const BuiltInCommand& command, std::string_view line) {
    return IsPrefix(command) ? line.substr(command.text.size()) : std::string_view();
}

std::string BuiltInCommandLine(BuiltInAction action, std::string_view argument) {
    return std::string(BuiltInCommandOf(action).text) + std::string(argument);
}

} // namespace tov
