#include "orderedwork.h"

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

unsigned WorkerThreadCount() {
    if (const char* forced = std::getenv("VELMORA_READ_THREADS")) {
        char* end = nullptr;
        const long count = std::strtol(forced, &end, 10);
        if (end != forced && *end == '\0' && count >= 1)
            return static_cast<unsigned>(std::min(count, 256L));
    }
    return std::max(1u, std::thread::hardware_concurrency());
}

namespace {

// What the threads share: the next piece to start, and which are done and how.
class TSharedWork {
public:
    TSharedWork(size_t count, const std::function<void(size_t)>& work)
        : work_(work), done_(count, false), failures_(count) {}

    // A worker's loop: starts the next piece until none is left or all stop.
    void Serve() {
        for (;;) {
            size_t index = 0;
            {
                const std::lock_guard lock(mutex_);
                if (stopped_ || next_ == done_.size())
                    return;
                index = next_++;
            }
            std::exception_ptr failure;
            try {
                work_(index);
            } catch (...) {
                failure = std::current_exception();
            }
            {
                const std::lock_guard lock(mutex_);
                done_[index] = true;
                failures_[index] = failure;
            }
            finished_.notify_all();
        }
    }
    // Waits until piece `index` is done; throws what it threw.
    void WaitFor(size_t index) {
        std::unique_lock lock(mutex_);
        finished_.wait(lock, [&] { return done_[index]; });
        if (failures_[index])
            std::rethrow_exception(failures_[index]);
    }
    // No piece starts any more (those running finish).
    void Stop() {
        const std::lock_guard lock(mutex_);
        stopped_ = true;
    }

private:
    const std::function<void(size_t)>& work_;
    std::mutex mutex_;
    std::condition_variable finished_;
    size_t next_ = 0;
    bool stopped_ = false;
    std::vector<bool> done_;
    std::vector<std::exception_ptr> failures_;
};

// Stops the work when the caller leaves, so that a failure does not wait for
// every piece still to come before the threads are joined.
class TStopOnLeaving {
public:
    explicit TStopOnLeaving(TSharedWork& work) : work_(work) {}
    ~TStopOnLeaving() { work_.Stop(); }
    TStopOnLeaving(const TStopOnLeaving&) = delete;
    TStopOnLeaving& operator=(const TStopOnLeaving&) = delete;

private:
    TSharedWork& work_;
};

} // namespace

void RunInOrder(size_t count, unsigned threads, const std::function<void(size_t)>& work,
                const std::function<void(size_t)>& take) {
    if (threads <= 1 || count <= 1) {
        for (size_t i = 0; i < count; ++i) {
            work(i);
            take(i);
        }
        return;
    }
    TSharedWork shared(count, work);
    // Declared in this order, the threads are told to stop before they are
    // joined, and joined before what they share goes.
    std::vector<std::jthread> workers;
    const TStopOnLeaving stopper(shared);
    const size_t threadCount = std::min<size_t>(threads, count);
    for (size_t i = 0; i < threadCount; ++i)
        workers.emplace_back([&shared] { shared.Serve(); });
    for (size_t i = 0; i < count; ++i) {
        shared.WaitFor(i);
        take(i);
    }
}
