#include "platform/sqlite_api.h"

#include <windows.h>

#include <optional>

namespace tov {

namespace {

// winsqlite3 declares its functions __stdcall, which only 64-bit Windows makes the same as
// the plain convention these pointers have.
static_assert(sizeof(void*) == 8, "winsqlite3 needs __stdcall pointers on 32-bit Windows");

// Present since Windows 10 1607; loaded from the system folder only, never from beside the program.
constexpr const wchar_t* kSystemSqlite = L"winsqlite3.dll";

template <typename Function> bool Find(HMODULE module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
}

std::optional<SqliteApi> Load() {
    // Kept loaded for the life of the process: the pointers below point into it.
    const HMODULE module = LoadLibraryExW(kSystemSqlite, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module)
        return std::nullopt;
    SqliteApi api{};
    if (Find(module, "sqlite3_open_v2", api.open) && Find(module, "sqlite3_close", api.close) &&
        Find(module, "sqlite3_prepare_v2", api.prepare) && Find(module, "sqlite3_step", api.step) &&
        Find(module, "sqlite3_column_text", api.columnText) &&
        Find(module, "sqlite3_column_bytes", api.columnBytes) &&
        Find(module, "sqlite3_finalize", api.finalize) &&
        Find(module, "sqlite3_progress_handler", api.progressHandler) &&
        Find(module, "sqlite3_limit", api.limit))
        return api;
    FreeLibrary(module);
    return std::nullopt;
}

} // namespace

const SqliteApi* LoadSqliteApi() {
    static const std::optional<SqliteApi> api = Load();
    return api ? &*api : nullptr;
}

} // namespace tov
