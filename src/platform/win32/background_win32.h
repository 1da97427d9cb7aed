#pragma once
// Worker threads, folder watches and timers for the Win32 platform. What a worker or a watch
// hands over is posted to a message-only window of the program's thread and run there.
#include "platform/platform.h"
#include "platform/win32/win32_handles.h"

#include <windows.h>

#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>

namespace tov::win32 {

// Shared by the program's thread and the workers; outlives the window when a worker is late.
class HandOverMailbox {
  public:
    explicit HandOverMailbox(HWND window) : window_(window) {}
    // From any thread; dropped once the mailbox is closed, and never before. When the program's
    // queue is full the poster tries again until its message gets through.
    void Post(HandOver handOver);
    std::deque<HandOver> TakeAll();
    void Close();
    void WorkerStarted();
    void WorkerFinished();
    // Waits at most `wait` for the running workers to finish; false when some are still running.
    bool WaitForWorkers(std::chrono::milliseconds wait);

  private:
    std::mutex lock_;
    std::condition_variable idle_;
    std::deque<HandOver> waiting_;
    bool told_ = false; // a message for what waits is in the program's queue
    HWND window_;
    int workers_ = 0;
};

class Background {
  public:
    Background(Platform& platform, HINSTANCE instance);
    ~Background();
    // Hands nothing over any more, stops the timers and waits a short while for the work still
    // running; false when some still runs.
    bool End();
    Background(const Background&) = delete;
    Background& operator=(const Background&) = delete;

    void Run(BackgroundWork work);
    FolderWatchPtr Watch(std::vector<FolderWatchRequest> folders, std::function<void()> onChange);
    TimerPtr StartTimer(std::chrono::milliseconds after, std::function<void()> onTime);
    void StopTimer(UINT_PTR id);

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void RunHandOvers();
    void FireTimer(UINT_PTR id);

    Platform& platform_;
    UniqueWindow window_;
    std::shared_ptr<HandOverMailbox> mailbox_;
    std::map<UINT_PTR, std::shared_ptr<std::function<void()>>> timers_;
    UINT_PTR nextTimer_ = 1;
    bool ended_ = false;
    bool workersEnded_ = true;
};

} // namespace tov::win32
