// Dispatch on the simulated Mac: the main queue is the run loop; the default-priority global
// queue is a real worker thread, so work sent there with dispatch_sync really runs off the main
// thread while the caller waits.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/dispatch.h"
#include "sim/run_loop.h"

namespace tidra::sim {

class SimDispatch : public Dispatch {
  public:
    explicit SimDispatch(RunLoop& loop);
    ~SimDispatch() override;
    SimDispatch(const SimDispatch&) = delete;
    SimDispatch& operator=(const SimDispatch&) = delete;

    void globalQueueSync(const std::function<void()>& work) override;
    void mainQueueAfter(std::int64_t delayNanoseconds, std::function<void()> work) override;
    void mainQueueAsync(std::function<void()> work) override;

    // Main-queue work is tagged with the process that queued it, so it dies with that process.
    void setOwner(int pid) { owner_ = pid; }
    // The worker thread's identifier, for checking where work ran.
    std::thread::id workerId() const { return worker_.get_id(); }
    int globalQueueRuns() const { return runs_; }
    // While the main thread waits in globalQueueSync and `asked` answers true, the system asks the
    // person something on the work's behalf (the automation prompt): the front end's commands are
    // read so that it can be answered, and `noAnswer` is called when they run out.
    void setUserQuestion(std::function<bool()> asked, std::function<void()> noAnswer) {
        userAsked_ = std::move(asked);
        noAnswer_ = std::move(noAnswer);
    }
    // Wakes a main thread waiting in globalQueueSync to look at the question again.
    void wakeWaiter();

  private:
    void workerLoop();

    RunLoop& loop_;
    int owner_ = 0;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> pending_;
    bool stopping_ = false;
    int runs_ = 0;
    std::mutex doneMutex_;
    std::condition_variable doneCv_;
    std::function<bool()> userAsked_;
    std::function<void()> noAnswer_;
    std::thread worker_;
};

}  // namespace tidra::sim
