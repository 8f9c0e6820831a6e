// The application delegate: the launch-time duties that are not the status controller's.
#pragma once

#include <functional>

#include "platform/application.h"
#include "platform/defaults.h"
#include "platform/devmate.h"
#include "platform/notifications.h"

namespace tidra {

class AppDelegate : public Object,
                    public ApplicationDelegate,
                    public UserNotificationCenterDelegate {
  public:
    AppDelegate(UserDefaults& defaults, DevMateKit& devMate,
                UserNotificationCenter& userNotifications,
                std::function<void()> offerMoveToApplicationsFolder)
        : defaults_(defaults),
          devMate_(devMate),
          userNotifications_(userNotifications),
          offerMoveToApplicationsFolder_(std::move(offerMoveToApplicationsFolder)) {}

    UserDefaults& defaults() const { return defaults_; }

    void applicationWillFinishLaunching(const Notification& note) override;
    void applicationDidFinishLaunching(const Notification& note) override;
    // Tidra's notifications are shown even while it is the active application.
    bool userNotificationCenterShouldPresentNotification(const UserNotification&) override {
        return true;
    }

  private:
    UserDefaults& defaults_;
    DevMateKit& devMate_;
    UserNotificationCenter& userNotifications_;
    std::function<void()> offerMoveToApplicationsFolder_;
};

}  // namespace tidra
