#include "platform/win32/input_thread_win32.h"

#include "platform/win32/win32_platform.h"

#include <exception>

namespace tov::win32 {

namespace {

constexpr UINT WM_APP_INPUT_WORK = WM_APP + 3; // + 1 wakes the main loop, + 2 is the tray icon's
constexpr DWORD kStartWaitMs = 5000;           // the thread only creates a queue and two hooks
constexpr DWORD kEndWaitMs = 5000;             // a handler runs for microseconds; this is a backstop

// Windows calls a hook on the thread that installed it, and gives the procedure nothing of ours.
thread_local InputThread* current = nullptr;

bool IsPowerOfTwo(unsigned n) {
    return n != 0 && (n & (n - 1)) == 0;
}

} // namespace

InputThread::InputThread(HINSTANCE instance, InputHandlers handlers, Report report)
    : instance_(instance), handlers_(std::move(handlers)), report_(std::move(report)) {
    readyEvent_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!readyEvent_) {
        report_("The input thread could not be started: no event (error " + std::to_string(GetLastError()) +
                ")");
        return;
    }
    thread_.Reset(CreateThread(nullptr, 0, ThreadMain, this, 0, &threadId_));
    if (!thread_) {
        report_("The input thread could not be started (error " + std::to_string(GetLastError()) + ")");
        return;
    }
    ready_ = WaitForSingleObject(readyEvent_.Get(), kStartWaitMs) == WAIT_OBJECT_0;
    if (!ready_)
        report_("The input thread did not start in time");
}

bool InputThread::End() {
    if (!thread_)
        return true;
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    if (WaitForSingleObject(thread_.Get(), kEndWaitMs) != WAIT_OBJECT_0)
        return false;
    thread_.Reset();
    return true;
}

InputThread::~InputThread() {
    End();
}

DWORD WINAPI InputThread::ThreadMain(void* self) noexcept {
    auto* input = static_cast<InputThread*>(self);
    try {
        input->Loop();
    } catch (const std::exception& e) {
        input->NoteFailure(e.what());
    } catch (...) {
        input->NoteFailure("an unknown exception");
    }
    current = nullptr;
    return 0;
}

void InputThread::Loop() {
    current = this;
    // The hooks answer every event of the desktop: nothing of ours should come before them.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
    MSG msg{};
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE); // makes the queue PostThreadMessage needs
    installedAtStart_ = InstallHooks();
    SetEvent(readyEvent_.Get());
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == nullptr && msg.message == WM_APP_INPUT_WORK) {
            RunPostedWork();
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    keyboardHook_.Reset();
    mouseHook_.Reset();
}

bool InputThread::InstallHooks() {
    // Out first, so that the new hooks go to the head of the chain.
    keyboardHook_.Reset();
    mouseHook_.Reset();
    keyboardHook_.Reset(SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardProc, instance_, 0));
    const DWORD keyboardError = keyboardHook_ ? ERROR_SUCCESS : GetLastError();
    mouseHook_.Reset(SetWindowsHookExW(WH_MOUSE_LL, MouseProc, instance_, 0));
    const DWORD mouseError = mouseHook_ ? ERROR_SUCCESS : GetLastError();
    if (!keyboardHook_)
        report_("The keyboard hook could not be installed (error " + std::to_string(keyboardError) + ")");
    if (!mouseHook_)
        report_("The mouse hook could not be installed (error " + std::to_string(mouseError) + ")");
    return keyboardHook_ && mouseHook_;
}

void InputThread::Post(std::function<void()> work) {
    bool wake = false;
    {
        std::lock_guard<std::mutex> hold(workLock_);
        work_.push_back(std::move(work));
        wake = !workPosted_;
        workPosted_ = true;
    }
    if (wake && !PostThreadMessageW(threadId_, WM_APP_INPUT_WORK, 0, 0)) {
        // A full queue: the work waits for the next post that gets through.
        std::lock_guard<std::mutex> hold(workLock_);
        workPosted_ = false;
    }
}

void InputThread::RunPostedWork() {
    std::deque<std::function<void()>> batch;
    {
        std::lock_guard<std::mutex> hold(workLock_);
        batch.swap(work_);
        workPosted_ = false;
    }
    for (auto& work : batch) {
        try {
            work();
        } catch (const std::exception& e) {
            NoteFailure(e.what());
        } catch (...) {
            NoteFailure("an unknown exception");
        }
    }
}

void InputThread::ReinstallHooks(std::string why) {
    Post([this, why = std::move(why)] {
        if (InstallHooks())
            report_("Hooks installed again: " + why);
    });
}

void InputThread::DropHooks() {
    Post([this] {
        keyboardHook_.Reset();
        mouseHook_.Reset();
    });
}

void InputThread::NoteFailure(const char* what) {
    // The first failure and then ever more rarely, so that a handler that fails on every key
    // cannot fill the log.
    ++failures_;
    if (IsPowerOfTwo(failures_))
        report_("Input thread: caught " + std::string(what) + " (" + std::to_string(failures_) + " so far)");
}

LRESULT CALLBACK InputThread::KeyboardProc(int code, WPARAM wParam, LPARAM lParam) noexcept {
    const auto entered = std::chrono::steady_clock::now();
    InputThread* self = current;
    if (code == HC_ACTION && self) {
        self->lastKeyboardCall_.store(GetTickCount(), std::memory_order_relaxed);
        try {
            const auto* data = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
            KeyEvent event;
            event.message = ToKeyMessage(wParam);
            event.vkCode = data->vkCode;
            event.scanCode = data->scanCode;
            event.extended = (data->flags & LLKHF_EXTENDED) != 0;
            event.at = entered;
            if (self->handlers_.keys && self->handlers_.keys(event) == HookDecision::Swallow)
                return 1;
        } catch (const std::exception& e) {
            self->NoteFailure(e.what());
        } catch (...) {
            self->NoteFailure("an unknown exception");
        }
    }
    // Passing the event down the chain keeps other programs' hooks working.
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK InputThread::MouseProc(int code, WPARAM wParam, LPARAM lParam) noexcept {
    InputThread* self = current;
    if (code == HC_ACTION && self) {
        self->lastMouseCall_.store(GetTickCount(), std::memory_order_relaxed);
        try {
            const auto* data = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
            const MouseEvent event{ToMouseMessage(static_cast<UINT>(wParam)), Point{data->pt.x, data->pt.y}};
            if (self->handlers_.mouse && self->handlers_.mouse(event) == HookDecision::Swallow)
                return 1;
        } catch (const std::exception& e) {
            self->NoteFailure(e.what());
        } catch (...) {
            self->NoteFailure("an unknown exception");
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace tov::win32
