#include "catalogue/sqlite_query.h"

#include "platform/files.h"
#include "platform/sqlite_api.h"

#include <memory>

namespace tov {

namespace {

// Where SQLite keeps what it has not yet moved into the database, beside the database.
constexpr const char* kWriteAheadLog = "-wal";
constexpr const char* kSharedMemory = "-shm";
constexpr const char* kCopyName = "copy.sqlite";
constexpr const char* kCopyFolderStem = "tovlen-query";

// A file is data from outside: its schema could make the query loop or build huge values, so
// the query is stopped after ten million steps of SQLite's machine (fifty thousand bookmarks
// take under half a million), no value may outgrow the cap, and all the rows kept together
// stay within a budget.
constexpr int kInstructionsPerCheck = 1000;
constexpr int kChecksAllowed = 10'000;
constexpr int kLongestValue = 1 << 20;
constexpr std::size_t kMostBytesKept = 64u << 20;

int StopWhenSpent(void* checksLeft) noexcept {
    int& left = *static_cast<int*>(checksLeft);
    return --left < 0 ? 1 : 0;
}

// A folder of its own below the user's temporary folder, and the copies in it; all gone when
// this goes.
class PrivateCopy {
  public:
    PrivateCopy(const std::string& database, std::uint64_t fileLimit) {
        const std::string temporary = TemporaryFolder();
        if (temporary.empty())
            return;
        const std::string folder = JoinPath(temporary, UniqueFileName(kCopyFolderStem, ""));
        if (!MakeFolder(folder))
            return;
        folder_ = folder;
        const std::string copy = JoinPath(folder_, kCopyName);
        if (!CopyToNewFile(database, copy, fileLimit))
            return;
        const std::string log = database + kWriteAheadLog;
        if (PathExists(log) && !CopyToNewFile(log, copy + kWriteAheadLog, fileLimit))
            return;
        path_ = copy;
    }
    ~PrivateCopy() {
        if (folder_.empty())
            return;
        const std::string copy = JoinPath(folder_, kCopyName);
        for (const std::string& file : {copy, copy + kWriteAheadLog, copy + kSharedMemory})
            RemoveFile(file);
        RemoveFolder(folder_);
    }
    PrivateCopy(const PrivateCopy&) = delete;
    PrivateCopy& operator=(const PrivateCopy&) = delete;

    // Empty when no whole copy could be made.
    const std::string& Path() const { return path_; }

  private:
    std::string folder_;
    std::string path_;
};

} // namespace

std::optional<DatabaseRows> QueryDatabase(const std::string& path, std::string_view sql, std::size_t columns,
                                          std::size_t rowLimit, std::uint64_t fileLimit) {
    const SqliteApi* api = LoadSqliteApi();
    if (!api)
        return std::nullopt;
    const PrivateCopy copy(path, fileLimit);
    if (copy.Path().empty())
        return std::nullopt;
    sqlite3* opened = nullptr;
    const int openResult = api->open(copy.Path().c_str(), &opened, kSqliteOpenReadOnly, nullptr);
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

    DatabaseRows result;
    std::size_t bytesKept = 0;
    while (result.rows.size() < rowLimit) {
        const int stepResult = api->step(statement.get());
        if (stepResult == kSqliteDone)
            break;
        if (stepResult != kSqliteRow)
            return std::nullopt;
        DatabaseRow row;
        std::size_t rowBytes = 0;
        for (std::size_t i = 0; i < columns && row.size() == i; ++i) {
            const int column = static_cast<int>(i);
            const unsigned char* text = api->columnText(statement.get(), column);
            const int bytes = api->columnBytes(statement.get(), column);
            if (bytes > static_cast<int>(kLongestDatabaseValue))
                break;
            row.emplace_back(text && bytes > 0 ? std::string(reinterpret_cast<const char*>(text),
                                                             static_cast<std::size_t>(bytes))
                                               : std::string());
            rowBytes += row.back().size();
        }
        if (row.size() < columns) {
            ++result.leftOut;
            continue;
        }
        bytesKept += rowBytes;
        if (bytesKept > kMostBytesKept)
            return std::nullopt;
        result.rows.push_back(std::move(row));
    }
    return result;
}

} // namespace tov
