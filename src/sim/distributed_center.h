// The distributed notification center: notifications other processes post (the theme change
// among them), delivered on the main thread. As on a Mac, delivery to an application that is not
// active is suspended as each observer asked when it registered: coalesced by default, so an
// agent that is never active would hear of a change only when it next becomes active.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/notifications.h"
#include "sim/run_loop.h"

namespace tidra::sim {

class SimDistributedCenter : public DistributedNotificationCenter {
  public:
    explicit SimDistributedCenter(RunLoop& loop) : loop_(loop) {}
    void addObserver(Object* observer, const std::string& selector,
                     const std::optional<std::string>& name, Object* object,
                     NotificationSuspensionBehavior suspensionBehavior) override;
    void removeObserver(Object* observer, const std::optional<std::string>& name,
                        Object* object) override;

    // Another process posts: queued for the main thread.
    void post(const std::string& name);
    // Whether the observing application is active now; without an answer it counts as active.
    void setActiveQuery(std::function<bool()> active) { active_ = std::move(active); }
    // The application became active: what was held back for it is delivered now.
    void applicationDidBecomeActive();
    // Wraps each delivery, so that a process ending inside an observer is handled by its owner.
    void setDeliveryWrapper(std::function<void(const std::function<void()>&)> wrap) {
        wrap_ = std::move(wrap);
    }
    size_t observerCount() const { return observers_.size(); }

  private:
    struct Entry {
        std::uint64_t id;
        Object* observer;
        std::string selector;
        std::optional<std::string> name;
        NotificationSuspensionBehavior behavior;
        std::vector<std::string> held;  // names waiting for the application to become active
    };
    void deliver(std::uint64_t id, const std::string& name);

    RunLoop& loop_;
    std::vector<Entry> observers_;
    std::uint64_t nextId_ = 1;
    std::function<bool()> active_;
    std::function<void(const std::function<void()>&)> wrap_;
};

}  // namespace tidra::sim
