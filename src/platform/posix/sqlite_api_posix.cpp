#include "platform/sqlite_api.h"

#include <sqlite3.h>

namespace tov {

static_assert(kSqliteOk == SQLITE_OK && kSqliteRow == SQLITE_ROW && kSqliteDone == SQLITE_DONE);
static_assert(kSqliteOpenReadOnly == SQLITE_OPEN_READONLY && kSqliteOpenUri == SQLITE_OPEN_URI);
static_assert(kSqliteLimitLength == SQLITE_LIMIT_LENGTH);

const SqliteApi* LoadSqliteApi() {
    static const SqliteApi api{
        sqlite3_open_v2,      sqlite3_close,    sqlite3_prepare_v2,       sqlite3_step, sqlite3_column_text,
        sqlite3_column_bytes, sqlite3_finalize, sqlite3_progress_handler, sqlite3_limit};
    return &api;
}

} // namespace tov
