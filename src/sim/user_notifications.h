// NSUserNotificationCenter on the simulated Mac: delivered notifications are kept in order, and
// each is presented on screen when the center's delegate agrees.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "platform/notifications.h"

namespace tidra::sim {

class SimUserNotificationCenter : public UserNotificationCenter {
  public:
    struct Delivered {
        UserNotification notification;
        bool presented = false;
    };

    void setDelegate(UserNotificationCenterDelegate* delegate) override;
    void deliverNotification(const UserNotification& notification) override;

    std::vector<Delivered> delivered() const;
    void clear();

  private:
    mutable std::mutex mutex_;
    UserNotificationCenterDelegate* delegate_ = nullptr;
    std::vector<Delivered> delivered_;
};

}  // namespace tidra::sim
