#include "platform/win32/win32_com.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_values.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

namespace tov {

void Win32Platform::ShellOpen(const std::string& file, const std::string& parameters,
                              const std::string& workingFolder, ShowCommand command) {
    const std::wstring wideFile = win32::Wide(file);
    const std::wstring wideParameters = win32::Wide(parameters);
    const std::wstring wideFolder = win32::Wide(workingFolder);
    // Shell extensions that a launch may go through are COM objects; the thread needs COM for them.
    const win32::ComScope com;
    // Whether the shell found something to open is not reported; the user sees it or not.
    ShellExecuteW(GetDesktopWindow(), L"open", wideFile.c_str(),
                  wideParameters.empty() ? nullptr : wideParameters.c_str(),
                  wideFolder.empty() ? nullptr : wideFolder.c_str(), win32::ToShowWindowCommand(command));
}

// The consent prompt holds ShellExecuteEx until the user answers, and Explorer may take seconds
// to come up: both run on a worker, so the program's thread goes on drawing and serving keys.
// Only the error codes of failures are logged, never what was started.
void Win32Platform::ShellOpenElevated(const std::string& file, const std::string& parameters,
                                      const std::string& workingFolder) {
    RunInBackground([this, file = win32::Wide(file), parameters = win32::Wide(parameters),
                     folder = win32::Wide(workingFolder)]() -> HandOver {
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof info;
        // The consent prompt is the system's own; the shell's error boxes are left out, as a
        // launch that fails says nothing.
        info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
        info.hwnd = GetDesktopWindow();
        info.lpVerb = L"runas";
        info.lpFile = file.c_str();
        info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
        info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
        info.nShow = win32::ToShowWindowCommand(ShowCommand::Show);
        if (ShellExecuteExW(&info))
            return {};
        // A refused consent is the user's answer, not a fault.
        const DWORD error = GetLastError();
        if (error == ERROR_CANCELLED)
            return {};
        return
            [this, error] { Log("A start as administrator failed (error " + std::to_string(error) + ")"); };
    });
}

void Win32Platform::ShowInFolder(const std::string& path) {
    RunInBackground([this, path = win32::Wide(path)]() -> HandOver {
        PIDLIST_ABSOLUTE item = nullptr;
        HRESULT shown = SHParseDisplayName(path.c_str(), nullptr, &item, 0, nullptr);
        if (SUCCEEDED(shown) && item) {
            // With no children named, the item itself is selected in the folder that holds it.
            shown = SHOpenFolderAndSelectItems(item, 0, nullptr, 0);
            CoTaskMemFree(item);
        }
        if (SUCCEEDED(shown))
            return {};
        return [this, shown] {
            Log("Explorer could not show a file in its folder (error " +
                std::to_string(static_cast<unsigned long>(shown)) + ")");
        };
    });
}

// The Settings app registers the scheme of its addresses; a Windows without it has no such key.
bool Win32Platform::HasSettingsApp() {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"ms-settings", 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS)
        return false;
    const win32::UniqueKey key(raw);
    return true;
}

} // namespace tov
