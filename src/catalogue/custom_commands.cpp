#include "catalogue/custom_commands.h"

#include "catalogue/list_file.h"
#include "platform/files.h"
#include "platform/text.h"

namespace tov {

namespace {

std::vector<std::string> LinesOf(const std::vector<CustomCommand>& commands) {
    std::vector<std::string> lines;
    lines.reserve(commands.size() * 2);
    for (const auto& command : commands) {
        lines.push_back(command.Name);
        lines.push_back(command.Action);
    }
    return lines;
}

bool HoldsLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

} // namespace

std::string CustomCommandsPath(const std::string& programFolder) {
    return programFolder.empty() ? std::string() : JoinPath(programFolder, kCustomCommandsFile);
}

std::vector<CustomCommand> CustomCommandsFromLines(const std::vector<std::string>& lines) {
    std::vector<CustomCommand> commands;
    commands.reserve(lines.size() / 2);
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2)
        commands.push_back({lines[i], lines[i + 1]});
    return commands;
}

std::vector<CustomCommand> ReadCustomCommands(const std::string& path) {
    if (path.empty())
        return {};
    const auto lines = ReadListFile(path);
    return lines ? CustomCommandsFromLines(*lines) : std::vector<CustomCommand>{};
}

void LoadCustomCommands(Catalogue& catalogue, const std::string& programFolder) {
    catalogue.custom = ReadCustomCommands(CustomCommandsPath(programFolder));
    for (const auto& command : catalogue.custom)
        catalogue.phrases.push_back(LowerCase(command.Name));
}

bool AddCustomCommand(const std::string& path, const std::string& name, const std::string& action) {
    if (path.empty() || HoldsLineBreak(name) || HoldsLineBreak(action))
        return false;
    const auto lines = ReadListFile(path);
    if (lines && lines->size() % 2 != 0) {
        // Half a record at the end would pair its line with the new name; it never loaded anyway.
        std::vector<CustomCommand> commands = CustomCommandsFromLines(*lines);
        commands.push_back({name, action});
        return WriteListFile(path, LinesOf(commands));
    }
    return AppendListFile(path, {name, action});
}

bool RemoveCustomCommands(const std::string& path, const std::string& name) {
    if (path.empty())
        return false;
    const auto lines = ReadListFile(path);
    if (!lines)
        return !PathExists(path);
    std::vector<CustomCommand> kept;
    for (auto& command : CustomCommandsFromLines(*lines))
        if (command.Name != name)
            kept.push_back(std::move(command));
    return WriteListFile(path, LinesOf(kept));
}

} // namespace tov
