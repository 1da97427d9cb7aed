#include "app/app.h"
#include "app/program.h"
#include "platform/win32/win32_platform.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    tov::Win32Platform platform;
    tov::App app(platform);
    return tov::RunTovlen(app);
}
