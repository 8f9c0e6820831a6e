#include "menu/settings_window.h"

#include "notices/settings_places.h"
#include "platform/paths.h"
#include "prefs/keys.h"
#include "wallpaper/wallpaper_chooser.h"

namespace tidra {

namespace {

constexpr const char* kFrameAutosaveName = "TidraSettings";
constexpr std::uint16_t kKeyCodeW = 0x0D;

// What the window says about the icon: nothing while the menu bar shows it.
std::string menuBarHint(Bundle& b, bool iconShown, OperatingSystemVersion system,
                        const std::string& shortcut) {
    if (iconShown) return "";
    const std::string missing =
        system.isAtLeast(26)
            ? localizedString(b,
                              "Tidra's icon is hidden from the menu bar. To show it again, open "
                              "System Settings › Menu Bar and switch Tidra on under “Allow in the "
                              "Menu Bar”.",
                              "Settings window: the menu bar of macOS 26 and later hides Tidra's "
                              "icon")
            : localizedString(b,
                              "Tidra's icon is not in the menu bar. Quit Tidra and open it again "
                              "to bring the icon back.",
                              "Settings window: the icon is not in the menu bar, before macOS 26");
    const std::string meanwhile =
        shortcut.empty()
            ? localizedString(b,
                              "Meanwhile a tidra://hide or tidra://show link still hides or shows "
                              "the desktop.",
                              "Settings window, after the sentence on the missing icon, when no "
                              "shortcut is set")
            : formatText(localizedString(b,
                                         "Meanwhile your shortcut %@ still hides and shows the "
                                         "desktop.",
                                         "Settings window, after the sentence on the missing "
                                         "icon; %@ is the shortcut, such as ⌃⌥⌘H"),
                         {shortcut});
    return sentences(b, missing, meanwhile);
}

}  // namespace

SettingsWindow::SettingsWindow(Services services, Features features)
    : WindowController(services.interfaces, "SettingsWindow"), s_(services), f_(features) {}

SettingsWindow::~SettingsWindow() {
    if (keyMonitor_) s_.application.removeMonitor(keyMonitor_);
}

void SettingsWindow::windowDidLoad() {
    WindowController::windowDidLoad();
    Window* w = window();
    if (!w) return;
    w->setTitle(s_.system.operatingSystemVersion().isAtLeast(13)
                    ? localizedString(s_.bundle, "Tidra Settings",
                                      "Title of the Settings window, macOS 13 and later")
                    : localizedString(s_.bundle, "Tidra Preferences",
                                      "Title of the Settings window, before macOS 13"));
    if (View* content = w->contentView()) rows_.capture(*content);
    // Centred the first time; after that where the user left it.
    w->center();
    w->setFrameAutosaveName(kFrameAutosaveName);
}

void SettingsWindow::showWindow(Object* sender) {
    // Loaded first, so that every control shows the state before the window does.
    if (!window()) return;
    refresh();
    if (!keyMonitor_)
        keyMonitor_ = s_.application.addLocalMonitorForEvents(
            eventMask(EventType::KeyDown), [this](const Event& e) { return keyDown(e); });
    WindowController::showWindow(sender);
}

bool SettingsWindow::isOpen() {
    return isWindowLoaded() && window() && window()->isVisible();
}

void SettingsWindow::closeForQuit() {
    alive_.reset();
    if (keyMonitor_) s_.application.removeMonitor(keyMonitor_);
    keyMonitor_ = 0;
    if (isOpen()) window()->close();
}

std::optional<Event> SettingsWindow::keyDown(const Event& event) {
    if (event.type != EventType::KeyDown || !isOpen() || !window()->isKeyWindow()) return event;
    const std::uint64_t modifiers =
        event.modifierFlags & (kEventModifierFlagCommand | kEventModifierFlagControl |
                               kEventModifierFlagOption | kEventModifierFlagShift);
    const bool commandW = modifiers == kEventModifierFlagCommand && event.keyCode == kKeyCodeW;
    const bool escape = modifiers == 0 && event.keyCode == kEscapeKeyCode;
    if (!commandW && !escape) return event;
    window()->close();
    return std::nullopt;
}

void SettingsWindow::refresh() {
    showLogin();
    showWallpaper();
    showWidgets();
    showShortcut("");
    showPresenting("");
    showMenuBarHint();
}

void SettingsWindow::showLogin() {
    if (!isWindowLoaded()) return;
    // The switch is bound to the setting; the setting first takes what the system reports.
    f_.launchAtLogin.followSystem();
    const bool approval = f_.launchAtLogin.needsApproval();
    if (loginStatus_)
        loginStatus_->setStringValue(
            approval ? formatText(localizedString(s_.bundle,
                                                  "Tidra opens at login once you allow it in %@.",
                                                  "Settings window, when the approval of the "
                                                  "login item is still missing (macOS 13 and "
                                                  "later); %@ is where"),
                                  {loginItemsPlace(s_.bundle, s_.system.operatingSystemVersion())})
                     : "");
    if (loginStatus_) loginStatus_->setHidden(!approval);
    if (openLoginItems_) openLoginItems_->setHidden(!approval);
    rows_.closeUpHiddenRows();
}

void SettingsWindow::loginSettingChanged() {
    showLogin();
}

void SettingsWindow::setWallpaperMarks(int noReplace, int image, int grey) {
    marks_[0] = noReplace;
    marks_[1] = image;
    marks_[2] = grey;
    showWallpaper();
}

void SettingsWindow::showWallpaper() {
    if (!isWindowLoaded()) return;
    if (keepWallpaper_) keepWallpaper_->setState(marks_[0]);
    if (imageWallpaper_) imageWallpaper_->setState(marks_[1]);
    if (greyWallpaper_) greyWallpaper_->setState(marks_[2]);
    std::optional<std::string> picture;
    if (marks_[1] == kControlStateOn)
        if (auto chosen = s_.defaults.URLForKey(prefs::kReplaceWallpaper)) picture = chosen->path();
    if (pictureName_)
        pictureName_->setStringValue(picture ? paths::lastPathComponent(*picture)
                                             : localizedString(s_.bundle, "No picture chosen",
                                                               "Settings window, under Custom "
                                                               "Image, when no picture is "
                                                               "chosen"));
    if (picturePreview_) picturePreview_->setImageFile(picture);
}

void SettingsWindow::choosePicture() {
    f_.chooseWallpaper(kWallpaperCustomImageTag);
    // A radio button turns itself on when clicked; until a picture is in, the marks stand.
    showWallpaper();
}

void SettingsWindow::widgetsSettingChanged() {
    showWidgets();
}

void SettingsWindow::showWidgets() {
    if (!isWindowLoaded() || !hideWidgets_) return;
    // Desktop widgets came with macOS 14: before, the switch would change nothing.
    hideWidgets_->setHidden(!f_.widgetsAvailable());
    rows_.closeUpHiddenRows();
    hideWidgets_->setState(f_.hidesWidgets() ? kControlStateOn : kControlStateOff);
}

void SettingsWindow::showMenuBarHint() {
    if (!isWindowLoaded() || !menuBarHint_) return;
    const std::string hint =
        menuBarHint(s_.bundle, f_.iconShown(), s_.system.operatingSystemVersion(),
                    f_.shortcut.isRegistered() ? f_.shortcut.currentText() : "");
    menuBarHint_->setStringValue(hint);
    menuBarHint_->setHidden(hint.empty());
    rows_.closeUpHiddenRows();
}

bool SettingsWindow::performAction(const std::string& selector, Object* sender) {
    if (selector == "shortcutTyped:") {
        shortcutTyped(sender);
    } else if (selector == "clearShortcut:") {
        f_.shortcut.clear();
        showShortcut("");
    } else if (selector == "setReplaceWallpaperPreference:") {
        if (auto* radio = dynamic_cast<Button*>(sender)) f_.chooseWallpaper(radio->tag());
        showWallpaper();
    } else if (selector == "choosePicture:") {
        choosePicture();
    } else if (selector == "hideWidgetsClicked:") {
        f_.toggleHideWidgets();
        showWidgets();
    } else if (selector == "openLoginItems:") {
        f_.launchAtLogin.openLoginItemsSettings();
    } else if (selector == "addPresentingApp:") {
        addPresentingApp();
    } else if (selector == "removePresentingApp:") {
        removePresentingApp();
    } else if (selector == "restorePresentingApps:") {
        restorePresentingApps();
    } else if (selector == "presentingSelectionChanged:") {
        if (removePresenting_)
            removePresenting_->setEnabled(presentingList_ && presentingList_->selectedRow());
    } else {
        return WindowController::performAction(selector, sender);
    }
    return true;
}

bool SettingsWindow::setOutlet(const std::string& name, Object* value) {
    auto* text = dynamic_cast<TextField*>(value);
    auto* button = dynamic_cast<Button*>(value);
    if (name == "loginStatus") {
        loginStatus_ = text;
    } else if (name == "openLoginItemsButton") {
        openLoginItems_ = button;
    } else if (name == "hideWidgetsSwitch") {
        hideWidgets_ = button;
    } else if (name == "keepWallpaperRadio") {
        keepWallpaper_ = button;
    } else if (name == "greyWallpaperRadio") {
        greyWallpaper_ = button;
    } else if (name == "imageWallpaperRadio") {
        imageWallpaper_ = button;
    } else if (name == "pictureName") {
        pictureName_ = text;
    } else if (name == "picturePreview") {
        picturePreview_ = dynamic_cast<ImageView*>(value);
    } else if (name == "shortcutLabel") {
        shortcutLabel_ = text;
    } else if (name == "shortcutMessage") {
        shortcutMessage_ = text;
        if (text) shortcutExplanation_ = text->stringValue();
    } else if (name == "presentingList") {
        presentingList_ = dynamic_cast<ListView*>(value);
    } else if (name == "removePresentingButton") {
        removePresenting_ = button;
    } else if (name == "presentingMessage") {
        presentingMessage_ = text;
    } else if (name == "menuBarHint") {
        menuBarHint_ = text;
    } else {
        return WindowController::setOutlet(name, value);
    }
    return true;
}

}  // namespace tidra
