// The running system's version (NSProcessInfo) and AppKit's version number.
#import <AppKit/AppKit.h>

#include "mac/services.h"

namespace tidra::mac {
namespace {

class MacSystemInfo final : public SystemInfo {
  public:
    OperatingSystemVersion operatingSystemVersion() override {
        const NSOperatingSystemVersion v = [[NSProcessInfo processInfo] operatingSystemVersion];
        return OperatingSystemVersion{static_cast<int>(v.majorVersion),
                                      static_cast<int>(v.minorVersion),
                                      static_cast<int>(v.patchVersion)};
    }
    double appKitVersionNumber() override { return NSAppKitVersionNumber; }
};

}  // namespace

std::unique_ptr<SystemInfo> makeSystemInfo() {
    return std::make_unique<MacSystemInfo>();
}

}  // namespace tidra::mac
