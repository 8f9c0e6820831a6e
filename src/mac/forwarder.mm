#include "mac/forwarder.h"

#include "mac/value_bridge.h"

@implementation TidraForwarder

- (instancetype)initWithTarget:(tidra::Object*)target
                      selector:(const std::string&)selectorName
                        sender:(tidra::Object*)sender {
    self = [super init];
    if (self != nil) {
        _target = target;
        _selectorName = selectorName;
        _sender = sender;
    }
    return self;
}

- (void)setSender:(tidra::Object*)sender {
    _sender = sender;
}

+ (SEL)action {
    return @selector(send:);
}

+ (SEL)notificationSelector {
    return @selector(notify:);
}

- (void)send:(id)native {
    (void)native;
    if (_target != nullptr) _target->performAction(_selectorName, _sender);
}

- (void)notify:(NSNotification*)notification {
    if (_target == nullptr) return;
    tidra::Notification note{tidra::mac::fromNSString([notification name]), _sender,
                             tidra::mac::fromFoundation([notification userInfo])};
    _target->performNotification(_selectorName, note);
}

- (void)observeValueForKeyPath:(NSString*)keyPath
                      ofObject:(id)observed
                        change:(NSDictionary*)change
                       context:(void*)context {
    (void)observed;
    if (_target == nullptr) return;
    std::optional<std::string> path;
    if (keyPath != nil) path = tidra::mac::fromNSString(keyPath);
    std::optional<tidra::Dictionary> translated;
    if (change != nil) translated = tidra::mac::fromNSDictionary(change);
    _target->observeValueForKeyPath(path, _sender, translated, context);
}

@end
