#pragma once
// Read-only queries of SQLite database files that another program owns and may hold open.
// The native build links SQLite; on Windows the system's own winsqlite3.dll is loaded when
// first needed, and where it is missing every query fails quietly.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

using DatabaseRow = std::vector<std::string>;

struct DatabaseRows {
    std::vector<DatabaseRow> rows;
    std::size_t leftOut = 0; // rows with a value longer than kLongestDatabaseValue
};

// A value longer than this leaves its row out: what a person bookmarks is far shorter, and a
// crafted file must not fill the memory with rows of the longest values SQLite allows.
inline constexpr std::size_t kLongestDatabaseValue = 32 * 1024;

// The rows of `sql`, each holding the first `columns` columns as text (NULL as empty), at most
// `rowLimit` of them. The query runs on a copy of the file (and of its write-ahead log, where
// a running program keeps what it wrote last) in a private temporary folder, so the owner's
// locks and files are never touched, and the copy goes afterwards. Nothing when SQLite is
// missing, the file is larger than `fileLimit` or cannot be copied or opened, or the query
// fails at any point, so a damaged file gives no partial answer.
std::optional<DatabaseRows> QueryDatabase(const std::string& path, std::string_view sql, std::size_t columns,
                                          std::size_t rowLimit, std::uint64_t fileLimit);

} // namespace tov
