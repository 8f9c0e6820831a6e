// Tidra's notifications go out only with the user's permission: each one asks first (the system
// puts the question to the user once), and waits for the answer. A refusal drops the
// notification and is written to the console once, so a log full of the same line tells nobody
// anything new. Nothing is asked before launching has finished (macOS 26 stops an application
// that asks earlier): a notification from before then waits for it.
#pragma once

#include <memory>
#include <vector>

#include "platform/console.h"
#include "platform/notifications.h"

namespace tidra {

class PermittedNotifications : public UserNotificationCenter,
                               public std::enable_shared_from_this<PermittedNotifications> {
  public:
    PermittedNotifications(UserNotificationCenter& center, Console& console)
        : center_(center), console_(console) {}

    void setDelegate(UserNotificationCenterDelegate* delegate) override {
        center_.setDelegate(delegate);
    }
    void deliverNotification(const UserNotification& notification) override;
    void requestAuthorization(std::function<void(bool granted)> done) override;
    // Launching has finished: what waited is asked for now.
    void launchFinished();

  private:
    void answered(const UserNotification& notification, bool granted);

    UserNotificationCenter& center_;
    Console& console_;
    bool toldRefusal_ = false;
    bool launched_ = false;
    std::vector<std::function<void(bool)>> early_;
};

}  // namespace tidra
