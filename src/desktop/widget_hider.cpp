#include "desktop/widget_hider.h"

#include "prefs/keys.h"

namespace tidra {

namespace {
constexpr const char* kWidgetKeys[] = {prefs::kStandardHideWidgets,
                                       prefs::kStageManagerHideWidgets};
}  // namespace

bool WidgetHider::available() {
    return system_.operatingSystemVersion().isAtLeast(14);
}

bool WidgetHider::enabled() {
    UserDefaults& store = preferences_.standardUserDefaults();
    return store.objectForKey(prefs::kHideWidgets).isNil() || store.boolForKey(prefs::kHideWidgets);
}

void WidgetHider::toggleSetting() {
    UserDefaults& store = preferences_.standardUserDefaults();
    store.setBool(!enabled(), prefs::kHideWidgets);
    store.synchronize();
}

void WidgetHider::follow(bool clean) {
    if (!available()) return;
    auto windowManager = preferences_.suite(prefs::kWindowManagerDomain);
    if (!windowManager) {
        console_.log("Could not get window manager defaults");
        return;
    }
    if (clean && enabled()) {
        hide(*windowManager);
    } else {
        restore(*windowManager);
    }
}

void WidgetHider::hide(UserDefaults& windowManager) {
    UserDefaults& store = preferences_.standardUserDefaults();
    // Already hidden by Tidra (a relaunch after a crash, another refresh): the values there now
    // are Tidra's, and the user's are the ones kept before.
    if (!store.objectForKey(prefs::kUserWidgetSettings).isDictionary()) {
        Dictionary users;
        for (const char* key : kWidgetKeys) {
            Value value = windowManager.objectForKey(key);
            if (!value.isNil()) users[Value(key)] = value;
        }
        // Kept before anything changes, so that no end of Tidra can lose them; not kept, they
        // are not changed.
        store.setObject(Value(users), prefs::kUserWidgetSettings);
        if (!store.synchronize()) {
            console_.log("Could not keep the user's widget settings; widgets stay as they are");
            return;
        }
    }
    for (const char* key : kWidgetKeys) windowManager.setObject(Value(1), key);
}

void WidgetHider::restore(UserDefaults& windowManager) {
    UserDefaults& store = preferences_.standardUserDefaults();
    Value users = store.objectForKey(prefs::kUserWidgetSettings);
    if (!users.isDictionary()) return;
    for (const char* key : kWidgetKeys) {
        Value value = users[Value(key)];
        if (value.isNil()) {
            windowManager.removeObjectForKey(key);
        } else {
            windowManager.setObject(value, key);
        }
    }
    // Tidra's copy goes only once the user's values are on the disk again: an end of Tidra in
    // between would otherwise leave the widgets hidden for good. Kept, the copy is handed back
    // at the next show or launch.
    if (!windowManager.synchronize()) {
        console_.log("Could not store the window manager's widget settings; keeping the user's");
        return;
    }
    store.removeObjectForKey(prefs::kUserWidgetSettings);
    store.synchronize();
}

}  // namespace tidra
