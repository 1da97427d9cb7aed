#pragma once
// The seam's own values as the Windows API numbers them.
#include "platform/platform.h"

#include <windows.h>

namespace tov::win32 {

int ToShowWindowCommand(ShowCommand command); // SW_*
int ToCsidl(KnownFolder folder);              // CSIDL_*
UINT ToExitWindowsFlags(SessionEnd end);      // EWX_*

} // namespace tov::win32
