#include "app/app.h"
#include "app/program.h"
#include "platform/text.h"
#include "platform/win32/win32_platform.h"

#include <windows.h>

#include <cwchar>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
    tov::Win32Platform platform;
    const std::wstring_view wide = arguments ? std::wstring_view(arguments) : std::wstring_view();
    // A later start hands its command line to the copy that runs and ends quietly.
    if (!platform.ClaimOnlyInstance(tov::win32::Narrow(wide)))
        return 0;
    tov::App app(platform);
    return tov::RunTovlen(app);
}
