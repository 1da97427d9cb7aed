// One copy per session. The first start holds a mutex in the session's own namespace; a later
// start finds the first copy's service window and hands it its command line, then ends.
#include "platform/win32/win32_platform.h"

namespace tov {

namespace {

constexpr wchar_t kInstanceMutex[] = L"Local\\Tovlen.OneCopy";
constexpr wchar_t kServiceClass[] = L"TovlenService";
constexpr ULONG_PTR kLaterStartTag = 0x546F766C; // marks our own WM_COPYDATA among any other
constexpr DWORD kMaxLaterStartBytes = 4096;      // a command line is far shorter
constexpr UINT kHandOverWaitMs = 5000;           // the running copy answers from its message loop
// A copy that is ending holds the mutex until its process is gone: the installer's update ends
// the old copy and starts the new one at once.
constexpr DWORD kEndingCopyWaitMs = 10000;

// The running copy's service window, not our own.
HWND RunningCopyWindow(HWND own) {
    HWND found = nullptr;
    while ((found = FindWindowExW(HWND_MESSAGE, found, kServiceClass, nullptr)) != nullptr)
        if (found != own)
            return found;
    return nullptr;
}

bool HandToRunningCopy(HWND own, std::string_view commandLine) {
    const HWND running = RunningCopyWindow(own);
    if (!running)
        return false;
    DWORD process = 0;
    if (GetWindowThreadProcessId(running, &process))
        AllowSetForegroundWindow(process); // its command window is to come forward, as for a key
    const std::string text(commandLine.substr(0, kMaxLaterStartBytes));
    COPYDATASTRUCT data{kLaterStartTag, static_cast<DWORD>(text.size()), const_cast<char*>(text.data())};
    DWORD_PTR answer = FALSE;
    const LRESULT sent = SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                             SMTO_ABORTIFHUNG | SMTO_BLOCK, kHandOverWaitMs, &answer);
    return sent != 0 && answer == TRUE;
}

} // namespace

bool Win32Platform::ClaimOnlyInstance() {
    instanceMutex_.Reset(CreateMutexW(nullptr, TRUE, kInstanceMutex));
    if (!instanceMutex_) {
        // Without the mutex there is no telling; running twice is better than not at all.
        Log("No single-copy check (error " + std::to_string(GetLastError()) + ")");
        return true;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
        ownsInstanceMutex_ = true;
        return true;
    }
    const std::string commandLine = win32::Narrow(GetCommandLineW());
    if (HandToRunningCopy(serviceWindow_.Get(), commandLine))
        return false;
    const DWORD waited = WaitForSingleObject(instanceMutex_.Get(), kEndingCopyWaitMs);
    ownsInstanceMutex_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    if (!ownsInstanceMutex_)
        Log("Another copy runs and did not take this start's request");
    return ownsInstanceMutex_;
}

bool Win32Platform::HearLaterStart(const COPYDATASTRUCT& data) {
    if (data.dwData != kLaterStartTag || data.cbData > kMaxLaterStartBytes || (data.cbData && !data.lpData))
        return false;
    std::string commandLine(static_cast<const char*>(data.lpData), data.cbData);
    // The later copy waits for this answer; the request itself runs after it has gone.
    PostToMain([this, commandLine = std::move(commandLine)] {
        if (laterStartHandler_)
            laterStartHandler_(commandLine);
    });
    return true;
}

} // namespace tov
