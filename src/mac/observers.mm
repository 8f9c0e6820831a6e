#include "mac/observers.h"

#include "mac/value_bridge.h"

namespace tidra::mac {

NotificationObservers::~NotificationObservers() {
    for (const Registration& r : registrations_) [center_ removeObserver:r.forwarder];
}

void NotificationObservers::add(
    Object* observer, const std::string& selector, const std::optional<std::string>& name,
    Class forwarderClass, std::optional<NSNotificationSuspensionBehavior> suspensionBehavior) {
    TidraForwarder* forwarder = [[forwarderClass alloc] initWithTarget:observer
                                                              selector:selector
                                                                sender:nullptr];
    registrations_.push_back(Registration{observer, name, forwarder});
    if (suspensionBehavior) {
        [(NSDistributedNotificationCenter*)center_
                   addObserver:forwarder
                      selector:[TidraForwarder notificationSelector]
                          name:(name ? toNSString(*name) : nil)object:nil
            suspensionBehavior:*suspensionBehavior];
        return;
    }
    [center_ addObserver:forwarder
                selector:[TidraForwarder notificationSelector]
                    name:(name ? toNSString(*name) : nil)object:nil];
}

void NotificationObservers::remove(Object* observer, const std::optional<std::string>& name) {
    for (auto it = registrations_.begin(); it != registrations_.end();) {
        if (it->observer == observer && (!name || it->name == name)) {
            [center_ removeObserver:it->forwarder];
            it = registrations_.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace tidra::mac
