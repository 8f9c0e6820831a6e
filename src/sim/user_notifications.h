// The user notification center on the simulated Mac: delivered notifications are kept in order,
// and each is presented on screen when the center's delegate agrees. A banner leaves the screen
// after a few seconds, as on a Mac; the notification stays in the delivered list. From 10.14 an
// application asks the user's permission first: the question waits for the user's answer, which
// the system keeps (with the preferences of the notification settings) and gives from then on.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/notifications.h"
#include "sim/run_loop.h"

namespace tidra::sim {

class SimUserNotificationCenter : public UserNotificationCenter {
  public:
    struct Delivered {
        UserNotification notification;
        bool presented = false;    // a banner was shown for it
        bool bannerShown = false;  // the banner is on screen now
        double deliveredAt = 0;
    };

    // How long a banner stays on screen.
    static constexpr double kBannerSeconds = 5;

    // `loop`: the clock banners leave by; without one they stay.
    explicit SimUserNotificationCenter(RunLoop* loop = nullptr) : loop_(loop) {}

    void setDelegate(UserNotificationCenterDelegate* delegate) override;
    void deliverNotification(const UserNotification& notification) override;
    void requestAuthorization(std::function<void(bool granted)> done) override;
    // A notification the system itself posts: shown as a banner whatever Tidra's delegate or
    // permission says.
    void deliverFromSystem(const UserNotification& notification);

    // UNAuthorizationStatus.
    enum class Authorization { NotDetermined = 0, Denied = 1, Authorized = 2 };
    // `asksUser`: whether the running system asks (10.14 and later). `load`/`store`: where the
    // user's answer is kept.
    void configure(std::function<bool()> asksUser, std::function<Authorization()> load,
                   std::function<void(Authorization)> store);
    Authorization authorization() const;
    // Runs before each permission request: the running system may stop an application that asks
    // too early (macOS 26 does, before launching has finished).
    void setRequestCheck(std::function<void()> check) { requestCheck_ = std::move(check); }
    // Whether the permission question is on screen.
    bool asking() const;
    // The user's answer to the question; the waiting requests get it.
    void answer(bool allow);
    // The user's switch in System Settings › Notifications, for an application that has asked
    // before: a changed mind counts from the next request on.
    void setAllowedInSettings(bool allow);
    // Whether the running system asks at all (10.14 and later).
    bool asksUser() const { return asksUser_ && asksUser_(); }

    std::vector<Delivered> delivered() const;
    void clear();

  private:
    RunLoop* loop_;
    mutable std::mutex mutex_;
    UserNotificationCenterDelegate* delegate_ = nullptr;
    std::vector<Delivered> delivered_;
    std::function<bool()> asksUser_;
    std::function<Authorization()> load_;
    std::function<void(Authorization)> store_;
    std::vector<std::function<void(bool)>> waiting_;
    std::function<void()> requestCheck_;
};

}  // namespace tidra::sim
