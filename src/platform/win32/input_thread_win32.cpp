#include "platform/win32/input_thread_win32.h"

#include "platform/win32/win32_platform.h"

#include <exception>

namespace tov::win32 {

namespace {

constexpr UINT WM_APP_INPUT_WORK = WM_APP + 3; // + 1 wakes the main loop, + 2 is the tray icon's
constexpr UINT WM_APP_MOUSE_HOOK = WM_APP + 5; // the mouse hook is wanted, or no longer
constexpr DWORD kStartWaitMs = 5000;           // the thread only creates a queue and a hook
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
    // A thread that has no queue yet takes no message; it looks at the flag once it has one.
    quit_ = true;
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
    // The hooks answer every event of the desktop and the thread runs for microseconds at a
    // time: nothing on the machine should keep a hook waiting. The rest of the program runs at
    // normal priority or below (see Win32Platform::RaisePriority).
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    MSG msg{};
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE); // makes the queue PostThreadMessage needs
    installedAtStart_ = InstallHooks();
    SetEvent(readyEvent_.Get());
    // Work posted before the queue was there came with no message.
    RunPostedWork();
    while (!quit_ && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == nullptr && msg.message == WM_APP_INPUT_WORK) {
            RunPostedWork();
            continue;
        }
        if (msg.hwnd == nullptr && msg.message == WM_APP_MOUSE_HOOK) {
            mouseUpdateAsked_ = false;
            UpdateMouseHook();
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    keyboardHook_.Reset();
    mouseHook_.Reset();
}

bool InputThread::MouseWanted() const noexcept {
    try {
        return !handlers_.mouseWanted || handlers_.mouseWanted();
    } catch (...) {
        return true;
    }
}

bool InputThread::InstallHooks() {
    // The new hooks go in before the old ones come out, and at the head of the chain: a key that
    // comes in between meets a hook of ours, never none.
    UniqueHook keyboard(SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardProc, instance_, 0));
    const DWORD keyboardError = keyboard ? ERROR_SUCCESS : GetLastError();
    UniqueHook mouse;
    if (MouseWanted())
        mouse.Reset(SetWindowsHookExW(WH_MOUSE_LL, MouseProc, instance_, 0));
    const DWORD mouseError = mouse ? ERROR_SUCCESS : GetLastError();
    const bool keyboardIn = static_cast<bool>(keyboard);
    if (keyboardIn)
        keyboardHook_ = std::move(keyboard);
    else
        report_("The keyboard hook could not be installed (error " + std::to_string(keyboardError) + ")");
    if (mouse || !MouseWanted())
        mouseHook_ = std::move(mouse);
    else
        report_("The mouse hook could not be installed (error " + std::to_string(mouseError) + ")");
    return keyboardIn;
}

void InputThread::UpdateMouseHook() noexcept {
    const bool wanted = MouseWanted();
    if (wanted == static_cast<bool>(mouseHook_))
        return;
    if (!wanted) {
        mouseHook_.Reset();
        return;
    }
    mouseHook_.Reset(SetWindowsHookExW(WH_MOUSE_LL, MouseProc, instance_, 0));
    if (mouseHook_)
        return;
    const DWORD error = GetLastError();
    try {
        report_("The mouse hook could not be installed (error " + std::to_string(error) + ")");
    } catch (...) {
        // No memory for the line; the next opening of the line tries again.
    }
}

void InputThread::AskForMouseHookUpdate() noexcept {
    if (mouseUpdateAsked_ || MouseWanted() == static_cast<bool>(mouseHook_))
        return;
    // Installing a hook takes a while: the hook procedure answers first, and the loop installs it.
    mouseUpdateAsked_ = PostThreadMessageW(threadId_, WM_APP_MOUSE_HOOK, 0, 0) != FALSE;
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
    UpdateMouseHook();
}

void InputThread::ReinstallHooks(std::string why) {
    Post([this, why = std::move(why)] {
        if (InstallHooks())
            report_("Hooks installed again: " + why);
    });
}

void InputThread::DropHooks() {
    Post([this] {
        // The handles stay as they are: this thread does not know.
        UnhookWindowsHookEx(keyboardHook_.Get());
        if (mouseHook_)
            UnhookWindowsHookEx(mouseHook_.Get());
    });
}

void InputThread::NoteFailure(const char* what) noexcept {
    // The first failure and then ever more rarely, so that a handler that fails on every key
    // cannot fill the log.
    ++failures_;
    if (!IsPowerOfTwo(failures_))
        return;
    try {
        report_("Input thread: caught " + std::string(what) + " (" + std::to_string(failures_) + " so far)");
    } catch (...) {
        // No memory for the line: the fault goes unrecorded rather than ending the program.
    }
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
            event.stamp = data->time;
            const bool swallow = self->handlers_.keys && self->handlers_.keys(event) == HookDecision::Swallow;
            self->AskForMouseHookUpdate();
            if (swallow)
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
            const bool swallow =
                self->handlers_.mouse && self->handlers_.mouse(event) == HookDecision::Swallow;
            self->AskForMouseHookUpdate();
            if (swallow)
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
