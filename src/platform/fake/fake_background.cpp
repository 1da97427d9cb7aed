#include "platform/fake/fake_platform.h"

#include <algorithm>

namespace tov {

namespace {

class FakeWatchHold : public FolderWatch {
  public:
    explicit FakeWatchHold(std::shared_ptr<FakeFolderWatch> watch) : watch_(std::move(watch)) {}
    ~FakeWatchHold() override { watch_->live = false; }

  private:
    std::shared_ptr<FakeFolderWatch> watch_;
};

class FakeTimerHold : public Timer {
  public:
    explicit FakeTimerHold(std::shared_ptr<FakeTimer> timer) : timer_(std::move(timer)) {}
    ~FakeTimerHold() override { timer_->live = false; }

  private:
    std::shared_ptr<FakeTimer> timer_;
};

// The part of `path` below `folder`, when it lies below it.
std::optional<std::string> Below(const std::string& folder, const std::string& path) {
    std::string prefix = folder;
    if (!prefix.empty() && prefix.back() != '\\')
        prefix += '\\';
    if (prefix.size() >= path.size() || path.compare(0, prefix.size(), prefix) != 0)
        return std::nullopt;
    return path.substr(prefix.size());
}

} // namespace

namespace {

// What a worker does with its work: a fault is caught and written to the log, as the real
// platform catches it, and hands nothing over.
HandOver RunWork(Platform& platform, BackgroundWork& work) {
    HandOver handOver;
    try {
        handOver = work();
    } catch (const std::exception& fault) {
        platform.Log(std::string("background work failed: ") + fault.what());
    } catch (...) {
        platform.Log("background work failed: an exception of an unknown kind");
    }
    work = nullptr; // what the work held goes here, on the worker
    return handOver;
}

} // namespace

void FakePlatform::RunInBackground(BackgroundWork work) {
    const std::lock_guard hold(lock_);
    if (!Threaded()) {
        backgroundWork.push_back(std::move(work));
        return;
    }
    ++workersRunning_;
    workers_.emplace_back([this, work = std::move(work)]() mutable {
        HandOver handOver = RunWork(*this, work);
        const std::lock_guard finished(lock_);
        if (handOver)
            handOvers.push_back(std::move(handOver));
        --workersRunning_;
        mainWake_.notify_all();
    });
}

bool FakePlatform::RunBackgroundWork() {
    BackgroundWork work;
    {
        const std::lock_guard hold(lock_);
        if (backgroundWork.empty())
            return false;
        work = std::move(backgroundWork.front());
        backgroundWork.pop_front();
    }
    if (HandOver handOver = RunWork(*this, work)) {
        const std::lock_guard hold(lock_);
        handOvers.push_back(std::move(handOver));
    }
    return true;
}

void FakePlatform::DeliverHandOvers() {
    for (;;) {
        HandOver handOver;
        {
            const std::lock_guard hold(lock_);
            if (handOvers.empty())
                return;
            handOver = std::move(handOvers.front());
            handOvers.pop_front();
        }
        handOver();
    }
}

void FakePlatform::FinishBackground() {
    for (;;) {
        while (RunBackgroundWork()) {
        }
        {
            std::unique_lock hold(lock_);
            mainWake_.wait(hold, [this] { return workersRunning_ == 0; });
            if (handOvers.empty() && backgroundWork.empty())
                return;
        }
        DeliverHandOvers();
    }
}

FolderWatchPtr FakePlatform::WatchFolders(std::vector<FolderWatchRequest> folders,
                                          std::function<void()> onChange) {
    std::erase_if(folders, [&](const FolderWatchRequest& f) {
        return f.folder.empty() || unwatchableFolders.contains(f.folder);
    });
    if (folders.empty())
        return nullptr;
    auto watch = std::make_shared<FakeFolderWatch>(FakeFolderWatch{std::move(folders), std::move(onChange)});
    folderWatches.push_back(watch);
    return std::make_unique<FakeWatchHold>(std::move(watch));
}

void FakePlatform::ChangeEntry(const std::string& path) {
    for (const auto& watch : folderWatches) {
        if (!watch->live)
            continue;
        const bool reported = std::any_of(watch->folders.begin(), watch->folders.end(), [&](const auto& f) {
            const auto below = Below(f.folder, path);
            const bool inReach = below && (f.subtree || below->find('\\') == std::string::npos);
            return inReach && (!f.relevant || f.relevant(*below));
        });
        const std::lock_guard hold(lock_);
        if (reported)
            handOvers.push_back([watch] {
                if (watch->live)
                    watch->onChange();
            });
    }
}

TimerPtr FakePlatform::StartTimer(std::chrono::milliseconds after, std::function<void()> onTime) {
    auto timer = std::make_shared<FakeTimer>(FakeTimer{now + after, std::move(onTime)});
    timers.push_back(timer);
    return std::make_unique<FakeTimerHold>(std::move(timer));
}

void FakePlatform::AdvanceTime(std::chrono::milliseconds by) {
    AdvanceTimeTo(now + by);
}

void FakePlatform::AdvanceTimeTo(MonotonicTime when) {
    for (;;) {
        std::erase_if(timers, [](const auto& t) { return !t->live; });
        const auto next = std::min_element(timers.begin(), timers.end(),
                                           [](const auto& a, const auto& b) { return a->due < b->due; });
        if (next == timers.end() || (*next)->due > when)
            break;
        const std::shared_ptr<FakeTimer> timer = *next;
        timers.erase(next);
        now = std::max(now, timer->due);
        timer->live = false;
        timer->onTime();
    }
    now = std::max(now, when);
}

} // namespace tov
