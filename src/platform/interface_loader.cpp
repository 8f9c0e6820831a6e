#include "platform/interface_loader.h"

namespace tidra {

Window* WindowController::window() {
    if (!loaded_) {
        loaded_ = true;
        window_ = loader_.loadWindow(nibName_, *this);
        windowDidLoad();
    }
    return window_.get();
}

void WindowController::showWindow(Object* sender) {
    if (Window* w = window()) w->makeKeyAndOrderFront(sender);
}

}  // namespace tidra
