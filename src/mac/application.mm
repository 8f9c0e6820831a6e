// NSApplication: the main interface description is loaded (objects made through Tidra's class
// registry, the status menu with its actions and bindings, outlets), the objects are woken, and
// the event loop runs, which sends the delegate its launch callbacks.
#include <cstdlib>
#include <utility>
#include <vector>

#include "mac/descriptions.h"
#include "mac/menus.h"
#include "mac/services.h"
#include "mac/value_bridge.h"

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

@end

namespace tidra::mac {
namespace {

class MacApplication final : public Application {
  public:
    explicit MacApplication(Console& console) : console_(console) {}

    int applicationMain(int, char**, const ClassRegistry& classes) override {
        [NSApplication sharedApplication];
        if (!loadMainInterface(classes)) return 1;
        for (auto& [identifier, object] : objects_) object->awakeFromNib();
        if (auto* delegate = dynamic_cast<ApplicationDelegate*>(object(delegateId_))) {
            delegate_ = [[TidraApplicationDelegate alloc] initWithDelegate:delegate];
            [NSApp setDelegate:delegate_];
        }
        [NSApp run];
        return 0;
    }

    std::optional<Event> currentEvent() override {
        NSEvent* event = [NSApp currentEvent];
        if (event == nil) return std::nullopt;
        switch ([event type]) {
            case NSEventTypeLeftMouseDown:
                return Event{EventType::LeftMouseDown};
            case NSEventTypeRightMouseDown:
                return Event{EventType::RightMouseDown};
            case NSEventTypeRightMouseUp:
                return Event{EventType::RightMouseUp};
            default:
                return Event{EventType::LeftMouseUp};
        }
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
    Object* object(const std::string& identifier) const {
        for (const auto& [name, made] : objects_)
            if (name == identifier) return made.get();
        return nullptr;
    }

    bool loadMainInterface(const ClassRegistry& classes) {
        NSDictionary* description = readDescription("MainMenu");
        if (description == nil) {
            console_.log("Tidra: the bundle has no valid MainMenu interface description");
            return false;
        }
        delegateId_ = fromNSString(stringIn(description, @"applicationDelegate", @""));
        for (id node in arrayIn(description, @"objects")) {
            if (![node isKindOfClass:[NSDictionary class]]) continue;
            const std::string cls = fromNSString(stringIn(node, @"class", @""));
            std::shared_ptr<Object> made = classes.make(cls);
            if (!made) {
                console_.log("Tidra: the main interface names an unknown class " + cls);
                return false;
            }
            objects_.emplace_back(fromNSString(stringIn(node, @"id", @"")), std::move(made));
        }
        for (id node in arrayIn(description, @"menus"))
            if ([node isKindOfClass:[NSDictionary class]]) buildMenu(node);
        for (id node in arrayIn(description, @"outlets")) {
            if (![node isKindOfClass:[NSDictionary class]]) continue;
            Object* owner = object(fromNSString(stringIn(node, @"object", @"")));
            Object* value = named(fromNSString(stringIn(node, @"destination", @"")));
            if (owner != nullptr && value != nullptr)
                owner->setOutlet(fromNSString(stringIn(node, @"name", @"")), value);
        }
        return true;
    }

    std::shared_ptr<MacMenu> buildMenu(NSDictionary* node) {
        auto menu = std::make_shared<MacMenu>();
        for (id entry in arrayIn(node, @"items")) {
            if (![entry isKindOfClass:[NSDictionary class]]) continue;
            auto item = std::make_shared<MacMenuItem>(
                numberIn(entry, @"separator", 0) != 0
                    ? [NSMenuItem separatorItem]
                    : [[NSMenuItem alloc] initWithTitle:stringIn(entry, @"title", @"")
                                                 action:NULL
                                          keyEquivalent:@""]);
            [item->native() setTag:static_cast<NSInteger>(numberIn(entry, @"tag", 0))];
            NSString* action = stringIn(entry, @"action", nil);
            if (action != nil)
                item->setAction(object(fromNSString(stringIn(entry, @"target", @""))),
                                fromNSString(action));
            // A setting's item shows and writes its key in the preferences store directly, so
            // that Tidra's observers see the user's choice like any other write.
            if (NSString* key = stringIn(entry, @"bind", nil))
                [item->native() bind:NSValueBinding
                            toObject:[NSUserDefaultsController sharedUserDefaultsController]
                         withKeyPath:[@"values." stringByAppendingString:key]
                             options:nil];
            if (NSDictionary* submenu = dictionaryIn(entry, @"submenu"))
                item->setSubmenu(buildMenu(submenu));
            if (NSString* identifier = stringIn(entry, @"id", nil))
                items_.emplace_back(fromNSString(identifier), item);
            menu->add(item);
        }
        if (NSString* identifier = stringIn(node, @"id", nil))
            menus_.emplace_back(fromNSString(identifier), menu);
        return menu;
    }

    Object* named(const std::string& identifier) const {
        if (Object* made = object(identifier)) return made;
        for (const auto& [name, menu] : menus_)
            if (name == identifier) return menu.get();
        for (const auto& [name, item] : items_)
            if (name == identifier) return item.get();
        return nullptr;
    }

    Console& console_;
    std::string delegateId_;
    // The interface's objects live as long as the process, as a main nib's do.
    std::vector<std::pair<std::string, std::shared_ptr<Object>>> objects_;
    std::vector<std::pair<std::string, std::shared_ptr<MacMenu>>> menus_;
    std::vector<std::pair<std::string, std::shared_ptr<MacMenuItem>>> items_;
    TidraApplicationDelegate* delegate_ = nil;
};

}  // namespace

std::unique_ptr<Application> makeApplication(Console& console) {
    return std::make_unique<MacApplication>(console);
}

}  // namespace tidra::mac
