// What drives Tidra besides its status item: URLs of its scheme and the presentation
// applications' launches and ends.
#include "desktop/url_commands.h"
#include "menu/status_menu_controller.h"
#include "prefs/keys.h"

namespace tidra {

void StatusMenuController::registerTriggers() {
    platform_.urlEvents.setGetURLHandler([this](const std::string& url) { openURL(url); });
    NotificationCenter& center = platform_.workspace.notificationCenter();
    center.addObserver(this,
                       "presentingApplicationLaunched:", kWorkspaceDidLaunchApplicationNotification,
                       nullptr);
    center.addObserver(this, "presentingApplicationTerminated:",
                       kWorkspaceDidTerminateApplicationNotification, nullptr);
    defaults_.addObserver(this, prefs::kHideWhilePresenting, kKeyValueObservingOptionNew, nullptr);
    triggersRegistered_ = true;
    presenting_.settleAtLaunch();
}

void StatusMenuController::unregisterTriggers() {
    if (!triggersRegistered_) return;
    triggersRegistered_ = false;
    platform_.urlEvents.setGetURLHandler(nullptr);
    // The termination observer of the wake-up goes with the same call, by name.
    platform_.workspace.notificationCenter().removeObserver(
        this, kWorkspaceDidLaunchApplicationNotification, nullptr);
    defaults_.removeObserver(this, prefs::kHideWhilePresenting, nullptr);
}

void StatusMenuController::openURL(const std::string& url) {
    openTidraUrl(url, *this, platform_.console);
}

void StatusMenuController::onPresentingApplication(const Notification& note, bool launched) {
    if (!note.userInfo.isStringKeyedDictionary()) return;
    const Value identifier = note.userInfo[Value(kApplicationBundleIdentifierKey)];
    if (!identifier.isString()) return;
    if (launched)
        presenting_.applicationLaunched(identifier.string());
    else
        presenting_.applicationTerminated(identifier.string());
}

}  // namespace tidra
