#include "sim/user_notifications.h"

namespace tidra::sim {

void SimUserNotificationCenter::setDelegate(UserNotificationCenterDelegate* delegate) {
    std::lock_guard lock(mutex_);
    delegate_ = delegate;
}

void SimUserNotificationCenter::deliverNotification(const UserNotification& notification) {
    UserNotificationCenterDelegate* delegate;
    {
        std::lock_guard lock(mutex_);
        delegate = delegate_;
    }
    // A menu-bar application counts as frontmost, so without a delegate that asks for it the
    // notification only lands in the notification list.
    const bool presented =
        delegate && delegate->userNotificationCenterShouldPresentNotification(notification);
    std::lock_guard lock(mutex_);
    delivered_.push_back({notification, presented});
}

std::vector<SimUserNotificationCenter::Delivered> SimUserNotificationCenter::delivered() const {
    std::lock_guard lock(mutex_);
    return delivered_;
}

void SimUserNotificationCenter::clear() {
    std::lock_guard lock(mutex_);
    delivered_.clear();
}

}  // namespace tidra::sim
