// The welcome popover under the status item.
#include "menu/popover_view_controller.h"
#include "menu/status_menu_controller.h"

namespace tidra {

void StatusMenuController::initPopover() {
    auto content =
        std::make_shared<PopoverViewController>(platform_.interfaces, "PopoverViewController");
    content->setMainController(this);
    popover_->setContentViewController(content);
    // Application-defined: stays open until Tidra closes it, whatever the user clicks.
    popover_->setBehavior(kPopoverBehaviorApplicationDefined);
    popover_->setAppearance(std::string(kAppearanceNameVibrantDark));
}

void StatusMenuController::showPopover(Object* sender) {
    StatusBarButton* button = statusItem_->button();
    if (!button) return;
    if (popover_->isShown()) {
        popover_->performClose(sender);
        return;
    }
    popover_->showRelativeToRect(button->bounds(), button->view(), RectEdge::MaxY);
}

}  // namespace tidra
