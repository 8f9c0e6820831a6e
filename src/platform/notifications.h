// The distributed notification center and user notifications.
#pragma once

#include <optional>
#include <string>

#include "platform/object.h"

namespace tidra {

inline constexpr const char* kInterfaceThemeChangedNotification =
    "AppleInterfaceThemeChangedNotification";

class DistributedNotificationCenter {
public:
    virtual ~DistributedNotificationCenter() = default;
    virtual void addObserver(Object* observer, const std::string& selector,
                             const std::optional<std::string>& name, Object* object) = 0;
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
};

}  // namespace tidra
