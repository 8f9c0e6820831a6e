// The get-URL Apple event, through which the system hands over the URLs of the schemes the
// bundle's Info.plist registers.
#import <Carbon/Carbon.h>
#import <Foundation/Foundation.h>

#include <functional>

#include "mac/services.h"
#include "mac/value_bridge.h"

@interface TidraGetURLHandler : NSObject {
    std::function<void(const std::string&)> _handler;
}
- (void)setHandler:(std::function<void(const std::string&)>)handler;
- (void)handleGetURLEvent:(NSAppleEventDescriptor*)event
           withReplyEvent:(NSAppleEventDescriptor*)reply;
@end

@implementation TidraGetURLHandler

- (void)setHandler:(std::function<void(const std::string&)>)handler {
    _handler = std::move(handler);
}

- (void)handleGetURLEvent:(NSAppleEventDescriptor*)event
           withReplyEvent:(NSAppleEventDescriptor*)reply {
    (void)reply;
    NSString* url = [[event paramDescriptorForKeyword:keyDirectObject] stringValue];
    if (url != nil && _handler) _handler(tidra::mac::fromNSString(url));
}

@end

namespace tidra::mac {
namespace {

class MacUrlEvents final : public UrlEvents {
  public:
    MacUrlEvents() : handler_([[TidraGetURLHandler alloc] init]) {}
    void setGetURLHandler(std::function<void(const std::string&)> handler) override {
        NSAppleEventManager* manager = [NSAppleEventManager sharedAppleEventManager];
        if (!handler) {
            [manager removeEventHandlerForEventClass:kInternetEventClass andEventID:kAEGetURL];
            [handler_ setHandler:nullptr];
            return;
        }
        [handler_ setHandler:std::move(handler)];
        [manager setEventHandler:handler_
                     andSelector:@selector(handleGetURLEvent:withReplyEvent:)
                   forEventClass:kInternetEventClass
                      andEventID:kAEGetURL];
    }

  private:
    TidraGetURLHandler* handler_;
};

}  // namespace

std::unique_ptr<UrlEvents> makeUrlEvents() {
    return std::make_unique<MacUrlEvents>();
}

}  // namespace tidra::mac
