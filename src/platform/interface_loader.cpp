#include "platform/interface_loader.h"

namespace tidra {

Window* WindowController::window() {
    return window_.get([&] { return loader_.loadWindow(nibName_, *this); },
                       [&] { windowDidLoad(); });
}

void WindowController::showWindow(Object* sender) {
    if (Window* w = window()) w->makeKeyAndOrderFront(sender);
}

}  // namespace tidra
