#pragma once
// The programs of a Start-menu Programs folder: one command-table entry per shortcut to an .exe.
#include "catalogue/catalogue.h"
#include "catalogue/shortcut.h"

#include <cstdint>
#include <string>
#include <unordered_map>

namespace tov {

// What a shortcut found in `shortcutFolder` opens: its target when that is an .exe, else its
// relative path to an .exe taken from the shortcut's own folder; empty when it opens no program.
std::string ProgramTarget(const ShortcutInfo& info, const std::string& shortcutFolder);

// `relative` taken from `folder`, with "." and ".." steps worked out; a path that is already
// absolute is only tidied.
std::string ResolveRelativePath(const std::string& folder, const std::string& relative);

// What a build read from each shortcut, by path, with the file's time and size then.
struct KnownShortcut {
    std::int64_t lastWrite = 0;
    std::uint64_t size = 0;
    ShortcutInfo info;
};
using ShortcutMemory = std::unordered_map<std::string, KnownShortcut>;

// Adds the shortcuts below `programsFolder` whose names are not yet in the table. A shortcut
// that `known` holds with the time and size the folder listing gives now is not read again
// (reading thousands of files is most of a rebuild); every shortcut taken goes into `read`.
void ImportStartMenu(Catalogue& catalogue, const std::string& programsFolder,
                     const ShortcutMemory* known = nullptr, ShortcutMemory* read = nullptr);

} // namespace tov
