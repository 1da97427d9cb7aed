#include "catalogue/sqlite_query.h"

#include "platform/sqlite_api.h"

#include <memory>

namespace tov {

namespace {

constexpr std::string_view kUriStart = "file://";
constexpr std::string_view kImmutable = "?immutable=1";
constexpr std::string_view kHexDigits = "0123456789ABCDEF";

// A file is data from outside: its schema could make the query loop or build huge values, so
// the query is stopped after ten million steps of SQLite's machine (fifty thousand bookmarks
// take under half a million) and no value may outgrow the cap.
constexpr int kInstructionsPerCheck = 1000;
constexpr int kChecksAllowed = 10'000;
constexpr int kLongestValue = 1 << 20;

int StopWhenSpent(void* checksLeft) noexcept {
    int& left = *static_cast<int*>(checksLeft);
    return --left < 0 ? 1 : 0;
}

bool StaysInUri(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/' || c == ':';
}

} // namespace

std::string ImmutableDatabaseUri(const std::string& path) {
    std::string uri(kUriStart);
    // A drive path such as C:/x needs the slash that starts every URI path.
    if (!path.starts_with('\\') && !path.starts_with('/'))
        uri += '/';
    for (char c : path) {
        if (c == '\\')
            uri += '/';
        else if (StaysInUri(c))
            uri += c;
        else {
            const auto byte = static_cast<unsigned char>(c);
            uri += '%';
            uri += kHexDigits[byte >> 4];
            uri += kHexDigits[byte & 0xF];
        }
    }
    return uri + std::string(kImmutable);
}

std::optional<std::vector<DatabaseRow>> QueryDatabase(const std::string& path, std::string_view sql,
                                                      std::size_t columns, std::size_t rowLimit) {
    const SqliteApi* api = LoadSqliteApi();
    if (!api)
        return std::nullopt;
    sqlite3* opened = nullptr;
    const int openResult =
        api->open(ImmutableDatabaseUri(path).c_str(), &opened, kSqliteOpenReadOnly | kSqliteOpenUri, nullptr);
    // A failed open may still hand back a handle that must be closed.
    const auto closeDatabase = [api](sqlite3* db) { api->close(db); };
    const std::unique_ptr<sqlite3, decltype(closeDatabase)> db(opened, closeDatabase);
    if (openResult != kSqliteOk || !db)
        return std::nullopt;
    int checksLeft = kChecksAllowed;
    api->progressHandler(db.get(), kInstructionsPerCheck, StopWhenSpent, &checksLeft);
    api->limit(db.get(), kSqliteLimitLength, kLongestValue);

    sqlite3_stmt* prepared = nullptr;
    const int prepareResult = api->prepare(db.get(), std::string(sql).c_str(), -1, &prepared, nullptr);
    const auto finalizeStatement = [api](sqlite3_stmt* s) { api->finalize(s); };
    const std::unique_ptr<sqlite3_stmt, decltype(finalizeStatement)> statement(prepared, finalizeStatement);
    if (prepareResult != kSqliteOk || !statement)
        return std::nullopt;

    std::vector<DatabaseRow> rows;
    while (rows.size() < rowLimit) {
        const int stepResult = api->step(statement.get());
        if (stepResult == kSqliteDone)
            break;
        if (stepResult != kSqliteRow)
            return std::nullopt;
        DatabaseRow& row = rows.emplace_back();
        for (std::size_t i = 0; i < columns; ++i) {
            const int column = static_cast<int>(i);
            const unsigned char* text = api->columnText(statement.get(), column);
            const int bytes = api->columnBytes(statement.get(), column);
            if (text && bytes > 0)
                row.emplace_back(reinterpret_cast<const char*>(text), static_cast<std::size_t>(bytes));
            else
                row.emplace_back();
        }
    }
    return rows;
}

} // namespace tov
