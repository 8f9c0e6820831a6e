// The one Objective-C object through which AppKit and Foundation reach Tidra's objects: a
// control's action, a notification and a key-value observation each arrive here and go on to the
// Tidra object under the selector name its logic handles ("itemClicked:",
// "applicationWasTerminated:").
#pragma once

#import <Foundation/Foundation.h>

#include <string>

#include "platform/object.h"

// Native objects that stand for a Tidra object (menu items, buttons made from a description)
// say which, so that the action's sender reaches the logic as that object.
@protocol TidraWrapped
- (tidra::Object*)tidraObject;
@end

@interface TidraForwarder : NSObject {
    tidra::Object* _target;
    std::string _selectorName;
    tidra::Object* _sender;
}
// `sender` is what the logic receives as the sender or observed object when the native one
// stands for no Tidra object.
- (instancetype)initWithTarget:(tidra::Object*)target
                      selector:(const std::string&)selectorName
                        sender:(tidra::Object*)sender;
// The action to give a control whose target is this forwarder.
+ (SEL)action;
- (void)send:(id)sender;
// The selector to register with a notification center for this forwarder.
+ (SEL)notificationSelector;
- (void)notify:(NSNotification*)notification;
@end
