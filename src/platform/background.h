#pragma once
// Work that runs off the program's thread, folder watches and timers: the parts of the seam
// through which slow or waiting work reaches back to the program's thread.
#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

// What background work gives back: a step that runs on the program's thread, from message
// dispatch (nested loops such as a message box's included), where it may touch the
// program's state. Empty when there is nothing to hand over.
using HandOver = std::function<void()>;
// Runs on a worker thread. It touches nothing of the program's state, only what it holds by
// value and the platform operations said to be safe there, and returns its hand-over.
using BackgroundWork = std::function<HandOver()>;

// Work that a flag of the program's thread waits on (one such piece at a time): when it throws,
// `failed` makes its hand-over, with the reason, so that the hand-over comes however the work
// ends and the flag drops.
inline BackgroundWork HandingOverAlways(BackgroundWork work,
                                        std::function<HandOver(const std::string& reason)> failed) {
    return [work = std::move(work), failed = std::move(failed)]() -> HandOver {
        try {
            return work();
        } catch (const std::exception& fault) {
            return failed(fault.what());
        } catch (...) {
            return failed("an exception of an unknown kind");
        }
    };
}

// A folder to watch. `relevant` is asked on the watching thread, so it must use nothing but
// its argument: the changed entry's path below the folder, or an empty text when the system
// lost count of the changes and anything may have changed.
struct FolderWatchRequest {
    std::string folder;
    bool subtree = false;
    std::function<bool(std::string_view changed)> relevant;
};

// Held for as long as the watch should last; once it is gone, no more changes are reported.
class FolderWatch {
  public:
    virtual ~FolderWatch() = default;
};
using FolderWatchPtr = std::unique_ptr<FolderWatch>;

// A one-shot timer; letting go of it before it fires cancels it.
class Timer {
  public:
    virtual ~Timer() = default;
};
using TimerPtr = std::unique_ptr<Timer>;

} // namespace tov
