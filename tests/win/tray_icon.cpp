// Tells whether a running Tovlen.exe has its icon in the notification area: exits with 0 when
// a hidden top-level window of a Tovlen.exe process, titled as Tovlen titles the icon's owner,
// holds an icon the shell knows (modifying an icon succeeds only for one that is there), with 1
// otherwise. Another program's icon, or a window left by an earlier Tovlen, does not count.
#include <windows.h>

#include <shellapi.h>

#include <cwchar>
#include <string>

namespace {

// What Tovlen gives its icon: the owner window's title, its tip, and the icon's number.
constexpr wchar_t kTitle[] = L"Tovlen";
constexpr UINT kIconId = 1;
constexpr wchar_t kImageName[] = L"\\tovlen.exe";

bool IsTovlenProcess(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process)
        return false;
    wchar_t image[MAX_PATH];
    DWORD size = MAX_PATH;
    const bool named = QueryFullProcessImageNameW(process, 0, image, &size) != FALSE;
    CloseHandle(process);
    const std::size_t suffix = std::wcslen(kImageName);
    return named && size >= suffix && _wcsicmp(image + size - suffix, kImageName) == 0;
}

bool HoldsTovlensIcon(HWND window) {
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = window;
    icon.uID = kIconId;
    icon.uFlags = NIF_TIP;
    std::wcscpy(icon.szTip, kTitle);
    return Shell_NotifyIconW(NIM_MODIFY, &icon) != FALSE;
}

BOOL CALLBACK Check(HWND window, LPARAM found) {
    wchar_t title[64] = {};
    GetWindowTextW(window, title, static_cast<int>(std::size(title)));
    if (!IsWindowVisible(window) && std::wcscmp(title, kTitle) == 0 && IsTovlenProcess(window) &&
        HoldsTovlensIcon(window)) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

} // namespace

int main() {
    bool found = false;
    EnumWindows(Check, reinterpret_cast<LPARAM>(&found));
    return found ? 0 : 1;
}
