// NSScreen and the display reconfiguration callback of Core Graphics.
#import <CoreGraphics/CoreGraphics.h>
#include <dispatch/dispatch.h>

#include <memory>
#include <vector>

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

// Tidra's callback and its target, as Core Graphics hands them back.
struct Registration {
    DisplayReconfigurationCallback callback;
    void* userInfo;
};

// Core Graphics reports a change before AppKit has caught up: a display just added may not be in
// +[NSScreen screens] yet. Tidra hears of it on the next turn of the main run loop, by when AppKit
// lists it.
void deliverLater(CGDirectDisplayID display, CGDisplayChangeSummaryFlags flags, void* info) {
    const DisplayReconfigurationCallback callback = static_cast<Registration*>(info)->callback;
    void* userInfo = static_cast<Registration*>(info)->userInfo;
    dispatch_async(dispatch_get_main_queue(), ^{
      callback(display, flags, userInfo);
    });
}

class MacScreens final : public Screens {
  public:
    ~MacScreens() override {
        for (const auto& registration : registrations_)
            CGDisplayRemoveReconfigurationCallback(deliverLater, registration.get());
    }

    std::optional<std::vector<std::shared_ptr<Screen>>> screens() override {
        NSArray* screens = [NSScreen screens];
        if (screens == nil) return std::nullopt;
        std::vector<std::shared_ptr<Screen>> all;
        for (NSScreen* screen in screens) all.push_back(std::make_shared<MacScreen>(screen));
        return all;
    }

    void registerReconfigurationCallback(DisplayReconfigurationCallback callback,
                                         void* userInfo) override {
        // Tidra never unregisters: its target lives as long as the process, and so do these
        // screens.
        registrations_.push_back(std::make_unique<Registration>(Registration{callback, userInfo}));
        CGDisplayRegisterReconfigurationCallback(deliverLater, registrations_.back().get());
    }

  private:
    std::vector<std::unique_ptr<Registration>> registrations_;
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
