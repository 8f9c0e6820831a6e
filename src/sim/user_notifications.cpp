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
    const double now = loop_ ? loop_->now() : 0;
    {
        std::lock_guard lock(mutex_);
        delivered_.push_back({notification, presented, presented, now});
    }
    // The banner's leaving is a change on screen of its own: due work, so that a picture drawn
    // as things change is drawn again then.
    if (presented && loop_) loop_->after(kBannerSeconds, [] {});
}

void SimUserNotificationCenter::deliverFromSystem(const UserNotification& notification) {
    const double now = loop_ ? loop_->now() : 0;
    {
        std::lock_guard lock(mutex_);
        delivered_.push_back({notification, true, true, now});
    }
    if (loop_) loop_->after(kBannerSeconds, [] {});
}

void SimUserNotificationCenter::configure(std::function<bool()> asksUser,
                                          std::function<Authorization()> load,
                                          std::function<void(Authorization)> store) {
    std::lock_guard lock(mutex_);
    asksUser_ = std::move(asksUser);
    load_ = std::move(load);
    store_ = std::move(store);
}

SimUserNotificationCenter::Authorization SimUserNotificationCenter::authorization() const {
    std::lock_guard lock(mutex_);
    if (!asksUser_ || !asksUser_()) return Authorization::Authorized;
    return load_ ? load_() : Authorization::NotDetermined;
}

bool SimUserNotificationCenter::asking() const {
    std::lock_guard lock(mutex_);
    return !waiting_.empty();
}

void SimUserNotificationCenter::requestAuthorization(std::function<void(bool granted)> done) {
    if (requestCheck_) requestCheck_();
    const Authorization known = authorization();
    if (known != Authorization::NotDetermined) {
        done(known == Authorization::Authorized);
        return;
    }
    std::lock_guard lock(mutex_);
    waiting_.push_back(std::move(done));
}

void SimUserNotificationCenter::answer(bool allow) {
    std::vector<std::function<void(bool)>> waiting;
    {
        std::lock_guard lock(mutex_);
        if (store_) store_(allow ? Authorization::Authorized : Authorization::Denied);
        waiting.swap(waiting_);
    }
    for (auto& done : waiting) done(allow);
}

void SimUserNotificationCenter::setAllowedInSettings(bool allow) {
    std::lock_guard lock(mutex_);
    if (store_) store_(allow ? Authorization::Authorized : Authorization::Denied);
}

std::vector<SimUserNotificationCenter::Delivered> SimUserNotificationCenter::delivered() const {
    const double now = loop_ ? loop_->now() : 0;
    std::lock_guard lock(mutex_);
    std::vector<Delivered> out = delivered_;
    for (auto& d : out)
        d.bannerShown = d.presented && (!loop_ || now < d.deliveredAt + kBannerSeconds);
    return out;
}

void SimUserNotificationCenter::clear() {
    std::lock_guard lock(mutex_);
    delivered_.clear();
}

}  // namespace tidra::sim
