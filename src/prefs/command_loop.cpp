#include "prefs/command_loop.h"

#include "base/text.h"
#include "catalogue/built_in_commands.h"

#include <set>

namespace tov {

namespace {

const std::string* ActionOf(const std::vector<CustomCommand>& commands, const std::string& line) {
    for (const auto& command : commands)
        if (command.Name == line)
            return &command.Action;
    return nullptr;
}

} // namespace

bool WouldRunItself(const std::vector<CustomCommand>& existing, const std::string& name,
                    const std::string& action) {
    // An earlier record of the same name is the one that runs; the new one is never reached.
    if (ActionOf(existing, name))
        return false;
    std::vector<CustomCommand> commands = existing;
    commands.push_back({name, action});

    std::set<std::string> names{name};
    std::string line = action;
    while (const std::string* next = ActionOf(commands, line)) {
        if (!names.insert(line).second)
            return true;
        line = *next;
    }
    const BuiltInCommand* command = FindBuiltInCommand(line);
    if (!command || command->action != BuiltInAction::Run)
        return false;
    // Phrases are the lower-cased names, and matching is case-sensitive.
    for (const auto& onTheWay : names)
        if (Find(LowerCase(onTheWay), line) != std::string::npos)
            return true;
    return false;
}

} // namespace tov
