#pragma once
// The programs of a Start-menu Programs folder: one command-table entry per shortcut to an .exe.
#include "catalogue/catalogue.h"
#include "catalogue/shortcut.h"

#include <string>

namespace tov {

// What a shortcut found in `shortcutFolder` opens: its target when that is an .exe, else its
// relative path to an .exe taken from the shortcut's own folder; empty when it opens no program.
std::string ProgramTarget(const ShortcutInfo& info, const std::string& shortcutFolder);

// `relative` taken from `folder`, with "." and ".." steps worked out; a path that is already
// absolute is only tidied.
std::string ResolveRelativePath(const std::string& folder, const std::string& relative);

// Adds the shortcuts below `programsFolder` whose names are not yet in the table.
void ImportStartMenu(Catalogue& catalogue, const std::string& programsFolder);

} // namespace tov
