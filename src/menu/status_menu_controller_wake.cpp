// The wake-up: the order matters, because the preference observers come late on purpose so
// that the state read back at launch starts no login-item or Finder change.
#include "menu/status_menu_controller.h"
#include "prefs/keys.h"

namespace tidra {

void StatusMenuController::awakeFromNib() {
    applyFirstRunRestoreFinder();
    markWallpaperItems();
    setUpWidgetsItem();
    nameSettingsItem();
    wallpaper_.loadRecords();
    statusItem_->setTitle("Tidra");
    setIcon(false);
    updateStatus();
    configureStatusButton();
    launchAtLogin_.takeStockAtLaunch();
    registerObservers();
    // Tidra may have ended while Finder was restarting, and nothing else brings Finder back.
    relaunch_.startIfNotRunning();
    platform_.screens.registerReconfigurationCallback(&displayReconfigurationCallback,
                                                      &displayTrigger_);
    shortcut_.registerStored();
    registerTriggers();
    initPopover();
    Object::awakeFromNib();
}

void StatusMenuController::applicationDidFinishLaunching() {
    // Before this the platform shows no popover, and a move to Applications may still end
    // this copy: the welcome waits for a launch that has really finished.
    showWelcomeOnce();
}

void StatusMenuController::applyFirstRunRestoreFinder() {
    if (!defaults_.objectForKey(prefs::kHasSetRestoreFinderPref).isNil()) return;
    if (auto finder = finder_.finderDefaults()) {
        finder->setBool(true, prefs::kQuitAlwaysKeepsWindows);
        defaults_.setBool(true, prefs::kRestoreFinder);
        defaults_.synchronize();
    }
    // Marked even when Finder's domain was out of reach: a later choice is never overridden.
    defaults_.setBool(true, prefs::kHasSetRestoreFinderPref);
    defaults_.synchronize();
}

void StatusMenuController::markWallpaperItems() {
    if (defaults_.objectForKey(prefs::kReplaceWallpaper).isNil()) {
        setWallpaperMarks(kControlStateOn, kControlStateOff, kControlStateOff);
        return;
    }
    setWallpaperMarks(kControlStateOff, kControlStateOff, kControlStateOff);
    auto chosen = defaults_.URLForKey(prefs::kReplaceWallpaper);
    if (!chosen) return;
    if (auto path = chosen->path()) markReplacementItem(*path);
}

void StatusMenuController::registerObservers() {
    platform_.workspace.notificationCenter().addObserver(
        this, "applicationWasTerminated:", kWorkspaceDidTerminateApplicationNotification, nullptr);
    platform_.workspace.notificationCenter().addObserver(
        this, "applicationDidLaunch:", kWorkspaceDidLaunchApplicationNotification, nullptr);
    defaults_.addObserver(this, prefs::kLaunchAtLogin, kKeyValueObservingOptionNew, nullptr);
    defaults_.addObserver(this, prefs::kRestoreFinder, kKeyValueObservingOptionNew, nullptr);
    defaults_.addObserver(this, prefs::kReplaceWallpaper, kKeyValueObservingOptionNew, nullptr);
    defaults_.addObserver(this, prefs::kHideWidgets, kKeyValueObservingOptionNew, nullptr);
    // A menu-bar agent is hardly ever the active application, and the center holds back
    // notifications for inactive ones: the icon would follow the theme late or never.
    platform_.distributedNotifications.addObserver(
        this, "darkModeChanged:", kInterfaceThemeChangedNotification, nullptr,
        NotificationSuspensionBehavior::DeliverImmediately);
    observing_ = true;
}

void StatusMenuController::showWelcomeOnce() {
    if (!defaults_.objectForKey(prefs::kHasShownWelcomeMessage).isNil()) return;
    showPopover(nullptr);
    // Counted only once the user can see it: without a button to show it under, or with the
    // platform refusing, the next launch offers it again.
    if (!popover_->isShown()) return;
    defaults_.setBool(true, prefs::kHasShownWelcomeMessage);
    defaults_.synchronize();
}

}  // namespace tidra
