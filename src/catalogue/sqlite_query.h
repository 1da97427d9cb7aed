#pragma once
// Read-only queries of SQLite database files that another program owns and may hold open.
// The native build links SQLite; on Windows the system's own winsqlite3.dll is loaded when
// first needed, and where it is missing every query fails quietly.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

using DatabaseRow = std::vector<std::string>;

// The rows of `sql`, each holding the first `columns` columns as text (NULL as empty), at
// most `rowLimit` of them. The file is opened immutable: SQLite neither locks nor writes it,
// so a database in use by its program is read as it stands on disk. Nothing when SQLite is
// missing, the file cannot be opened, or the query fails at any point, so a damaged file
// gives no partial answer.
std::optional<std::vector<DatabaseRow>> QueryDatabase(const std::string& path, std::string_view sql,
                                                      std::size_t columns, std::size_t rowLimit);

// The address SQLite opens `path` by: a file: URI with the immutable flag, every byte outside
// the unreserved characters and the separators percent-encoded.
std::string ImmutableDatabaseUri(const std::string& path);

} // namespace tov
