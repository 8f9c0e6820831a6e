// The "Hide Widgets" setting of the status menu.
#include "menu/status_menu_controller.h"

namespace tidra {

void StatusMenuController::setUpWidgetsItem() {
    if (!hideWidgetsItem_) return;
    if (!widgets_.available()) {
        if (statusMenu_) statusMenu_->removeItem(hideWidgetsItem_);
        hideWidgetsItem_ = nullptr;
        return;
    }
    hideWidgetsItem_->setState(widgets_.enabled() ? kControlStateOn : kControlStateOff);
}

void StatusMenuController::hideWidgetsClicked(Object*) {
    widgets_.toggleSetting();
}

void StatusMenuController::onHideWidgetsChanged(const Value&) {
    // The setting is read back rather than taken from the change: a removal means "on".
    if (hideWidgetsItem_)
        hideWidgetsItem_->setState(widgets_.enabled() ? kControlStateOn : kControlStateOff);
    widgets_.follow(clean_);
    settingsWindow_->widgetsSettingChanged();
}

}  // namespace tidra
