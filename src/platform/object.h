// The root of every object the platform reaches by selector: actions, notifications and
// key-value observation arrive here by name, as the platform's runtime delivers them.
#pragma once

#include <optional>
#include <string>

#include "platform/value.h"

namespace tidra {

struct Notification;

class Object {
  public:
    virtual ~Object() = default;

    // Target-action: `selector` is the action's name ("itemClicked:"). Answers whether this
    // object implements it; an unknown selector is no error, just not handled.
    virtual bool performAction(const std::string& selector, Object* sender);
    // A notification sent to the selector its observer registered.
    virtual bool performNotification(const std::string& selector, const Notification& note);
    // Outlets and awakeFromNib, for objects an interface description creates.
    virtual bool setOutlet(const std::string& name, Object* value);
    virtual void awakeFromNib() {}

    // Key-value observation callback. The base implementation accepts and drops the change.
    virtual void observeValueForKeyPath(const std::optional<std::string>& keyPath, Object* object,
                                        const std::optional<Dictionary>& change, void* context);
};

// A notification as the platform posts it: name, sender and optional user information
// (nil, or a dictionary whose keys need not be strings).
struct Notification {
    std::string name;
    Object* object = nullptr;
    Value userInfo;
};

// Key-value observation options and change keys.
inline constexpr unsigned kKeyValueObservingOptionNew = 1;
inline constexpr const char* kKeyValueChangeNewKey = "new";

}  // namespace tidra
