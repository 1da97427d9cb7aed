#pragma once
// The command catalogue: what the user can reach by typing. Rebuilt whole by BuildCatalogue
// and only read between builds.
#include "catalogue/match_forms.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

struct CustomCommand {
    std::string Name;
    std::string Action;
};

struct CommandEntry {
    std::string Target;
    std::string Name;
    std::string Arguments;
    std::string WorkingFolder;
    std::string IconLocation;
};

struct Catalogue {
    // Index 0 and the one after the built-in words are empty; from 1 the built-in words the
    // catalogue offers; then custom names and run phrases in order of addition. Never sorted.
    std::vector<std::string> phrases;
    std::vector<CustomCommand> custom;
    // Sorted by Name, ordinally and stably, at the end of a build.
    std::vector<CommandEntry> table;
    // Bookmarks and favourites left out because their address opens no web page or message.
    std::size_t skippedLinks = 0;
    // The table's positions in the order of their lower-cased names, equal names in table order:
    // made at the end of a build, so that the entries of the rows shown on every key are found
    // without a pass over the table. Entries added since are looked through one by one.
    std::vector<std::uint32_t> byLowerName;
    // The phrases hold the Settings app's pages, which the dispatcher opens.
    bool settingsPages = false;
    // What near matches need of each phrase, built with the phrases.
    MatchForms forms;
};

// The part of `path` up to and including its last backslash; empty when there is none.
std::string FolderOf(std::string_view path);

// Whether a target names a file or folder on a drive or a network share ("C:\...", "\\server\..."),
// rather than a web address or one of the shell's own names.
bool IsFileSystemPath(std::string_view target);

// The phrase that leads to a command-table entry: the "run" prefix and its lower-cased name.
std::string RunPhrase(std::string_view name);

// Appends the entry to the table and its phrase to the phrase list.
void AddCommandEntry(Catalogue& catalogue, CommandEntry entry);

// Orders the table's positions by lower-cased name into Catalogue::byLowerName.
void IndexCommandTable(Catalogue& catalogue);

// The first entry, in table order, whose name lower-cased is `lowered`; null when there is none.
const CommandEntry* FindCommandEntry(const Catalogue& catalogue, std::string_view lowered);

} // namespace tov
