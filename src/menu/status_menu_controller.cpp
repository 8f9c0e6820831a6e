#include "menu/status_menu_controller.h"

#include <string_view>
#include <utility>

#include "prefs/keys.h"

namespace tidra {

StatusMenuController::StatusMenuController(const Platform& platform)
    : platform_(platform),
      failureNotices_(platform.userNotifications, platform.mainBundle, platform.system),
      finder_(platform.preferences, platform.workspace),
      relaunch_(finder_, platform.workspace, platform.dispatch, platform.console,
                {[this] { updateStatus(); }, [this] { return clean_; }}),
      launchAtLogin_({platform.preferences.standardUserDefaults(), platform.appleScript,
                      platform.dispatch, platform.mainBundle, platform.appService,
                      platform.fileManager, platform.system, platform.console, failureNotices_}),
      wallpaper_({platform.preferences.standardUserDefaults(), platform.archiver,
                  platform.workspace, platform.screens, platform.mainBundle, platform.fileManager,
                  platform.dispatch, platform.console},
                 [this] { return clean_; }),
      wallpaperChooser_({platform.preferences.standardUserDefaults(), platform.mainBundle,
                         platform.fileManager, platform.ui, platform.system,
                         platform.userNotifications, platform.console, failureNotices_,
                         [this] { return wallpaper_.usersPictures(); }}),
      widgets_(platform.preferences, platform.system, platform.console),
      statusItem_(platform.statusBar.statusItemWithLength(kVariableStatusItemLength)),
      defaults_(platform.preferences.standardUserDefaults()),
      popover_(platform.ui.makePopover()),
      aboutWindow_(std::make_unique<TransluscentWindow>(platform.interfaces, platform.ui,
                                                        platform.mainBundle, platform.workspace,
                                                        platform.system)),
      // A press does what a click on the status item does.
      shortcut_({defaults_, platform.hotKeys, platform.mainBundle, platform.console},
                [this] { hideMessClicked(nullptr); }),
      presenting_({defaults_, platform.workspace, platform.console},
                  static_cast<DesktopHiding&>(*this)),
      settingsWindow_(std::make_unique<SettingsWindow>(
          SettingsWindow::Services{platform.interfaces, platform.application, platform.ui,
                                   platform.workspace, platform.fileManager, platform.archiver,
                                   defaults_, platform.mainBundle, platform.system,
                                   platform.console},
          SettingsWindow::Features{launchAtLogin_, shortcut_, presenting_,
                                   [this](int tag) { wallpaperChooser_.choose(tag); },
                                   [this] { widgets_.toggleSetting(); },
                                   [this] { return widgets_.available(); },
                                   [this] { return widgets_.enabled(); },
                                   [this] { return statusItem_->isShownInMenuBar(); }})) {}

StatusMenuController::~StatusMenuController() {
    unregisterTriggers();
    if (secondaryClickMonitor_) platform_.application.removeMonitor(secondaryClickMonitor_);
    // Only what the wake-up registered: an unbalanced removal is an error on the platform.
    if (!observing_) return;
    platform_.workspace.notificationCenter().removeObserver(
        this, kWorkspaceDidTerminateApplicationNotification, nullptr);
    platform_.workspace.notificationCenter().removeObserver(
        this, kWorkspaceDidLaunchApplicationNotification, nullptr);
    defaults_.removeObserver(this, prefs::kLaunchAtLogin, nullptr);
    defaults_.removeObserver(this, prefs::kRestoreFinder, nullptr);
    defaults_.removeObserver(this, prefs::kReplaceWallpaper, nullptr);
    defaults_.removeObserver(this, prefs::kHideWidgets, nullptr);
    platform_.distributedNotifications.removeObserver(this, kInterfaceThemeChangedNotification,
                                                      nullptr);
}

bool StatusMenuController::performAction(const std::string& selector, Object* sender) {
    using Action = void (StatusMenuController::*)(Object*);
    // The actions the interface descriptions and the status item's button send.
    static constexpr std::pair<std::string_view, Action> kActions[] = {
        {"itemClicked:", &StatusMenuController::itemClicked},
        {"hideMessClicked:", &StatusMenuController::hideMessClicked},
        {"setReplaceWallpaperPreference:", &StatusMenuController::setReplaceWallpaperPreference},
        {"showFeedbackDialog:", &StatusMenuController::showFeedbackDialog},
        {"aboutClicked:", &StatusMenuController::aboutClicked},
        {"quitClicked:", &StatusMenuController::quitClicked},
        {"hideWidgetsClicked:", &StatusMenuController::hideWidgetsClicked},
        {"showSettingsWindow:", &StatusMenuController::showSettingsWindow},
        {"showPopover:", &StatusMenuController::showPopover},
    };
    for (const auto& [name, action] : kActions) {
        if (name != selector) continue;
        (this->*action)(sender);
        return true;
    }
    return Object::performAction(selector, sender);
}

bool StatusMenuController::performNotification(const std::string& selector,
                                               const Notification& note) {
    if (selector == "applicationWasTerminated:") {
        applicationWasTerminated(&note);
    } else if (selector == "applicationDidLaunch:") {
        applicationDidLaunch(&note);
    } else if (selector == "darkModeChanged:") {
        darkModeChanged(&note);
    } else if (selector == "presentingApplicationLaunched:") {
        onPresentingApplication(note, true);
    } else if (selector == "presentingApplicationTerminated:") {
        onPresentingApplication(note, false);
    } else {
        return Object::performNotification(selector, note);
    }
    return true;
}

bool StatusMenuController::setOutlet(const std::string& name, Object* value) {
    if (name == "statusMenu") {
        statusMenu_ = dynamic_cast<Menu*>(value);
    } else if (name == "wallpaperNoReplaceMenuItem") {
        wallpaperNoReplace_ = dynamic_cast<MenuItem*>(value);
    } else if (name == "wallpaperReplaceWithImageMenuItem") {
        wallpaperImage_ = dynamic_cast<MenuItem*>(value);
    } else if (name == "wallpaperReplaceWithGreyMenuItem") {
        wallpaperGrey_ = dynamic_cast<MenuItem*>(value);
    } else if (name == "hideWidgetsMenuItem") {
        hideWidgetsItem_ = dynamic_cast<MenuItem*>(value);
    } else if (name == "settingsMenuItem") {
        settingsItem_ = dynamic_cast<MenuItem*>(value);
    } else {
        return Object::setOutlet(name, value);
    }
    return true;
}

bool StatusMenuController::isLoginItem() {
    return launchAtLogin_.isLoginItem();
}

void StatusMenuController::addToLoginItems() {
    launchAtLogin_.change(true, true);
}

void StatusMenuController::removeFromLoginItems() {
    launchAtLogin_.change(false, true);
}

bool StatusMenuController::cleanDesktop(bool show) {
    return relaunch_.request(show);
}

void StatusMenuController::toggleWallpapers(bool show) {
    wallpaper_.toggle(show);
}

void StatusMenuController::hideMessClicked(Object*) {
    toggleDesktop();
}

void StatusMenuController::setReplaceWallpaperPreference(Object* sender) {
    if (auto* item = dynamic_cast<MenuItem*>(sender)) wallpaperChooser_.choose(item->tag());
}

void StatusMenuController::showFeedbackDialog(Object*) {
    platform_.devMate.showFeedbackDialog(nullptr, 0);
}

void StatusMenuController::aboutClicked(Object*) {
    aboutWindow_->showWindow(this);
}

void StatusMenuController::quitClicked(Object*) {
    settingsWindow_->closeForQuit();
    shortcut_.unregister();
    platform_.application.terminate(this);
}

void StatusMenuController::showSettingsWindow(Object*) {
    settingsWindow_->showWindow(this);
}

void StatusMenuController::nameSettingsItem() {
    if (settingsItem_)
        settingsItem_->setTitle(
            platform_.system.operatingSystemVersion().isAtLeast(13)
                ? localizedString(platform_.mainBundle, "Settings…",
                                  "Menu item that opens the Settings window, macOS 13 and later")
                : localizedString(platform_.mainBundle, "Preferences…",
                                  "Menu item that opens the Settings window, before macOS 13"));
}

}  // namespace tidra
