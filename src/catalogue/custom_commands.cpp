#include "catalogue/custom_commands.h"

#include "base/text.h"
#include "catalogue/list_file.h"
#include "platform/files.h"

namespace tov {

namespace {

constexpr const char* kLineBreakFailure = "a command cannot hold a line break";
constexpr const char* kNoFolderFailure = "the program's folder is not known";

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
    const auto text = ReadListFile(path);
    return text ? CustomCommandsFromLines(text->lines) : std::vector<CustomCommand>{};
}

void LoadCustomCommands(Catalogue& catalogue, const std::string& programFolder,
                        const std::function<void(std::string_view)>& log) {
    const std::string path = CustomCommandsPath(programFolder);
    const auto lines = path.empty() ? std::nullopt : LoadListLines(path, log);
    catalogue.custom = lines ? CustomCommandsFromLines(*lines) : std::vector<CustomCommand>{};
    for (const auto& command : catalogue.custom)
        catalogue.phrases.push_back(LowerCase(command.Name));
}

ListSave AddCustomCommand(const std::string& path, const std::string& name, const std::string& action) {
    if (path.empty())
        return {false, kNoFolderFailure};
    if (HoldsLineBreak(name) || HoldsLineBreak(action))
        return {false, kLineBreakFailure};
    return ChangeListFile(path, [&](std::vector<std::string>& lines) { AppendRecord(lines, name, action); });
}

ListSave RemoveCustomCommands(const std::string& path, const std::string& name) {
    if (path.empty())
        return {false, kNoFolderFailure};
    if (!PathExists(path))
        return {true, {}}; // nothing to remove, and no file to create for it
    return ChangeListFile(path, [&](std::vector<std::string>& lines) {
        RemoveRecords(lines, [&](const std::string& first, const std::string&) { return first == name; });
    });
}

} // namespace tov
