#include "platform/win32/win32_platform.h"

#include <windows.h>

#include <shlobj.h>

#include <cstdio>

namespace tov {

namespace {

constexpr wchar_t kLogFolder[] = L"\\Tovlen";
constexpr wchar_t kLogName[] = L"\\tovlen.log";

std::string LogFilePath() {
    PWSTR localAppData = nullptr;
    const HRESULT found = SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &localAppData);
    std::wstring folder;
    if (SUCCEEDED(found) && localAppData)
        folder = std::wstring(localAppData) + kLogFolder;
    CoTaskMemFree(localAppData);
    if (folder.empty())
        return {};
    // An existing folder is what we want; any other failure shows at the first write.
    CreateDirectoryW(folder.c_str(), nullptr);
    return win32::Narrow(folder + kLogName);
}

std::string LocalTimeStamp() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    char stamp[32] = {};
    std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u.%03u", t.wYear, t.wMonth, t.wDay,
                  t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
    return stamp;
}

} // namespace

void Win32Platform::Log(std::string_view line) {
    std::lock_guard<std::mutex> hold(logLock_);
    if (!log_)
        log_ = EventLog{LogFilePath()};
    // A log that cannot be written must not take the program with it.
    AppendLogLine(*log_, LocalTimeStamp(), line);
}

} // namespace tov
