// The distributed notification center: notifications other processes post (the theme change
// among them), delivered on the main thread.
#pragma once

#include "platform/notifications.h"
#include "sim/processes.h"

namespace tidra::sim {

class SimDistributedCenter : public DistributedNotificationCenter {
  public:
    explicit SimDistributedCenter(RunLoop& loop) : center_(loop) {}
    void addObserver(Object* observer, const std::string& selector,
                     const std::optional<std::string>& name, Object* object) override {
        center_.addObserver(observer, selector, name, object);
    }
    void removeObserver(Object* observer, const std::optional<std::string>& name,
                        Object* object) override {
        center_.removeObserver(observer, name, object);
    }
    void post(const std::string& name) { center_.post(name, Value()); }
    SimNotificationCenter& center() { return center_; }

  private:
    SimNotificationCenter center_;
};

}  // namespace tidra::sim
