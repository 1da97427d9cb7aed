#include "platform/win32/win32_com.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_values.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

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

} // namespace tov
