// The status item's face: the icon and the toggle's title.
#include "menu/status_menu_controller.h"
#include "prefs/keys.h"
#include "text/ascii.h"

namespace tidra {

namespace {

constexpr const char* kToggleComment = "First menu item that toggles between show and hide icons";

bool interfaceIsDark(UserDefaults& store) {
    Value global = store.persistentDomainForName(kGlobalDomain);
    if (!global.isDictionary()) return false;
    Value style = global[Value(prefs::kAppleInterfaceStyle)];
    if (!style.isString()) return false;
    return asciiLower(style.string()) == "dark";
}

}  // namespace

void StatusMenuController::setIcon(bool clean) {
    darkMode_ = interfaceIsDark(defaults_);
    const char* name = clean       ? "statusIconClean"
                       : darkMode_ ? "statusIconDirtyDark"
                                   : "statusIconDirty";
    std::shared_ptr<Image> image = platform_.images.imageNamed(name);
    if (image) image->setTemplate(true);
    statusItem_->setImage(image);
    if (image) statusItem_->setLength(image->size().width);

    if (!statusMenu_) return;
    if (MenuItem* toggle = statusMenu_->itemWithTag(1)) {
        toggle->setTitle(localizedString(
            platform_.mainBundle, clean ? "Show That Mess" : "Tidra That Mess!", kToggleComment));
    }
}

void StatusMenuController::updateStatus() {
    auto finder = finder_.finderDefaults();
    if (!finder) return;
    clean_ = finder->objectForKey(prefs::kCreateDesktop).isNil()
                 ? false
                 : !finder->boolForKey(prefs::kCreateDesktop);
    setIcon(clean_);
    presenting_.desktopRefreshed(clean_);
    defaults_.setBool(finder->boolForKey(prefs::kQuitAlwaysKeepsWindows), prefs::kRestoreFinder);
    defaults_.synchronize();
    toggleWallpapers(!clean_);
    widgets_.follow(clean_);
}

}  // namespace tidra
