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

void RunLoop::hold(int owner, bool held) {
    std::lock_guard lock(mutex_);
    if (held) {
        ++held_[owner];
    } else if (auto it = held_.find(owner); it != held_.end() && --it->second <= 0) {
        held_.erase(it);
    }
}

std::multimap<std::pair<double, std::uint64_t>, RunLoop::Item>::const_iterator
RunLoop::firstRunnable() const {
    auto it = items_.begin();
    if (held_.empty()) return it;
    while (it != items_.end() && held_.count(it->second.owner)) ++it;
    return it;
}

bool RunLoop::popDue(Item& out) {
    double t = now();
    std::lock_guard lock(mutex_);
    // An empty erase turns the constant position into one that can be moved from.
    const auto first = items_.erase(firstRunnable(), firstRunnable());
    if (first == items_.end() || first->first.first > t) return false;
    out = std::move(first->second);
    items_.erase(first);
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
        const auto first = firstRunnable();
        if (first == items_.end() || first->first.first > end) {
            virtualNow_ = end;
            break;
        }
        virtualNow_ = std::max(virtualNow_, first->first.first);
    }
    runDue();
}

double RunLoop::nextDueIn() const {
    double t = now();
    std::lock_guard lock(mutex_);
    const auto first = firstRunnable();
    if (first == items_.end()) return -1;
    double d = first->first.first - t;
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
