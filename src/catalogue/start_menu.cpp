#include "catalogue/start_menu.h"

#include "base/text.h"
#include "catalogue/walk_folder.h"

#include <unordered_set>
#include <vector>

namespace tov {

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool NamesProgram(std::string_view path) {
    return path.size() >= 4 && LowerCase(path.substr(path.size() - 4)) == ".exe";
}

bool IsAbsolute(std::string_view path) {
    return (path.size() >= 2 && path[1] == ':') || (!path.empty() && IsSeparator(path[0]));
}

// Splits off the part of `path` that ".." cannot climb above: "C:\", "\\server\share\" or "\".
std::string_view RootOf(std::string_view path) {
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        std::size_t i = 2;
        for (int part = 0; part < 2 && i < path.size(); ++part) {
            while (i < path.size() && !IsSeparator(path[i]))
                ++i;
            if (i < path.size())
                ++i;
        }
        return path.substr(0, i);
    }
    if (path.size() >= 2 && path[1] == ':')
        return path.substr(0, path.size() >= 3 && IsSeparator(path[2]) ? 3 : 2);
    if (!path.empty() && IsSeparator(path[0]))
        return path.substr(0, 1);
    return {};
}

std::string Tidy(std::string_view path) {
    const std::string_view root = RootOf(path);
    std::vector<std::string_view> parts;
    std::size_t i = root.size();
    while (i <= path.size()) {
        std::size_t end = i;
        while (end < path.size() && !IsSeparator(path[end]))
            ++end;
        const std::string_view part = path.substr(i, end - i);
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..")
                parts.pop_back();
            else if (root.empty())
                parts.push_back(part);
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = end + 1;
    }
    std::string out;
    for (char c : root)
        out += IsSeparator(c) ? '\\' : c;
    for (const auto part : parts) {
        if (!out.empty() && out.back() != '\\')
            out += '\\';
        out += part;
    }
    return out;
}

} // namespace

std::string ResolveRelativePath(const std::string& folder, const std::string& relative) {
    if (IsAbsolute(relative) || folder.empty())
        return Tidy(relative);
    return Tidy(folder + "\\" + relative);
}

std::string ProgramTarget(const ShortcutInfo& info, const std::string& shortcutFolder) {
    if (!info.Target.empty() && NamesProgram(info.Target))
        return info.Target;
    if (!info.RelativePath.empty() && NamesProgram(info.RelativePath))
        return ResolveRelativePath(shortcutFolder, info.RelativePath);
    return {};
}

void ImportStartMenu(Catalogue& catalogue, const std::string& programsFolder, const ShortcutMemory* known,
                     ShortcutMemory* read) {
    // The table's names, kept beside it so that a large Start menu is not searched once per shortcut.
    std::unordered_set<std::string> names;
    for (const auto& entry : catalogue.table)
        names.insert(entry.Name);
    for (const auto& file : WalkFolder(programsFolder)) {
        const std::string& fileName = file.FindData.name;
        const auto extension = fileName.find(".lnk");
        if (extension == std::string::npos)
            continue;
        const std::string name = fileName.substr(0, extension);
        const std::string path = file.Folder + fileName.substr(0, extension + 4);
        ShortcutInfo info;
        const FoundEntry& found = file.FindData;
        const auto seen = known ? known->find(path) : ShortcutMemory::const_iterator{};
        if (known && seen != known->end() && found.lastWrite != 0 &&
            seen->second.lastWrite == found.lastWrite && seen->second.size == found.size)
            info = seen->second.info;
        else
            ReadShortcut(path, info);
        if (read)
            read->insert_or_assign(path, KnownShortcut{found.lastWrite, found.size, info});
        std::string target = ProgramTarget(info, file.Folder);
        if (target.empty() || !names.insert(name).second)
            continue;
        AddCommandEntry(catalogue, CommandEntry{std::move(target), name, std::move(info.Arguments),
                                                std::move(info.WorkingFolder), std::move(info.IconLocation)});
    }
}

} // namespace tov
