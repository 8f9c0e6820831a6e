// User notifications. From macOS 10.14 they go through the UserNotifications framework, which
// shows nothing without the user's permission; on 10.13 NSUserNotificationCenter is all there
// is. Each notification is shown as a banner while Tidra is frontmost when Tidra's delegate
// agrees. Completion handlers arrive on other queues: every answer is carried to the main thread.
#import <AppKit/AppKit.h>
#import <UserNotifications/UserNotifications.h>

#include "mac/services.h"
#include "mac/value_bridge.h"

namespace {

tidra::UserNotification fromContent(NSString* identifier, NSString* title, NSString* body) {
    tidra::UserNotification shown;
    shown.identifier = tidra::mac::fromNSString(identifier);
    shown.title = tidra::mac::fromNSString(title);
    shown.informativeText = tidra::mac::fromNSString(body);
    return shown;
}

// The delegate Tidra has set, or none. An answer the system waits for is given later on the main
// queue, by which time Tidra may have set another delegate or none, and the one asked may be
// gone: the answer reads the slot when it runs, never a pointer taken before.
struct DelegateSlot {
    tidra::UserNotificationCenterDelegate* delegate = nullptr;
};

}  // namespace

API_AVAILABLE(macos(10.14))
@interface TidraNotificationPresenter : NSObject <UNUserNotificationCenterDelegate> {
    std::shared_ptr<DelegateSlot> _slot;
}
- (instancetype)initWithSlot:(std::shared_ptr<DelegateSlot>)slot;
@end

@implementation TidraNotificationPresenter

- (instancetype)initWithSlot:(std::shared_ptr<DelegateSlot>)slot {
    self = [super init];
    if (self != nil) _slot = std::move(slot);
    return self;
}

- (void)userNotificationCenter:(UNUserNotificationCenter*)center
       willPresentNotification:(UNNotification*)notification
         withCompletionHandler:(void (^)(UNNotificationPresentationOptions options))handler {
    (void)center;
    UNNotificationRequest* request = [notification request];
    const tidra::UserNotification shown =
        fromContent([request identifier], [[request content] title], [[request content] body]);
    std::shared_ptr<DelegateSlot> slot = _slot;
    dispatch_async(dispatch_get_main_queue(), ^{
      tidra::UserNotificationCenterDelegate* delegate = slot->delegate;
      if (delegate == nullptr ||
          !delegate->userNotificationCenterShouldPresentNotification(shown)) {
          handler(UNNotificationPresentationOptionNone);
      } else if (@available(macOS 11.0, *)) {
          handler(UNNotificationPresentationOptionBanner | UNNotificationPresentationOptionList);
      } else {
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
          handler(UNNotificationPresentationOptionAlert);  // the only name before macOS 11
#pragma clang diagnostic pop
      }
    });
}

@end

// NSUserNotificationCenter is deprecated since macOS 11 and stays for 10.13.
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
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
    tidra::UserNotification shown = fromContent([notification identifier], [notification title],
                                                [notification informativeText]);
    shown.hasActionButton = [notification hasActionButton];
    return _delegate->userNotificationCenterShouldPresentNotification(shown) ? YES : NO;
}

@end
#pragma clang diagnostic pop

namespace tidra::mac {
namespace {

class MacUserNotificationCenter final : public UserNotificationCenter {
  public:
    MacUserNotificationCenter() = default;
    MacUserNotificationCenter(const MacUserNotificationCenter&) = delete;
    MacUserNotificationCenter& operator=(const MacUserNotificationCenter&) = delete;
    ~MacUserNotificationCenter() override {
        slot_->delegate = nullptr;
        if (@available(macOS 10.14, *)) {
            UNUserNotificationCenter* center = [UNUserNotificationCenter currentNotificationCenter];
            if (presenter_ != nil && [center delegate] == presenter_) [center setDelegate:nil];
            return;
        }
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
        // This center's delegate is unretained: it must not point at one released here.
        NSUserNotificationCenter* center = [NSUserNotificationCenter defaultUserNotificationCenter];
        if (legacyDelegate_ != nil && [center delegate] == legacyDelegate_)
            [center setDelegate:nil];
#pragma clang diagnostic pop
    }

    void setDelegate(UserNotificationCenterDelegate* delegate) override {
        // Neither center keeps its delegate.
        if (@available(macOS 10.14, *)) {
            slot_->delegate = delegate;
            if (presenter_ == nil)
                presenter_ = [[TidraNotificationPresenter alloc] initWithSlot:slot_];
            [[UNUserNotificationCenter currentNotificationCenter]
                setDelegate:delegate != nullptr ? presenter_ : nil];
            return;
        }
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
        legacyDelegate_ = delegate != nullptr
                              ? [[TidraUserNotificationDelegate alloc] initWithDelegate:delegate]
                              : nil;
        [[NSUserNotificationCenter defaultUserNotificationCenter] setDelegate:legacyDelegate_];
#pragma clang diagnostic pop
    }

    void deliverNotification(const UserNotification& notification) override {
        if (@available(macOS 10.14, *)) {
            UNMutableNotificationContent* content = [[UNMutableNotificationContent alloc] init];
            [content setTitle:toNSString(notification.title)];
            [content setBody:toNSString(notification.informativeText)];
            NSString* identifier = notification.identifier.empty()
                                       ? [[NSUUID UUID] UUIDString]
                                       : toNSString(notification.identifier);
            UNNotificationRequest* request = [UNNotificationRequest requestWithIdentifier:identifier
                                                                                  content:content
                                                                                  trigger:nil];
            [[UNUserNotificationCenter currentNotificationCenter]
                addNotificationRequest:request
                 withCompletionHandler:^(NSError* _Nullable error) {
                   if (error != nil)
                       NSLog(@"Could not show the notification: %@", [error localizedDescription]);
                 }];
            return;
        }
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
        NSUserNotification* note = [[NSUserNotification alloc] init];
        [note setTitle:toNSString(notification.title)];
        [note setInformativeText:toNSString(notification.informativeText)];
        [note setHasActionButton:notification.hasActionButton ? YES : NO];
        [note setHasReplyButton:notification.hasReplyButton ? YES : NO];
        [note setIdentifier:toNSString(notification.identifier)];
        [[NSUserNotificationCenter defaultUserNotificationCenter] deliverNotification:note];
#pragma clang diagnostic pop
    }

    void requestAuthorization(std::function<void(bool granted)> done) override {
        if (@available(macOS 10.14, *)) {
            // The system asks the user the first time only; later it answers from the setting.
            auto answer = std::make_shared<std::function<void(bool)>>(std::move(done));
            [[UNUserNotificationCenter currentNotificationCenter]
                requestAuthorizationWithOptions:UNAuthorizationOptionAlert
                              completionHandler:^(BOOL granted, NSError* _Nullable error) {
                                (void)error;  // a refusal is the answer that counts
                                dispatch_async(dispatch_get_main_queue(), ^{
                                  (*answer)(granted ? true : false);
                                });
                              }];
            return;
        }
        done(true);
    }

  private:
    std::shared_ptr<DelegateSlot> slot_ = std::make_shared<DelegateSlot>();
    id presenter_ = nil;
    id legacyDelegate_ = nil;
};

}  // namespace

std::unique_ptr<UserNotificationCenter> makeUserNotificationCenter() {
    return std::make_unique<MacUserNotificationCenter>();
}

}  // namespace tidra::mac
