// Registrations of Tidra objects with a notification center, each through its own forwarder.
#pragma once

#import <Foundation/Foundation.h>

#include <optional>
#include <string>
#include <vector>

#include "mac/forwarder.h"

namespace tidra::mac {

class NotificationObservers {
  public:
    // `center` is NSNotificationCenter or NSDistributedNotificationCenter.
    explicit NotificationObservers(id center) : center_(center) {}
    ~NotificationObservers();
    NotificationObservers(const NotificationObservers&) = delete;
    NotificationObservers& operator=(const NotificationObservers&) = delete;

    // Notifications reach `observer` under `selector`; a forwarder of another class than
    // TidraForwarder may add what the platform's notification leaves implicit. A suspension
    // behaviour is given only on the distributed center, the one center that takes it.
    void add(Object* observer, const std::string& selector, const std::optional<std::string>& name,
             Class forwarderClass,
             std::optional<NSNotificationSuspensionBehavior> suspensionBehavior = std::nullopt);
    void remove(Object* observer, const std::optional<std::string>& name);

  private:
    struct Registration {
        Object* observer;
        std::optional<std::string> name;
        TidraForwarder* forwarder;
    };
    id center_;
    std::vector<Registration> registrations_;
};

}  // namespace tidra::mac
