#include "sim/run_loop.h"

#include <chrono>
#include <thread>

namespace tidra::sim {

namespace {
double monotonicSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}
}  // namespace

RunLoop::RunLoop(bool realTime) : realTime_(realTime), realStart_(monotonicSeconds()) {}

double RunLoop::now() const {
    if (realTime_) return monotonicSeconds() - realStart_;
    std::lock_guard lock(mutex_);
    return virtualNow_;
}

void RunLoop::after(double delay, std::function<void()> work, int owner) {
    double at = now() + (delay > 0 ? delay : 0);
    std::lock_guard lock(mutex_);
    items_.emplace(std::make_pair(at, seq_++), Item{owner, std::move(work)});
}

void RunLoop::cancelOwner(int owner) {
    std::lock_guard lock(mutex_);
    for (auto it = items_.begin(); it != items_.end();)
        it = it->second.owner == owner ? items_.erase(it) : std::next(it);
}

bool RunLoop::popDue(Item& out) {
    double t = now();
    std::lock_guard lock(mutex_);
    if (items_.empty() || items_.begin()->first.first > t) return false;
    out = std::move(items_.begin()->second);
    items_.erase(items_.begin());
    return true;
}

void RunLoop::runDue() {
    Item item;
    while (popDue(item)) {
        try {
            item.work();
        } catch (const ProcessExit& e) {
            if (!exitHandler_ || depth_ > 0) throw;  // a nested loop unwinds to its process
            exitHandler_(item.owner, e.status);
        }
    }
}

void RunLoop::advance(double seconds) {
    if (realTime_) {
        double end = now() + seconds;
        for (;;) {
            runDue();
            double left = end - now();
            if (left <= 0) break;
            double next = nextDueIn();
            double nap = next >= 0 && next < left ? next : left;
            std::this_thread::sleep_for(std::chrono::duration<double>(nap));
        }
        runDue();
        return;
    }
    double end;
    {
        std::lock_guard lock(mutex_);
        end = virtualNow_ + seconds;
    }
    for (;;) {
        runDue();
        std::unique_lock lock(mutex_);
        if (items_.empty() || items_.begin()->first.first > end) {
            virtualNow_ = end;
            break;
        }
        virtualNow_ = std::max(virtualNow_, items_.begin()->first.first);
    }
    runDue();
}

double RunLoop::nextDueIn() const {
    double t = now();
    std::lock_guard lock(mutex_);
    if (items_.empty()) return -1;
    double d = items_.begin()->first.first - t;
    return d > 0 ? d : 0;
}

bool RunLoop::hasPending() const {
    std::lock_guard lock(mutex_);
    return !items_.empty();
}

bool RunLoop::runUntil(const std::function<bool()>& done) {
    ++depth_;
    struct Leave {
        int& d;
        ~Leave() { --d; }
    } leave{depth_};
    for (;;) {
        runDue();
        if (done()) return true;
        if (!inputHook_ || !inputHook_()) return done();
    }
}

}  // namespace tidra::sim
