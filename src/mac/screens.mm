// NSScreen and the display reconfiguration callback of Core Graphics.
#import <CoreGraphics/CoreGraphics.h>

#include "mac/screens.h"
#include "mac/services.h"
#include "mac/value_bridge.h"

namespace tidra::mac {
namespace {

class MacScreen final : public Screen {
  public:
    explicit MacScreen(NSScreen* screen) : screen_(screen) {}
    NSScreen* native() const { return screen_; }
    // Sizes and resolutions are no values of Tidra's and drop out; the screen number stays.
    Dictionary deviceDescription() const override {
        return fromNSDictionary([screen_ deviceDescription]);
    }

  private:
    NSScreen* screen_;
};

class MacScreens final : public Screens {
  public:
    std::optional<std::vector<std::shared_ptr<Screen>>> screens() override {
        NSArray* screens = [NSScreen screens];
        if (screens == nil) return std::nullopt;
        std::vector<std::shared_ptr<Screen>> all;
        for (NSScreen* screen in screens) all.push_back(std::make_shared<MacScreen>(screen));
        return all;
    }

    void registerReconfigurationCallback(DisplayReconfigurationCallback callback,
                                         void* userInfo) override {
        // Never unregistered: the callback's target lives as long as the process.
        CGDisplayRegisterReconfigurationCallback(callback, userInfo);
    }
};

}  // namespace

NSScreen* nativeScreenOf(const Screen& screen) {
    const auto* native = dynamic_cast<const MacScreen*>(&screen);
    return native != nullptr ? native->native() : nil;
}

std::unique_ptr<Screens> makeScreens() {
    return std::make_unique<MacScreens>();
}

}  // namespace tidra::mac
