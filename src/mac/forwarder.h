// The one Objective-C object through which AppKit and Foundation reach Tidra's objects: a
// control's action, a notification and a key-value observation each arrive here and go on to the
// Tidra object under the selector name its logic handles ("itemClicked:",
// "applicationWasTerminated:").
#pragma once

#import <Foundation/Foundation.h>

#include <string>

#include "platform/object.h"

@interface TidraForwarder : NSObject {
    tidra::Object* _target;
    std::string _selectorName;
    tidra::Object* _sender;
}
// `sender` is the Tidra object the logic receives as the action's sender, the notification's
// object or the observed object.
- (instancetype)initWithTarget:(tidra::Object*)target
                      selector:(const std::string&)selectorName
                        sender:(tidra::Object*)sender;
// For a sender that exists only once the control is made (the control's own wrapper).
- (void)setSender:(tidra::Object*)sender;
// The action to give a control whose target is this forwarder.
+ (SEL)action;
- (void)send:(id)sender;
// The selector to register with a notification center for this forwarder.
+ (SEL)notificationSelector;
- (void)notify:(NSNotification*)notification;
@end
