#pragma once
// The thread that owns the low-level hooks. It does nothing but run its message loop, inside
// which Windows calls the hooks, and the work the main thread posts to it; so a hook answers at
// once however long the main thread is busy.
#include "platform/types.h"
#include "platform/win32/win32_handles.h"

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <string>

namespace tov::win32 {

class InputThread {
  public:
    // A line for the log, handed over on the input thread; the receiver writes it elsewhere.
    using Report = std::function<void(std::string)>;

    // Starts the thread and waits until it has tried to install both hooks.
    InputThread(HINSTANCE instance, InputHandlers handlers, Report report);
    // Removes the hooks and ends the thread; false when it did not end in time (it is stuck in a
    // handler), and then this object must be left alive for it.
    bool End();
    ~InputThread();
    InputThread(const InputThread&) = delete;
    InputThread& operator=(const InputThread&) = delete;

    // The thread exists; it may not have started its loop yet, when starting took too long.
    bool Exists() const { return static_cast<bool>(thread_); }
    // Whether the keyboard hook went in when the thread started, in time.
    bool HooksInstalledAtStart() const { return ready_ && installedAtStart_; }

    // Runs `work` on the input thread between two hook calls. Any thread.
    void Post(std::function<void()> work);
    // Installs the hooks again at the head of the chain, the new ones before the old go, so that
    // no key slips past in between; reports the outcome.
    void ReinstallHooks(std::string why);
    // Removes both hooks as Windows does when it drops them: nothing is told of it.
    void DropHooks();

    // The clock (GetTickCount) at the latest call of each hook.
    InputTick LastKeyboardCall() const { return lastKeyboardCall_.load(std::memory_order_relaxed); }
    InputTick LastMouseCall() const { return lastMouseCall_.load(std::memory_order_relaxed); }

  private:
    static DWORD WINAPI ThreadMain(void* self) noexcept;
    static LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) noexcept;
    static LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam) noexcept;
    void Loop();
    bool MouseWanted() const noexcept;
    bool InstallHooks();
    // The mouse hook follows what the handlers want: the loop installs or removes it after every
    // piece of work, and after a hook procedure has asked for it.
    void UpdateMouseHook() noexcept;
    void AskForMouseHookUpdate() noexcept;
    void RunPostedWork();
    void NoteFailure(const char* what) noexcept;

    HINSTANCE instance_;
    InputHandlers handlers_;
    Report report_;
    UniqueHandle thread_;
    UniqueHandle readyEvent_;
    DWORD threadId_ = 0;
    bool ready_ = false;
    bool installedAtStart_ = false;
    std::atomic<bool> quit_{false};
    // Only the input thread touches the hooks, and the failure count.
    UniqueHook keyboardHook_;
    UniqueHook mouseHook_;
    bool mouseUpdateAsked_ = false;
    unsigned failures_ = 0;
    std::atomic<InputTick> lastKeyboardCall_{0};
    std::atomic<InputTick> lastMouseCall_{0};
    // Held only to add or take work, never while work runs.
    std::mutex workLock_;
    std::deque<std::function<void()>> work_;
    bool workPosted_ = false;
};

} // namespace tov::win32
