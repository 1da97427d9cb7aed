#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_values.h"

#include <windows.h>

#include <shlobj.h>

namespace tov {

namespace {

// Module paths never carry the \\?\ prefix, so none is longer than this.
constexpr DWORD kLongestModulePath = 32768;

} // namespace

std::string Win32Platform::SpecialFolder(KnownFolder folder) {
    wchar_t path[MAX_PATH] = {};
    // S_FALSE (the folder does not exist) counts as unresolved, as any failure does.
    if (SHGetFolderPathW(nullptr, win32::ToCsidl(folder), nullptr, SHGFP_TYPE_CURRENT, path) != S_OK)
        return {};
    return win32::Narrow(std::wstring_view(path, wcsnlen(path, MAX_PATH)));
}

std::string Win32Platform::ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        if (path.size() >= kLongestModulePath)
            return {};
        path.resize(path.size() * 2);
    }
    const auto slash = path.rfind(L'\\');
    if (slash == std::wstring::npos)
        return {};
    return win32::Narrow(std::wstring_view(path).substr(0, slash));
}

} // namespace tov
