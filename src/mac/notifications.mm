// The distributed notification center and user notifications. NSUserNotificationCenter is
// deprecated since macOS 11 (the arm64 slice's minimum) and still there; its successor asks the
// user's permission first, which Tidra's one notification does not need: the warning is off
// around its uses only.
#include "mac/observers.h"
#include "mac/services.h"
#include "mac/value_bridge.h"

#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
// Asks Tidra's delegate whether a notification is shown while Tidra is the active application.
@interface TidraUserNotificationDelegate : NSObject <NSUserNotificationCenterDelegate> {
    tidra::UserNotificationCenterDelegate* _delegate;
}
- (instancetype)initWithDelegate:(tidra::UserNotificationCenterDelegate*)delegate;
@end

@implementation TidraUserNotificationDelegate

- (instancetype)initWithDelegate:(tidra::UserNotificationCenterDelegate*)delegate {
    self = [super init];
    if (self != nil) _delegate = delegate;
    return self;
}

- (BOOL)userNotificationCenter:(NSUserNotificationCenter*)center
     shouldPresentNotification:(NSUserNotification*)notification {
    (void)center;
    tidra::UserNotification shown;
    shown.title = tidra::mac::fromNSString([notification title]);
    shown.informativeText = tidra::mac::fromNSString([notification informativeText]);
    shown.hasActionButton = [notification hasActionButton];
    shown.identifier = tidra::mac::fromNSString([notification identifier]);
    return _delegate->userNotificationCenterShouldPresentNotification(shown) ? YES : NO;
}

@end
#pragma clang diagnostic pop

namespace tidra::mac {
namespace {

class MacDistributedNotificationCenter final : public DistributedNotificationCenter {
  public:
    void addObserver(Object* observer, const std::string& selector,
                     const std::optional<std::string>& name, Object*,
                     NotificationSuspensionBehavior suspensionBehavior) override {
        observers_.add(observer, selector, name, [TidraForwarder class],
                       static_cast<NSNotificationSuspensionBehavior>(suspensionBehavior));
    }
    void removeObserver(Object* observer, const std::optional<std::string>& name,
                        Object*) override {
        observers_.remove(observer, name);
    }

  private:
    NotificationObservers observers_{[NSDistributedNotificationCenter defaultCenter]};
};

#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
class MacUserNotificationCenter final : public UserNotificationCenter {
  public:
    void setDelegate(UserNotificationCenterDelegate* delegate) override {
        // The center does not keep its delegate.
        delegate_ = delegate != nullptr
                        ? [[TidraUserNotificationDelegate alloc] initWithDelegate:delegate]
                        : nil;
        [center() setDelegate:delegate_];
    }
    void deliverNotification(const UserNotification& notification) override {
        NSUserNotification* note = [[NSUserNotification alloc] init];
        [note setTitle:toNSString(notification.title)];
        [note setInformativeText:toNSString(notification.informativeText)];
        [note setHasActionButton:notification.hasActionButton ? YES : NO];
        [note setHasReplyButton:notification.hasReplyButton ? YES : NO];
        [note setIdentifier:toNSString(notification.identifier)];
        [center() deliverNotification:note];
    }

  private:
    static NSUserNotificationCenter* center() {
        return [NSUserNotificationCenter defaultUserNotificationCenter];
    }
    TidraUserNotificationDelegate* delegate_ = nil;
};
#pragma clang diagnostic pop

}  // namespace

std::unique_ptr<DistributedNotificationCenter> makeDistributedNotificationCenter() {
    return std::make_unique<MacDistributedNotificationCenter>();
}

std::unique_ptr<UserNotificationCenter> makeUserNotificationCenter() {
    return std::make_unique<MacUserNotificationCenter>();
}

}  // namespace tidra::mac
