// Observers by name, delivering on the main thread: the simulated Mac's workspace center and its
// distributed center are two of these. As on a Mac, a notification for an application that is
// not active is held back as its observer asked when it registered (coalesced unless it asked
// otherwise), so an agent that is never active would hear of a change only when it next becomes
// active; the workspace's observers ask nothing of the kind and hear everything at once.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/notifications.h"
#include "platform/object.h"
#include "platform/value.h"
#include "platform/workspace.h"
#include "sim/run_loop.h"

namespace tidra::sim {

class SimNotificationCenter : public NotificationCenter, public DistributedNotificationCenter {
  public:
    explicit SimNotificationCenter(RunLoop& loop) : loop_(loop) {}

    // The workspace's center: delivered whether the application is active or not.
    void addObserver(Object* observer, const std::string& selector,
                     const std::optional<std::string>& name, Object* object) override;
    // The distributed center's.
    void addObserver(Object* observer, const std::string& selector,
                     const std::optional<std::string>& name, Object* object,
                     NotificationSuspensionBehavior suspensionBehavior) override;
    void removeObserver(Object* observer, const std::optional<std::string>& name,
                        Object* object) override;

    // Queues delivery on the main thread; observers gone by then hear nothing.
    void post(const std::string& name, Value userInfo = Value());
    // Whether the observing application is active now; without an answer it counts as active.
    void setActiveQuery(std::function<bool()> active) { active_ = std::move(active); }
    // The application became active: what was held back for it is delivered now.
    void applicationDidBecomeActive();
    // Wraps each delivery, so that a process ending inside an observer is handled by its owner.
    void setDeliveryWrapper(std::function<void(const std::function<void()>&)> wrap) {
        wrap_ = std::move(wrap);
    }

  private:
    struct Held {
        std::string name;
        Value userInfo;
    };
    struct Entry {
        std::uint64_t id;
        Object* observer;
        std::string selector;
        std::optional<std::string> name;
        Object* object;
        NotificationSuspensionBehavior behavior;
        std::vector<Held> held;  // waiting for the application to become active
    };
    void deliver(std::uint64_t id, const std::string& name, const Value& userInfo);

    RunLoop& loop_;
    std::vector<Entry> observers_;
    std::uint64_t nextId_ = 1;
    std::function<bool()> active_;
    std::function<void(const std::function<void()>&)> wrap_;
};

}  // namespace tidra::sim
