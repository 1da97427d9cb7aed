#include "platform/text.h"
#include "platform/win32/win32_platform.h"

#include <windows.h>

#include <shlobj.h>

namespace tov {

namespace {

std::string Narrow(const wchar_t* text, std::size_t length) {
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

// Paths longer than this cannot be named without the \\?\ prefix, which module paths never carry.
constexpr DWORD kLongestModulePath = 32768;

} // namespace

std::string Win32Platform::SpecialFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    // S_FALSE (the folder does not exist) counts as unresolved, as any failure does.
    if (SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK)
        return {};
    return Narrow(path, wcsnlen(path, MAX_PATH));
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
    return Narrow(path.data(), slash);
}

} // namespace tov
