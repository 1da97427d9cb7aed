#pragma once
// Runs one blocking call (a host-name lookup) on a thread of its own, so that the program's
// thread can wait for it in short slices and let its events run in between. The thread
// touches nothing but its own result. The caller may give up and go: the call then ends on
// its own and its result is dropped. A call that throws gives T's empty value, as a call that
// found nothing does.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace tov {

template <class T> class BackgroundCall {
  public:
    explicit BackgroundCall(std::function<T()> call) : shared_(std::make_shared<Shared>()) {
        try {
            std::thread([shared = shared_, call] { shared->Finish(Guarded(call)); }).detach();
        } catch (const std::system_error&) {
            shared_->Finish(call());
        }
    }

    // The result, once the call has returned; waits at most `wait` for it.
    std::optional<T> Wait(std::chrono::milliseconds wait) {
        std::unique_lock lock(shared_->mutex);
        shared_->done.wait_for(lock, wait, [this] { return shared_->result.has_value(); });
        return shared_->result;
    }

  private:
    // Nothing may leave a thread of its own: the process would end.
    static T Guarded(const std::function<T()>& call) {
        try {
            return call();
        } catch (...) {
            return T{};
        }
    }

    struct Shared {
        std::mutex mutex;
        std::condition_variable done;
        std::optional<T> result;

        void Finish(T value) {
            std::lock_guard lock(mutex);
            result = std::move(value);
            done.notify_all();
        }
    };
    std::shared_ptr<Shared> shared_;
};

} // namespace tov
