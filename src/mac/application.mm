// NSApplication: the main interface description is loaded (objects made through Tidra's class
// registry, the status menu with its actions and bindings, outlets), the objects are woken, and
// the event loop runs, which sends the delegate its launch callbacks.
#include <cstdlib>
#include <map>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

#include "mac/descriptions.h"
#include "mac/menus.h"
#include "mac/services.h"
#include "mac/value_bridge.h"
#include "platform/interface_walk.h"

@interface TidraApplicationDelegate : NSObject <NSApplicationDelegate> {
    tidra::ApplicationDelegate* _delegate;
}
- (instancetype)initWithDelegate:(tidra::ApplicationDelegate*)delegate;
@end

@implementation TidraApplicationDelegate

- (instancetype)initWithDelegate:(tidra::ApplicationDelegate*)delegate {
    self = [super init];
    if (self != nil) _delegate = delegate;
    return self;
}

- (void)applicationWillFinishLaunching:(NSNotification*)notification {
    _delegate->applicationWillFinishLaunching(tidra::Notification{
        tidra::mac::fromNSString([notification name]), nullptr, tidra::Value()});
}

- (void)applicationDidFinishLaunching:(NSNotification*)notification {
    _delegate->applicationDidFinishLaunching(tidra::Notification{
        tidra::mac::fromNSString([notification name]), nullptr, tidra::Value()});
}

- (BOOL)applicationShouldHandleReopen:(NSApplication*)sender hasVisibleWindows:(BOOL)flag {
    (void)sender;
    return _delegate->applicationShouldHandleReopen(flag) ? YES : NO;
}

@end

namespace tidra::mac {
namespace {

// AppKit's menus for the main interface's entries.
class MacMenuFactory final : public MenuFactory {
  public:
    std::shared_ptr<MenuItem> makeItem(const std::string& title, int tag) override {
        auto item =
            std::make_shared<MacMenuItem>([[NSMenuItem alloc] initWithTitle:toNSString(title)
                                                                     action:NULL
                                                              keyEquivalent:@""]);
        [item->native() setTag:tag];
        return item;
    }
    std::shared_ptr<MenuItem> makeSeparator() override {
        return std::make_shared<MacMenuItem>([NSMenuItem separatorItem]);
    }
    void setAction(MenuItem& item, Object* target, const std::string& selector) override {
        static_cast<MacMenuItem&>(item).setAction(target, selector);
    }
    // The item shows and writes its key in the preferences store directly, so that Tidra's
    // observers see the user's choice like any other write.
    void bind(MenuItem& item, const std::string& key) override {
        [static_cast<MacMenuItem&>(item).native()
                   bind:NSValueBinding
               toObject:[NSUserDefaultsController sharedUserDefaultsController]
            withKeyPath:[@"values." stringByAppendingString:toNSString(key)]
                options:nil];
    }
    void setKeyEquivalent(MenuItem& item, const std::string& key) override {
        // With ⌘, the mask every new item has.
        [static_cast<MacMenuItem&>(item).native() setKeyEquivalent:toNSString(key)];
    }
    void setSubmenu(MenuItem& item, std::shared_ptr<Menu> submenu) override {
        static_cast<MacMenuItem&>(item).setSubmenu(std::static_pointer_cast<MacMenu>(submenu));
    }
    std::shared_ptr<Menu> makeMenu(const std::vector<std::shared_ptr<MenuItem>>& items) override {
        auto menu = std::make_shared<MacMenu>();
        for (const auto& item : items) menu->add(std::static_pointer_cast<MacMenuItem>(item));
        return menu;
    }
};

class MacApplication final : public Application {
  public:
    explicit MacApplication(Console& console) : console_(console) {}

    int applicationMain(int, char**, const ClassRegistry& classes) override {
        [NSApplication sharedApplication];
        if (!loadMainInterface(classes)) return 1;
        for (Object* object : interface_->objects()) object->awakeFromNib();
        if (auto* delegate =
                dynamic_cast<ApplicationDelegate*>(interface_->applicationDelegate())) {
            delegate_ = [[TidraApplicationDelegate alloc] initWithDelegate:delegate];
            [NSApp setDelegate:delegate_];
        }
        [NSApp run];
        return 0;
    }

    std::optional<Event> currentEvent() override {
        NSEvent* event = [NSApp currentEvent];
        if (event == nil) return std::nullopt;
        return eventOf(event);
    }

    int addLocalMonitorForEvents(unsigned mask, EventMonitorHandler handler) override {
        id monitor =
            [NSEvent addLocalMonitorForEventsMatchingMask:static_cast<NSEventMask>(mask)
                                                  handler:^NSEvent*(NSEvent* event) {
                                                    return handler(eventOf(event)) ? event : nil;
                                                  }];
        if (monitor == nil) return 0;
        monitors_[++lastMonitor_] = monitor;
        return lastMonitor_;
    }
    void removeMonitor(int monitor) override {
        auto it = monitors_.find(monitor);
        if (it == monitors_.end()) return;
        [NSEvent removeMonitor:it->second];
        monitors_.erase(it);
    }

    [[noreturn]] void terminate(Object*) override {
        [NSApp terminate:nil];
        // Only a delegate that cancels termination comes back here; Tidra's does not.
        std::exit(0);
    }
    [[noreturn]] void exit(int status) override { std::exit(status); }
    bool isActive() override { return [NSApp isActive]; }
    void activateIgnoringOtherApps(bool flag) override {
        // From macOS 14 the old call is ignored: activation is the system's to grant.
        if (@available(macOS 14.0, *)) {
            [NSApp activate];
            return;
        }
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
        [NSApp activateIgnoringOtherApps:flag ? YES : NO];
#pragma clang diagnostic pop
    }
    int processIdentifier() override {
        return [[NSProcessInfo processInfo] processIdentifier];
    }

  private:
    static Event eventOf(NSEvent* event) {
        Event out;
        switch ([event type]) {
            case NSEventTypeLeftMouseDown:
                out.type = EventType::LeftMouseDown;
                break;
            case NSEventTypeRightMouseDown:
                out.type = EventType::RightMouseDown;
                break;
            case NSEventTypeRightMouseUp:
                out.type = EventType::RightMouseUp;
                break;
            case NSEventTypeKeyDown:
                out.type = EventType::KeyDown;
                // Only key events have a key code: asking a mouse event raises.
                out.keyCode = [event keyCode];
                break;
            default:
                out.type = EventType::LeftMouseUp;
                break;
        }
        out.modifierFlags = static_cast<std::uint64_t>(
            [event modifierFlags] & NSEventModifierFlagDeviceIndependentFlagsMask);
        // Mouse events carry their window's coordinates; without a window they are the screen's.
        NSPoint at = [event locationInWindow];
        if (NSWindow* window = [event window])
            at = [window convertRectToScreen:NSMakeRect(at.x, at.y, 0, 0)].origin;
        out.locationOnScreen = Point{at.x, at.y};
        return out;
    }

    bool loadMainInterface(const ClassRegistry& classes) {
        const std::optional<Value> description = readDescription("MainMenu");
        if (!description) {
            console_.log("Tidra: the bundle has no valid MainMenu interface description");
            return false;
        }
        MacMenuFactory menus;
        auto built = buildMainInterface(*description, "MainMenu", classes, menus, console_,
                                        interfaceTexts("MainMenu"));
        if (const auto* refusal = std::get_if<MainInterfaceRefusal>(&built)) {
            console_.log(refusal->reason == MainInterfaceRefusal::Reason::UnknownClass
                             ? "Tidra: the main interface names an unknown class " + refusal->detail
                             : "Tidra: the bundle has no valid MainMenu interface description");
            return false;
        }
        interface_ = std::move(std::get<MainInterface>(built));
        return true;
    }

    Console& console_;
    // The interface's objects live as long as the process, as a main nib's do.
    std::optional<MainInterface> interface_;
    // The event monitors, by the number Tidra knows them by.
    std::map<int, id> monitors_;
    int lastMonitor_ = 0;
    TidraApplicationDelegate* delegate_ = nil;
};

}  // namespace

std::unique_ptr<Application> makeApplication(Console& console) {
    return std::make_unique<MacApplication>(console);
}

}  // namespace tidra::mac
