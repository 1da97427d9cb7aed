#pragma once
// The few SQLite functions QueryDatabase calls, found where this system keeps them.
struct sqlite3;
struct sqlite3_stmt;

namespace tov {

struct SqliteApi {
    // The file by its path as the program writes it (UTF-8, backslashes).
    int (*open)(const char* filename, sqlite3** db, int flags, const char* vfs);
    int (*close)(sqlite3* db);
    int (*prepare)(sqlite3* db, const char* sql, int bytes, sqlite3_stmt** statement, const char** tail);
    int (*step)(sqlite3_stmt* statement);
    const unsigned char* (*columnText)(sqlite3_stmt* statement, int column);
    int (*columnBytes)(sqlite3_stmt* statement, int column);
    int (*finalize)(sqlite3_stmt* statement);
    void (*progressHandler)(sqlite3* db, int instructions, int (*handler)(void*), void* context);
    int (*limit)(sqlite3* db, int id, int value);
};

// Result codes and open flags, as SQLite numbers them.
inline constexpr int kSqliteOk = 0;
inline constexpr int kSqliteRow = 100;
inline constexpr int kSqliteDone = 101;
inline constexpr int kSqliteOpenReadOnly = 0x00000001;
inline constexpr int kSqliteLimitLength = 0;

// Nothing when this system has no SQLite.
const SqliteApi* LoadSqliteApi();

} // namespace tov
