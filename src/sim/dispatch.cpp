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
    std::mutex doneMutex;
    std::condition_variable doneCv;
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
            std::lock_guard l(doneMutex);
            done = true;
            doneCv.notify_one();
        });
    }
    wake_.notify_one();
    std::unique_lock l(doneMutex);
    doneCv.wait(l, [&] { return done; });
    if (failure) std::rethrow_exception(failure);
}

void SimDispatch::mainQueueAfter(std::int64_t delayNanoseconds, std::function<void()> work) {
    loop_.after(static_cast<double>(delayNanoseconds) / 1e9, std::move(work), owner_);
}

void SimDispatch::mainQueueAsync(std::function<void()> work) {
    loop_.post(std::move(work), owner_);
}

}  // namespace tidra::sim
