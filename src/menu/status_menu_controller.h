// The object that runs Tidra: it owns the status item, receives every menu action and
// notification, and keeps the desktop state read back from Finder.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "about/transluscent_window.h"
#include "desktop/display_trigger.h"
#include "desktop/finder_control.h"
#include "desktop/finder_relaunch.h"
#include "desktop/presenting_trigger.h"
#include "desktop/widget_hider.h"
#include "login/launch_at_login.h"
#include "menu/settings_window.h"
#include "notices/failure_notices.h"
#include "platform/platform.h"
#include "shortcut/keyboard_shortcut.h"
#include "wallpaper/wallpaper_chooser.h"
#include "wallpaper/wallpaper_switcher.h"

namespace tidra {

class StatusMenuController : public Object, public DesktopHiding {
  public:
    explicit StatusMenuController(const Platform& platform);
    ~StatusMenuController() override;
    StatusMenuController(const StatusMenuController&) = delete;
    StatusMenuController& operator=(const StatusMenuController&) = delete;

    // Object: the platform's runtime reaches the controller by these.
    bool performAction(const std::string& selector, Object* sender) override;
    bool performNotification(const std::string& selector, const Notification& note) override;
    bool setOutlet(const std::string& name, Object* value) override;
    void awakeFromNib() override;
    void observeValueForKeyPath(const std::optional<std::string>& keyPath, Object* object,
                                const std::optional<Dictionary>& change, void* context) override;

    // Popover.
    void initPopover();
    void showPopover(Object* sender);

    void darkModeChanged(const Notification* note);
    void applicationWasTerminated(const Notification* note);
    void applicationDidLaunch(const Notification* note);
    // The application has finished launching: what needs the platform fully up (the welcome).
    void applicationDidFinishLaunching();
    // Opened again while running: the way in, even when the menu bar hides the icon.
    void applicationReopened();

    // Login item.
    bool isLoginItem();
    void addToLoginItems();
    void removeFromLoginItems();

    void setIcon(bool clean);
    void updateStatus();
    void toggleWallpapers(bool show);
    // DesktopHiding: every way the user asks to hide or show the icons ends here. A wish made
    // while Finder restarts is carried out once it is back.
    bool cleanDesktop(bool show) override;
    void restoreWallpapers() override { toggleWallpapers(true); }

    // Opens the status menu under the icon; returns when it has closed.
    void openStatusMenu();

    // Actions.
    // A plain click toggles the desktop; a right click or ⌃-click opens the menu.
    void itemClicked(Object* sender);
    void hideMessClicked(Object* sender);
    void setReplaceWallpaperPreference(Object* sender);
    void showFeedbackDialog(Object* sender);
    void aboutClicked(Object* sender);
    void quitClicked(Object* sender);
    void hideWidgetsClicked(Object* sender);
    // "Settings…" (⌘,): the window with every option.
    void showSettingsWindow(Object* sender);
    // A URL of Tidra's scheme, as the system hands it over.
    void openURL(const std::string& url);

    // Properties.
    Menu* statusMenu() const { return statusMenu_; }
    StatusItem& statusItem() const { return *statusItem_; }
    MenuItem* wallpaperNoReplaceMenuItem() const { return wallpaperNoReplace_; }
    MenuItem* wallpaperReplaceWithImageMenuItem() const { return wallpaperImage_; }
    MenuItem* wallpaperReplaceWithGreyMenuItem() const { return wallpaperGrey_; }
    bool clean() const { return clean_; }
    UserDefaults& defaults() const { return defaults_; }
    Popover& popover() const { return *popover_; }
    const Dictionary& wallpapers() const { return wallpaper_.wallpapers(); }
    const Dictionary& wallpapersOptions() const { return wallpaper_.wallpapersOptions(); }

    bool isClean() const override { return clean_; }
    bool headedClean() const override { return relaunch_.headedClean(); }

  private:
    // Wake-up steps, in the order awakeFromNib runs them.
    void applyFirstRunRestoreFinder();
    void markWallpaperItems();
    void configureStatusButton();
    void registerObservers();
    void showWelcomeOnce();
    // "Hide Widgets" only on systems with desktop widgets, ticked as the setting is.
    void setUpWidgetsItem();
    // "Settings…", or "Preferences…" where the system still names them so (before macOS 13).
    void nameSettingsItem();
    // The URL handler, the presenting applications' launches and ends, and the option's
    // observation; and their removal.
    void registerTriggers();
    void unregisterTriggers();
    void onPresentingApplication(const Notification& note, bool launched);

    void onLaunchAtLoginChanged(const Value& newValue);
    void onRestoreFinderChanged(const Value& newValue);
    void onReplaceWallpaperChanged(const Value& newValue);
    void onHideWidgetsChanged(const Value& newValue);
    // Marks exactly one wallpaper item: the grey one when `path` is the grey image's, else the
    // custom image one. No mark when the grey image is missing.
    void markReplacementItem(const std::string& path);
    void setWallpaperMarks(int noReplace, int image, int grey);

    Platform platform_;
    FailureNotices failureNotices_;
    FinderControl finder_;
    FinderRelaunch relaunch_;
    LaunchAtLogin launchAtLogin_;
    WallpaperSwitcher wallpaper_;
    WallpaperChooser wallpaperChooser_;
    WidgetHider widgets_;

    Menu* statusMenu_ = nullptr;  // outlets: owned by the interface description
    std::shared_ptr<StatusItem> statusItem_;
    MenuItem* wallpaperNoReplace_ = nullptr;
    MenuItem* wallpaperImage_ = nullptr;
    MenuItem* wallpaperGrey_ = nullptr;
    MenuItem* hideWidgetsItem_ = nullptr;
    MenuItem* settingsItem_ = nullptr;
    bool clean_ = false;
    UserDefaults& defaults_;
    std::shared_ptr<Popover> popover_;
    std::unique_ptr<TransluscentWindow> aboutWindow_;
    bool darkMode_ = false;
    bool observing_ = false;
    DisplayTrigger displayTrigger_{*this, defaults_};
    KeyboardShortcut shortcut_;
    // The event monitor for secondary clicks (macOS 27 and later), 0 when there is none.
    int secondaryClickMonitor_ = 0;
    bool menuOpen_ = false;
    PresentingTrigger presenting_;
    bool triggersRegistered_ = false;
    // Made after everything it shows.
    std::unique_ptr<SettingsWindow> settingsWindow_;
};

}  // namespace tidra
