#include "platform/sqlite_api.h"

#include <algorithm>
#include <sqlite3.h>
#include <string>

namespace tov {

static_assert(kSqliteOk == SQLITE_OK && kSqliteRow == SQLITE_ROW && kSqliteDone == SQLITE_DONE);
static_assert(kSqliteOpenReadOnly == SQLITE_OPEN_READONLY);
static_assert(kSqliteLimitLength == SQLITE_LIMIT_LENGTH);

namespace {

// Paths come as the program writes them, with backslashes; here they are the host's separators.
int OpenHostPath(const char* filename, sqlite3** db, int flags, const char* vfs) {
    std::string path(filename);
    std::replace(path.begin(), path.end(), '\\', '/');
    return sqlite3_open_v2(path.c_str(), db, flags, vfs);
}

} // namespace

const SqliteApi* LoadSqliteApi() {
    static const SqliteApi api{
        OpenHostPath,         sqlite3_close,    sqlite3_prepare_v2,       sqlite3_step, sqlite3_column_text,
        sqlite3_column_bytes, sqlite3_finalize, sqlite3_progress_handler, sqlite3_limit};
    return &api;
}

} // namespace tov
