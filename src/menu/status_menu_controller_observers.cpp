// Reactions to preference changes, Finder's termination and theme changes.
#include "menu/status_menu_controller.h"
#include "platform/paths.h"
#include "prefs/keys.h"

namespace tidra {

void StatusMenuController::observeValueForKeyPath(const std::optional<std::string>& keyPath,
                                                  Object* object,
                                                  const std::optional<Dictionary>& change,
                                                  void* context) {
    void (StatusMenuController::*reaction)(const Value&) = nullptr;
    if (keyPath == prefs::kLaunchAtLogin) {
        reaction = &StatusMenuController::onLaunchAtLoginChanged;
    } else if (keyPath == prefs::kRestoreFinder) {
        reaction = &StatusMenuController::onRestoreFinderChanged;
    } else if (keyPath == prefs::kReplaceWallpaper) {
        reaction = &StatusMenuController::onReplaceWallpaperChanged;
    } else if (keyPath == prefs::kHideWidgets) {
        reaction = &StatusMenuController::onHideWidgetsChanged;
    } else if (keyPath == prefs::kHideWhilePresenting) {
        if (!change) return;
        auto entry = change->find(Value(kKeyValueChangeNewKey));
        // Removing the key turns the option off.
        presenting_.optionChanged(entry != change->end() && entry->second.isBoolean() &&
                                  entry->second.boolValue());
        return;
    } else {
        Object::observeValueForKeyPath(keyPath, object, change, context);
        return;
    }
    if (!change) return;
    auto entry = change->find(Value(kKeyValueChangeNewKey));
    (this->*reaction)(entry == change->end() ? Value() : entry->second);
}

void StatusMenuController::onLaunchAtLoginChanged(const Value& newValue) {
    launchAtLogin_.preferenceChanged(newValue);
    settingsWindow_->loginSettingChanged();
}

void StatusMenuController::onRestoreFinderChanged(const Value& newValue) {
    if (!newValue.isBoolean()) return;
    if (auto finder = finder_.finderDefaults())
        finder->setBool(newValue.boolValue(), prefs::kQuitAlwaysKeepsWindows);
}

void StatusMenuController::onReplaceWallpaperChanged(const Value& newValue) {
    // A choice made while the icons are hidden is what the user wants to see now.
    wallpaper_.choiceChanged();
    if (newValue.isNull()) {  // the key was removed: no replacement
        setWallpaperMarks(kControlStateOn, kControlStateOff, kControlStateOff);
        return;
    }
    setWallpaperMarks(kControlStateOff, kControlStateOff, kControlStateOff);
    // The store hands a file URL over as its path string.
    if (!newValue.isString()) return;
    markReplacementItem(newValue.string());
}

void StatusMenuController::markReplacementItem(const std::string& path) {
    auto grey = platform_.mainBundle.URLForImageResource("wallpaper");
    if (!grey) return;
    auto greyPath = grey->path();
    if (!greyPath) return;
    // Stored paths may be abbreviated with "~" or carry redundant components.
    const std::string home = platform_.fileManager.homeDirectory();
    const std::string chosen = paths::standardize(path, home);
    // Another copy's grey image is still the grey choice: Tidra may have been moved since.
    const bool isGrey = chosen == paths::standardize(*greyPath, home) || isTidraGreyImage(chosen);
    setWallpaperMarks(kControlStateOff, isGrey ? kControlStateOff : kControlStateOn,
                      isGrey ? kControlStateOn : kControlStateOff);
}

void StatusMenuController::setWallpaperMarks(int noReplace, int image, int grey) {
    if (wallpaperNoReplace_) wallpaperNoReplace_->setState(noReplace);
    if (wallpaperImage_) wallpaperImage_->setState(image);
    if (wallpaperGrey_) wallpaperGrey_->setState(grey);
    settingsWindow_->setWallpaperMarks(noReplace, image, grey);
}

void StatusMenuController::darkModeChanged(const Notification*) {
    setIcon(clean_);
}

void StatusMenuController::applicationWasTerminated(const Notification* note) {
    if (!FinderControl::isAboutFinder(note)) return;
    // The refresh waits for Finder to be back: until then it draws nothing new, and the icon
    // keeps saying what the user last saw.
    relaunch_.finderTerminated();
}

void StatusMenuController::applicationDidLaunch(const Notification* note) {
    if (!FinderControl::isAboutFinder(note)) return;
    relaunch_.finderLaunched();
}

}  // namespace tidra
