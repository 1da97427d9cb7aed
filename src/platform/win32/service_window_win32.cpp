// The input thread as the program sees it, and the main thread's service window through which
// the input thread, the watchdog's news and later starts reach the main thread.
#include "platform/win32/win32_platform.h"

#include "platform/catch_at_edge.h"

namespace tov {

namespace {

constexpr wchar_t kServiceClass[] = L"TovlenService";
constexpr UINT WM_APP_MAIN_WORK = WM_APP + 4; // + 1 wakes the loop, + 2 is the tray's, + 3 the input thread's

} // namespace

void Win32Platform::CreateServiceWindow() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ServiceWindowProc;
    wc.hInstance = instance_;
    wc.lpszClassName = kServiceClass;
    RegisterClassExW(&wc);
    serviceWindow_.Reset(
        CreateWindowExW(0, kServiceClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance_, this));
    if (!serviceWindow_)
        Log("The service window could not be created (error " + std::to_string(GetLastError()) + ")");
}

LRESULT CALLBACK Win32Platform::ServiceWindowProc(HWND window, UINT message, WPARAM wParam,
                                                  LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32Platform*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    return CatchAtEdge(self, "the service window", LRESULT{0},
                       [&] { return self->Serve(window, message, wParam, lParam); });
}

LRESULT Win32Platform::Serve(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_APP_MAIN_WORK:
        RunMainWork();
        return 0;
    case WM_INPUT:
        HearRawInput(reinterpret_cast<HRAWINPUT>(lParam));
        break; // the system frees the input in DefWindowProc
    case WM_WTSSESSION_CHANGE:
        if (wParam == WTS_SESSION_UNLOCK)
            TellWatchdog({WatchdogNews::Kind::SessionUnlocked});
        return 0;
    case WM_POWERBROADCAST:
        if (wParam == PBT_APMRESUMEAUTOMATIC)
            TellWatchdog({WatchdogNews::Kind::MachineResumed});
        return TRUE;
    case WM_COPYDATA:
        return HearLaterStart(*reinterpret_cast<const COPYDATASTRUCT*>(lParam)) ? TRUE : FALSE;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void Win32Platform::PostToMain(std::function<void()> work) {
    bool wake = false;
    {
        std::lock_guard<std::mutex> hold(mainWorkLock_);
        mainWork_.push_back(std::move(work));
        wake = !mainWorkPosted_;
        mainWorkPosted_ = true;
    }
    if (wake && !PostMessageW(serviceWindow_.Get(), WM_APP_MAIN_WORK, 0, 0)) {
        // A full queue: the work waits for the next post that gets through.
        std::lock_guard<std::mutex> hold(mainWorkLock_);
        mainWorkPosted_ = false;
    }
}

void Win32Platform::RunMainWork() {
    std::deque<std::function<void()>> batch;
    {
        std::lock_guard<std::mutex> hold(mainWorkLock_);
        batch.swap(mainWork_);
        mainWorkPosted_ = false;
    }
    // One piece's failure is not the next one's: each is caught on its own.
    for (auto& work : batch)
        CatchAtEdge(this, "work posted to the main thread", work);
}

bool Win32Platform::StartInput(InputHandlers handlers) {
    StopInput();
    input_ = std::make_unique<win32::InputThread>(instance_, std::move(handlers), [this](std::string line) {
        PostToMain([this, line = std::move(line)] { Log(line); });
    });
    const bool installed = input_->HooksInstalledAtStart();
    if (installed)
        Log("Input thread started; hooks installed");
    return installed;
}

bool Win32Platform::StopInput() {
    if (!input_)
        return !inputStuck_;
    if (input_->End()) {
        input_.reset();
        Log("Input thread ended; hooks removed");
        return true;
    }
    // Stuck in a handler: the thread may still read the object, so it stays to the process's end.
    Log("The input thread did not end in time");
    static_cast<void>(input_.release());
    inputStuck_ = true;
    return false;
}

void Win32Platform::PostToInput(std::function<void()> work) {
    // A thread that was late to start still owns the hooks' state: the work waits for it.
    if (input_ && input_->Exists())
        input_->Post(std::move(work));
    else
        work();
}

void Win32Platform::SetLaterStartHandler(std::function<void(const std::string& commandLine)> handler) {
    laterStartHandler_ = std::move(handler);
}

} // namespace tov
