// Actions, notifications and key-value observations reach Tidra objects through the forwarder
// under the selector names the logic handles, under GNUstep's runtime.
#include <gtest/gtest.h>

#include <vector>

#include "mac/forwarder.h"
#include "mac/objc_memory.h"

@interface TidraObservedSetting : NSObject {
    NSNumber* _enabled;
}
- (NSNumber*)enabled;
- (void)setEnabled:(NSNumber*)enabled;
@end

@implementation TidraObservedSetting
- (NSNumber*)enabled {
    return _enabled;
}
- (void)setEnabled:(NSNumber*)enabled {
    _enabled = enabled;  // constant numbers only: nothing to own
}
@end

namespace tidra::mac {
namespace {

struct Recorder : Object {
    std::vector<std::string> calls;
    std::vector<Object*> senders;
    std::vector<Notification> notes;
    std::vector<Value> changes;
    bool performAction(const std::string& selector, Object* sender) override {
        calls.push_back(selector);
        senders.push_back(sender);
        return true;
    }
    bool performNotification(const std::string& selector, const Notification& note) override {
        calls.push_back(selector);
        notes.push_back(note);
        return true;
    }
    void observeValueForKeyPath(const std::optional<std::string>& keyPath, Object* object,
                                const std::optional<Dictionary>& change, void*) override {
        calls.push_back(keyPath.value_or("?"));
        senders.push_back(object);
        changes.push_back(change ? Value(*change)[Value("new")] : Value());
    }
};

TEST(MacForwarder, DeliversUnderTheLogicsSelectorNames) {
    @autoreleasepool {
        Recorder controller;
        Object item;
        TidraForwarder* action = TIDRA_MADE([[TidraForwarder alloc] initWithTarget:&controller
                                                                          selector:"itemClicked:"
                                                                            sender:&item]);
        EXPECT_TRUE([action respondsToSelector:[TidraForwarder action]]);
        [action send:nil];
        ASSERT_EQ(controller.calls, std::vector<std::string>{"itemClicked:"});
        EXPECT_EQ(controller.senders.back(), &item);

        NSNotificationCenter* center = TIDRA_MADE([[NSNotificationCenter alloc] init]);
        TidraForwarder* terminated =
            TIDRA_MADE([[TidraForwarder alloc] initWithTarget:&controller
                                                     selector:"applicationWasTerminated:"
                                                       sender:nullptr]);
        [center addObserver:terminated
                   selector:[TidraForwarder notificationSelector]
                       name:@"NSWorkspaceDidTerminateApplicationNotification"
                     object:nil];
        [center postNotificationName:@"NSWorkspaceDidTerminateApplicationNotification"
                              object:nil
                            userInfo:[NSDictionary
                                         dictionaryWithObject:@"com.apple.finder"
                                                       forKey:@"NSApplicationBundleIdentifier"]];
        [center postNotificationName:@"SomethingElse" object:nil];
        [center removeObserver:terminated];
        ASSERT_EQ(controller.notes.size(), 1u);
        EXPECT_EQ(controller.calls.back(), "applicationWasTerminated:");
        EXPECT_EQ(controller.notes[0].name, "NSWorkspaceDidTerminateApplicationNotification");
        EXPECT_EQ(controller.notes[0].userInfo[Value("NSApplicationBundleIdentifier")],
                  Value("com.apple.finder"));

        Object store;
        TidraObservedSetting* setting = TIDRA_MADE([[TidraObservedSetting alloc] init]);
        TidraForwarder* observer = TIDRA_MADE([[TidraForwarder alloc] initWithTarget:&controller
                                                                            selector:"enabled"
                                                                              sender:&store]);
        [setting addObserver:observer
                  forKeyPath:@"enabled"
                     options:NSKeyValueObservingOptionNew
                     context:NULL];
        [setting setEnabled:[NSNumber numberWithBool:YES]];
        [setting removeObserver:observer forKeyPath:@"enabled"];
        [setting setEnabled:[NSNumber numberWithBool:NO]];
        ASSERT_EQ(controller.changes.size(), 1u);
        EXPECT_EQ(controller.calls.back(), "enabled");
        EXPECT_EQ(controller.senders.back(), &store);
        EXPECT_EQ(controller.changes[0].kind(), Value::Kind::Boolean);
        EXPECT_TRUE(controller.changes[0].boolValue());
    }
}

}  // namespace
}  // namespace tidra::mac
