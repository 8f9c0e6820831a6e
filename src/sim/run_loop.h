// The simulated Mac's main thread: a main queue, timers and a clock that is virtual in scripts
// and tests and real interactively. Work is tagged with the process that queued it, so that a
// process's pending work dies with it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>

namespace tidra::sim {

// Thrown by a simulated process that ends itself (exit, terminate:); caught where the simulated
// Mac hands control to that process, which then tears it down.
struct ProcessExit {
    int status = 0;
};

class RunLoop {
  public:
    explicit RunLoop(bool realTime = false);

    // Seconds since the simulated Mac started.
    double now() const;
    bool realTime() const { return realTime_; }

    // Queues work on the main thread `delay` seconds from now (0: as soon as possible).
    // Thread-safe. `owner` is a process identifier, or 0 for the system itself.
    void after(double delay, std::function<void()> work, int owner = 0);
    void post(std::function<void()> work, int owner = 0) { after(0, std::move(work), owner); }
    // Drops every pending item of a process that has ended.
    void cancelOwner(int owner);

    // Runs, in order, everything due by now, including what that work queues for now.
    void runDue();
    // Lets `seconds` pass, running each item at its time (virtual: instantly; real: sleeping).
    void advance(double seconds);
    // Seconds until the next pending item, or a negative number when nothing is pending.
    double nextDueIn() const;
    bool hasPending() const;

    // Nested loops (menus, modal alerts): run until `done` answers true. Between rounds the
    // input hook reads and executes one front-end command; when it answers false (no more
    // input) the loop gives up and returns false.
    bool runUntil(const std::function<bool()>& done);
    void setInputHook(std::function<bool()> hook) { inputHook_ = std::move(hook); }
    // One front-end command read and executed outside any round of the loop: while a main thread
    // is blocked on something only the person can end (the system's automation prompt). False
    // when there is no more input.
    bool readInput() { return inputHook_ && inputHook_(); }
    // While a process's main thread is blocked, its queued work waits and everything else runs.
    void hold(int owner, bool held);
    // Called when queued work of `owner` ends its process (throws ProcessExit).
    void setExitHandler(std::function<void(int owner, int status)> handler) {
        exitHandler_ = std::move(handler);
    }
    int nestingDepth() const { return depth_; }

  private:
    struct Item {
        int owner;
        std::function<void()> work;
    };
    bool realTime_;
    double virtualNow_ = 0;
    double realStart_;
    std::uint64_t seq_ = 0;
    mutable std::mutex mutex_;
    std::multimap<std::pair<double, std::uint64_t>, Item> items_;
    std::function<bool()> inputHook_;
    std::function<void(int, int)> exitHandler_;
    int depth_ = 0;
    std::map<int, int> held_;  // owner → how many holds
    bool popDue(Item& out);
    // The first item that may run (its owner not held), or end.
    std::multimap<std::pair<double, std::uint64_t>, Item>::const_iterator firstRunnable() const;
};

}  // namespace tidra::sim
