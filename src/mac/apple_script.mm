// AppleScript (NSAppleScript) and its result descriptors.
#import <Foundation/Foundation.h>

#include "mac/services.h"
#include "mac/value_bridge.h"

namespace tidra::mac {
namespace {

class MacEventDescriptor final : public EventDescriptor {
  public:
    explicit MacEventDescriptor(NSAppleEventDescriptor* descriptor) : descriptor_(descriptor) {}
    std::uint32_t descriptorType() const override { return [descriptor_ descriptorType]; }
    long numberOfItems() const override { return static_cast<long>([descriptor_ numberOfItems]); }
    std::shared_ptr<EventDescriptor> descriptorAtIndex(long index) const override {
        if (index < 1 || index > numberOfItems()) return nullptr;
        NSAppleEventDescriptor* item = [descriptor_ descriptorAtIndex:index];
        if (item == nil) return nullptr;
        return std::make_shared<MacEventDescriptor>(item);
    }
    std::optional<std::string> stringValue() const override {
        NSString* value = [descriptor_ stringValue];
        if (value == nil) return std::nullopt;
        return fromNSString(value);
    }

  private:
    NSAppleEventDescriptor* descriptor_;
};

class MacAppleScript final : public AppleScript {
  public:
    explicit MacAppleScript(NSAppleScript* script) : script_(script) {}
    std::shared_ptr<EventDescriptor> executeAndReturnError(Dictionary* errorInfo) override {
        NSDictionary* failure = nil;
        NSAppleEventDescriptor* result = [script_ executeAndReturnError:&failure];
        if (result == nil) {
            if (errorInfo != nullptr) *errorInfo = fromNSDictionary(failure);
            return nullptr;
        }
        return std::make_shared<MacEventDescriptor>(result);
    }

  private:
    NSAppleScript* script_;
};

class MacAppleScripting final : public AppleScripting {
  public:
    std::unique_ptr<AppleScript> scriptWithSource(const std::string& source) override {
        NSAppleScript* script = [[NSAppleScript alloc] initWithSource:toNSString(source)];
        if (script == nil) return nullptr;
        return std::make_unique<MacAppleScript>(script);
    }
};

}  // namespace

std::unique_ptr<AppleScripting> makeAppleScripting() {
    return std::make_unique<MacAppleScripting>();
}

}  // namespace tidra::mac
