// The application delegate: the launch-time duties that are not the status controller's.
#pragma once

#include <functional>
#include <string>

#include "notices/permitted_notifications.h"
#include "platform/application.h"
#include "platform/defaults.h"
#include "platform/devmate.h"
#include "platform/notifications.h"

namespace tidra {

class StatusMenuController;

class AppDelegate : public Object,
                    public ApplicationDelegate,
                    public UserNotificationCenterDelegate {
  public:
    AppDelegate(UserDefaults& defaults, DevMateKit& devMate,
                PermittedNotifications& userNotifications,
                std::function<void()> offerMoveToApplicationsFolder)
        : defaults_(defaults),
          devMate_(devMate),
          userNotifications_(userNotifications),
          offerMoveToApplicationsFolder_(std::move(offerMoveToApplicationsFolder)) {}

    UserDefaults& defaults() const { return defaults_; }
    // The interface description connects the status controller, which waits for the launch to
    // finish before showing anything of its own.
    bool setOutlet(const std::string& name, Object* value) override;

    void applicationWillFinishLaunching(const Notification& note) override;
    void applicationDidFinishLaunching(const Notification& note) override;
    bool applicationShouldHandleReopen(bool hasVisibleWindows) override;
    // Tidra's notifications are shown even while it is the active application.
    bool userNotificationCenterShouldPresentNotification(const UserNotification&) override {
        return true;
    }

  private:
    UserDefaults& defaults_;
    DevMateKit& devMate_;
    PermittedNotifications& userNotifications_;
    std::function<void()> offerMoveToApplicationsFolder_;
    StatusMenuController* statusMenuController_ = nullptr;  // outlet
};

}  // namespace tidra
