#pragma once
// The user's own commands, kept in "customprograms.lst" in the program's folder as pairs of
// lines: the command name, then the command line it stands for (a run command line for a path, or a web one
// for an address).
#include "catalogue/catalogue.h"
#include "catalogue/list_file.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

inline constexpr const char* kCustomCommandsFile = "customprograms.lst";

// The file's path in `programFolder`; empty when the folder is unknown.
std::string CustomCommandsPath(const std::string& programFolder);

// The records of the list file's lines, in order; a lone last line (half a record) is left out.
std::vector<CustomCommand> CustomCommandsFromLines(const std::vector<std::string>& lines);

// The records in the file, in file order; none when the file is absent.
std::vector<CustomCommand> ReadCustomCommands(const std::string& path);

// Replaces the catalogue's custom list with the file's records and appends each lower-cased
// name to the phrase list; `log` hears of lines left out of a file too long to be real.
void LoadCustomCommands(Catalogue& catalogue, const std::string& programFolder,
                        const std::function<void(std::string_view)>& log = {});

// Appends one record to the file as it is now, after every line it holds. The name is stored
// as given (callers lower-case what the user typed). Not saved when the file could not be read
// exactly or written, or a field holds a line break, which would split the record.
ListSave AddCustomCommand(const std::string& path, const std::string& name, const std::string& action);

// Rewrites the file as it is now without every record whose name equals `name` exactly; the
// other lines keep their order.
ListSave RemoveCustomCommands(const std::string& path, const std::string& name);

} // namespace tov
