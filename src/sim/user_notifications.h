// NSUserNotificationCenter on the simulated Mac: delivered notifications are kept in order, and
// each is presented on screen when the center's delegate agrees. A banner leaves the screen after
// a few seconds, as on a Mac; the notification stays in the delivered list.
#pragma once

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

    std::vector<Delivered> delivered() const;
    void clear();

  private:
    RunLoop* loop_;
    mutable std::mutex mutex_;
    UserNotificationCenterDelegate* delegate_ = nullptr;
    std::vector<Delivered> delivered_;
};

}  // namespace tidra::sim
