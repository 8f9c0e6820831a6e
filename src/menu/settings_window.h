// The Settings window (⌘, in the status menu, and what opening Tidra again shows): every option
// of the menu in one place, bound to the same stored keys or sent to the same behaviours, so the
// menu and the window are two views of one state. It also holds the keyboard shortcut's recorder
// and the list of applications that count as presenting.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "desktop/presenting_trigger.h"
#include "login/launch_at_login.h"
#include "menu/closing_rows.h"
#include "platform/application.h"
#include "platform/bundle.h"
#include "platform/console.h"
#include "platform/defaults.h"
#include "platform/file_manager.h"
#include "platform/hot_keys.h"
#include "platform/interface_loader.h"
#include "platform/menus.h"
#include "platform/system_info.h"
#include "platform/ui.h"
#include "platform/workspace.h"
#include "shortcut/keyboard_shortcut.h"

namespace tidra {

class SettingsWindow : public WindowController {
  public:
    struct Services {
        InterfaceLoader& interfaces;
        Application& application;
        Ui& ui;
        Workspace& workspace;
        FileManager& files;
        Archiver& propertyLists;
        UserDefaults& defaults;
        Bundle& bundle;
        SystemInfo& system;
        Console& console;
    };
    // What the window shows and changes: the same behaviours the menu reaches.
    struct Features {
        LaunchAtLogin& launchAtLogin;
        KeyboardShortcut& shortcut;
        PresentingTrigger& presenting;
        // The wallpaper choice by the menu's tags (none, custom image, grey).
        std::function<void(int tag)> chooseWallpaper;
        std::function<void()> toggleHideWidgets;
        // Whether the system has desktop widgets, and whether Tidra hides them.
        std::function<bool()> widgetsAvailable;
        std::function<bool()> hidesWidgets;
        // Whether the menu bar shows Tidra's icon.
        std::function<bool()> iconShown;
    };
    SettingsWindow(Services services, Features features);
    ~SettingsWindow() override;
    SettingsWindow(const SettingsWindow&) = delete;
    SettingsWindow& operator=(const SettingsWindow&) = delete;

    // Opens with everything read afresh, or comes forward when open.
    void showWindow(Object* sender) override;
    void windowDidLoad() override;
    bool isOpen();

    // The menu's wallpaper marks, kept for the window whether it is loaded or not.
    void setWallpaperMarks(int noReplace, int image, int grey);
    // Hide Widgets changed (by the menu, the window or by hand).
    void widgetsSettingChanged();
    // Launch at Login changed: what the system now reports.
    void loginSettingChanged();
    // The shortcut changed elsewhere, or a stored one could not be registered.
    void shortcutChanged();
    // Before Tidra quits: the window's monitor goes, and an open panel is no longer answered.
    void closeForQuit();

    bool performAction(const std::string& selector, Object* sender) override;
    bool setOutlet(const std::string& name, Object* value) override;

  private:
    // Each part, read afresh from what it shows.
    void refresh();
    void showLogin();
    void showWallpaper();
    void showWidgets();
    void showShortcut(const std::string& message);
    void showPresenting(const std::string& message);
    void showMenuBarHint();

    void shortcutTyped(Object* sender);
    void choosePicture();
    void addPresentingApp();
    void presentingAppChosen(long response, const std::optional<Url>& chosen);
    void removePresentingApp();
    void restorePresentingApps();
    void presentingListEdited(const std::string& message);
    // ⌘W and Escape close the window: a menu-bar application has no File menu to do it.
    std::optional<Event> keyDown(const Event& event);

    Services s_;
    Features f_;
    int marks_[3] = {kControlStateOn, kControlStateOff, kControlStateOff};
    int keyMonitor_ = 0;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    // Outlets: the window's view hierarchy owns them.
    TextField* loginStatus_ = nullptr;
    Button* openLoginItems_ = nullptr;
    Button* hideWidgets_ = nullptr;
    Button* keepWallpaper_ = nullptr;
    Button* greyWallpaper_ = nullptr;
    Button* imageWallpaper_ = nullptr;
    TextField* pictureName_ = nullptr;
    ImageView* picturePreview_ = nullptr;
    TextField* shortcutLabel_ = nullptr;
    TextField* shortcutMessage_ = nullptr;
    std::string shortcutExplanation_;  // what the message says when there is nothing else
    ListView* presentingList_ = nullptr;
    Button* removePresenting_ = nullptr;
    TextField* presentingMessage_ = nullptr;
    TextField* menuBarHint_ = nullptr;
    // Rows a system or a state does without (the approval line, Hide Widgets before macOS 14,
    // the menu-bar hint) leave no gap.
    ClosingRows rows_;
};

}  // namespace tidra
