#include "menu/popover_view_controller.h"

#include "menu/status_menu_controller.h"

namespace tidra {

View* PopoverViewController::view() {
    return view_.get([&] { return loader_.loadView(nibName_, *this); }, [&] { viewDidLoad(); });
}

void PopoverViewController::closePopover(Object* sender) {
    if (mainController_) mainController_->popover().performClose(sender);
}

bool PopoverViewController::performAction(const std::string& selector, Object* sender) {
    if (selector != "closePopover:") return ViewController::performAction(selector, sender);
    closePopover(sender);
    return true;
}

bool PopoverViewController::setOutlet(const std::string& name, Object* value) {
    if (name != "button") return ViewController::setOutlet(name, value);
    button_ = value;
    return true;
}

}  // namespace tidra
