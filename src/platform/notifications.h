// The distributed notification center and user notifications.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/object.h"

namespace tidra {

inline constexpr const char* kInterfaceThemeChangedNotification =
    "AppleInterfaceThemeChangedNotification";

// What the center does with a notification for an observer while the application is not active
// (NSNotificationSuspensionBehavior, with its values).
enum class NotificationSuspensionBehavior {
    Drop = 1,               // never delivered
    Coalesce = 2,           // one of each name delivered on activation (the default)
    Hold = 3,               // every one delivered on activation
    DeliverImmediately = 4  // delivered at once, active or not
};

class DistributedNotificationCenter {
  public:
    virtual ~DistributedNotificationCenter() = default;
    // `addObserver:selector:name:object:suspensionBehavior:`.
    virtual void addObserver(Object* observer, const std::string& selector,
                             const std::optional<std::string>& name, Object* object,
                             NotificationSuspensionBehavior suspensionBehavior) = 0;
    virtual void removeObserver(Object* observer, const std::optional<std::string>& name,
                                Object* object) = 0;
};

struct UserNotification {
    std::string title;
    std::string informativeText;
    bool hasActionButton = true;
    bool hasReplyButton = false;
    std::string identifier;
};

class UserNotificationCenterDelegate {
  public:
    virtual ~UserNotificationCenterDelegate() = default;
    virtual bool userNotificationCenterShouldPresentNotification(const UserNotification& n) = 0;
};

class UserNotificationCenter {
  public:
    virtual ~UserNotificationCenter() = default;
    virtual void setDelegate(UserNotificationCenterDelegate* delegate) = 0;
    virtual void deliverNotification(const UserNotification& notification) = 0;
    // Asks whether Tidra may show alerts. From 10.14 the system asks the user the first time
    // and answers from the user's setting afterwards; before 10.14 every application may.
    // `done` runs later, on the main thread, with the answer.
    virtual void requestAuthorization(std::function<void(bool granted)> done) = 0;
};

}  // namespace tidra
