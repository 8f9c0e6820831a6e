#include "sim/dispatch.h"

#include <exception>

namespace tidra::sim {

SimDispatch::SimDispatch(RunLoop& loop) : loop_(loop), worker_([this] { workerLoop(); }) {}

SimDispatch::~SimDispatch() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

void SimDispatch::workerLoop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
        if (pending_.empty()) return;
        auto work = std::move(pending_.front());
        pending_.pop_front();
        lock.unlock();
        work();
        lock.lock();
    }
}

void SimDispatch::globalQueueSync(const std::function<void()>& work) {
    bool done = false;
    std::exception_ptr failure;
    {
        std::lock_guard lock(mutex_);
        ++runs_;
        pending_.push_back([&] {
            try {
                work();
            } catch (...) {
                failure = std::current_exception();
            }
            std::lock_guard l(doneMutex_);
            done = true;
            doneCv_.notify_all();
        });
    }
    wake_.notify_one();
    const auto asked = [this] { return userAsked_ && userAsked_(); };
    std::unique_lock l(doneMutex_);
    for (;;) {
        doneCv_.wait(l, [&] { return done || asked(); });
        if (done) break;
        // The work waits for the person's answer to the system. The caller's main thread stays
        // blocked (its queued work waits) while the front end reads on and the rest of the Mac
        // runs.
        l.unlock();
        loop_.hold(owner_, true);
        const bool more = loop_.readInput();
        loop_.hold(owner_, false);
        if (!more && noAnswer_) noAnswer_();
        l.lock();
    }
    if (failure) std::rethrow_exception(failure);
}

void SimDispatch::wakeWaiter() {
    std::lock_guard l(doneMutex_);
    doneCv_.notify_all();
}

void SimDispatch::mainQueueAfter(std::int64_t delayNanoseconds, std::function<void()> work) {
    loop_.after(static_cast<double>(delayNanoseconds) / 1e9, std::move(work), owner_);
}

void SimDispatch::mainQueueAsync(std::function<void()> work) {
    loop_.post(std::move(work), owner_);
}

}  // namespace tidra::sim
