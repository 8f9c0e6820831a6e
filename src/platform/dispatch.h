// Dispatch queues: the default-priority global queue and the main queue.
#pragma once

#include <cstdint>
#include <functional>

namespace tidra {

class Dispatch {
  public:
    virtual ~Dispatch() = default;
    // dispatch_sync on the default-priority global queue: the work runs on another thread
    // while the caller waits.
    virtual void globalQueueSync(const std::function<void()>& work) = 0;
    // dispatch_after(dispatch_time(now, delay), main queue, work).
    virtual void mainQueueAfter(std::int64_t delayNanoseconds, std::function<void()> work) = 0;
    virtual void mainQueueAsync(std::function<void()> work) = 0;
};

}  // namespace tidra
