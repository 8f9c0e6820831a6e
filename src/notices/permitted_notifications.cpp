#include "notices/permitted_notifications.h"

namespace tidra {

void PermittedNotifications::deliverNotification(const UserNotification& notification) {
    // The answer may come after Tidra has ended.
    std::weak_ptr<PermittedNotifications> self = weak_from_this();
    requestAuthorization([self, notification](bool granted) {
        if (auto alive = self.lock()) alive->answered(notification, granted);
    });
}

void PermittedNotifications::requestAuthorization(std::function<void(bool granted)> done) {
    if (!launched_) {
        early_.push_back(std::move(done));
        return;
    }
    center_.requestAuthorization(std::move(done));
}

void PermittedNotifications::launchFinished() {
    launched_ = true;
    std::vector<std::function<void(bool)>> early;
    early.swap(early_);
    for (auto& done : early) center_.requestAuthorization(std::move(done));
}

void PermittedNotifications::answered(const UserNotification& notification, bool granted) {
    if (granted) {
        center_.deliverNotification(notification);
        return;
    }
    if (toldRefusal_) return;
    toldRefusal_ = true;
    console_.log("Notifications are turned off for Tidra, so \"" + notification.title +
                 "\" and later ones are not shown: allow them in System Settings > "
                 "Notifications");
}

}  // namespace tidra
