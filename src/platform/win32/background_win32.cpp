#include "platform/win32/win32_platform.h"

#include "platform/catch_at_edge.h"
#include "platform/win32/background_win32.h"
#include "platform/win32/win32_com.h"

#include <algorithm>
#include <system_error>
#include <thread>

namespace tov {

namespace win32 {

namespace {

constexpr wchar_t kBackgroundClass[] = L"TovlenBackground";
constexpr UINT WM_APP_HAND_OVER = WM_APP + 3; // WM_APP + 1 wakes the loop, + 2 is the tray's
// Work still running at exit is waited for this long; it holds nothing that needs saving.
constexpr std::chrono::milliseconds kWorkerGrace{1000};
// A full queue of the program's thread empties within moments: the poster tries again then,
// for a while. The program's thread may be waiting for the poster to end, so not for ever.
constexpr DWORD kFullQueueRetryMs = 10;
constexpr int kFullQueueRetries = 200;

class Win32Timer : public Timer {
  public:
    Win32Timer(Background& owner, UINT_PTR id) : owner_(owner), id_(id) {}
    ~Win32Timer() override { owner_.StopTimer(id_); }

  private:
    Background& owner_;
    UINT_PTR id_;
};

} // namespace

void HandOverMailbox::Post(HandOver handOver) {
    if (!handOver)
        return;
    std::unique_lock hold(lock_);
    if (!window_)
        return;
    waiting_.push_back(std::move(handOver));
    // A flag of the program's thread may wait for this hand-over: it is never dropped. Should
    // the queue stay full, it waits for the next post that gets through.
    for (int retry = 0; window_ && !told_; ++retry) {
        told_ = PostMessageW(window_, WM_APP_HAND_OVER, 0, 0) != FALSE;
        if (told_ || retry == kFullQueueRetries)
            break;
        hold.unlock();
        Sleep(kFullQueueRetryMs);
        hold.lock();
    }
}

std::deque<HandOver> HandOverMailbox::TakeAll() {
    std::lock_guard hold(lock_);
    told_ = false;
    return std::exchange(waiting_, {});
}

void HandOverMailbox::Close() {
    std::deque<HandOver> dropped;
    std::lock_guard hold(lock_);
    window_ = nullptr;
    dropped.swap(waiting_); // freed once the lock is let go
}

void HandOverMailbox::WorkerStarted() {
    std::lock_guard hold(lock_);
    ++workers_;
}

void HandOverMailbox::WorkerFinished() {
    std::lock_guard hold(lock_);
    --workers_;
    idle_.notify_all();
}

bool HandOverMailbox::WaitForWorkers(std::chrono::milliseconds wait) {
    std::unique_lock hold(lock_);
    return idle_.wait_for(hold, wait, [this] { return workers_ == 0; });
}

Background::Background(Platform& platform, HINSTANCE instance) : platform_(platform) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kBackgroundClass;
    RegisterClassExW(&wc);
    window_.Reset(
        CreateWindowExW(0, kBackgroundClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this));
    mailbox_ = std::make_shared<HandOverMailbox>(window_.Get());
}

Background::~Background() {
    End();
}

bool Background::End() {
    if (ended_)
        return workersEnded_;
    ended_ = true;
    mailbox_->Close();
    for (const auto& [id, handler] : timers_)
        KillTimer(window_.Get(), id);
    timers_.clear();
    workersEnded_ = mailbox_->WaitForWorkers(kWorkerGrace);
    if (!workersEnded_)
        platform_.Log("Background work was still running at exit");
    return workersEnded_;
}

LRESULT CALLBACK Background::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* self = reinterpret_cast<Background*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_APP_HAND_OVER) {
        self->RunHandOvers();
        return 0;
    }
    if (self && message == WM_TIMER) {
        self->FireTimer(static_cast<UINT_PTR>(wParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void Background::RunHandOvers() {
    for (HandOver& handOver : mailbox_->TakeAll())
        CatchAtEdge(&platform_, "a hand-over from background work", [&handOver] { handOver(); });
}

void Background::Run(BackgroundWork work) {
    const std::shared_ptr<HandOverMailbox> mailbox = mailbox_;
    Platform* platform = &platform_;
    auto body = [mailbox, platform](BackgroundWork owned) {
        HandOver handOver;
        {
            const ComScope com; // the shell's apps and icons come through COM
            handOver = CatchAtEdge(platform, "background work", HandOver{}, [&owned] { return owned(); });
            owned = nullptr; // what the work held goes here, off the program's thread
        }
        mailbox->Post(std::move(handOver));
    };
    mailbox->WorkerStarted();
    try {
        std::thread([body, mailbox, work = std::move(work)]() mutable noexcept {
            // Below every normal program, processor and disk alike: a rebuild of a large Start
            // menu must not take time from what the user is doing.
            if (!SetThreadPriority(GetCurrentThread(), THREAD_MODE_BACKGROUND_BEGIN))
                SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_LOWEST);
            body(std::move(work));
            mailbox->WorkerFinished();
        }).detach();
    } catch (const std::system_error&) {
        // No thread to be had: the work runs here, late but whole.
        body(std::move(work));
        mailbox->WorkerFinished();
    }
}

TimerPtr Background::StartTimer(std::chrono::milliseconds after, std::function<void()> onTime) {
    const UINT_PTR id = nextTimer_++;
    const auto due = static_cast<UINT>(
        std::clamp<std::chrono::milliseconds::rep>(after.count(), USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM));
    if (!SetTimer(window_.Get(), id, due, nullptr))
        return nullptr;
    timers_[id] = std::make_shared<std::function<void()>>(std::move(onTime));
    return std::make_unique<Win32Timer>(*this, id);
}

void Background::StopTimer(UINT_PTR id) {
    if (timers_.erase(id) != 0)
        KillTimer(window_.Get(), id);
}

void Background::FireTimer(UINT_PTR id) {
    const auto it = timers_.find(id);
    if (it == timers_.end())
        return;
    KillTimer(window_.Get(), id);
    const std::shared_ptr<std::function<void()>> handler = it->second; // it may stop itself
    timers_.erase(it);
    CatchAtEdge(&platform_, "a timer", [&handler] { (*handler)(); });
}

} // namespace win32

win32::Background& Win32Platform::BackgroundSupport() {
    if (!background_)
        background_ = std::make_unique<win32::Background>(*this, instance_);
    return *background_;
}

void Win32Platform::RunInBackground(BackgroundWork work) {
    BackgroundSupport().Run(std::move(work));
}

FolderWatchPtr Win32Platform::WatchFolders(std::vector<FolderWatchRequest> folders,
                                           std::function<void()> onChange) {
    return BackgroundSupport().Watch(std::move(folders), std::move(onChange));
}

TimerPtr Win32Platform::StartTimer(std::chrono::milliseconds after, std::function<void()> onTime) {
    return BackgroundSupport().StartTimer(after, std::move(onTime));
}

bool Win32Platform::EndThreads() {
    const bool inputEnded = StopInput();
    const bool workersEnded = !background_ || background_->End();
    return inputEnded && workersEnded;
}

} // namespace tov
