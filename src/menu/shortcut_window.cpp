#include "menu/shortcut_window.h"

namespace tidra {

void ShortcutWindow::windowDidLoad() {
    WindowController::windowDidLoad();
    if (Window* w = window()) w->center();
}

void ShortcutWindow::showWindow(Object* sender) {
    // Loaded first, so that the labels are there to be filled before the window shows.
    if (!window()) return;
    show("");
    WindowController::showWindow(sender);
}

void ShortcutWindow::show(const std::string& message) {
    if (shortcutLabel_) shortcutLabel_->setStringValue(shortcut_.currentText());
    // A stored shortcut that is not in force says why, until the user records another.
    if (messageLabel_)
        messageLabel_->setStringValue(message.empty() ? shortcut_.unusedReason() : message);
}

void ShortcutWindow::shortcutTyped(Object* sender) {
    auto* recorder = dynamic_cast<ShortcutRecorderView*>(sender);
    const auto press = recorder ? recorder->lastKeyPress() : std::nullopt;
    if (!press) return;
    const KeyboardShortcut::Outcome outcome = shortcut_.record(*press);
    if (outcome.cancelled) {
        if (Window* w = window()) w->close();
        return;
    }
    show(outcome.message);
}

void ShortcutWindow::clearShortcut(Object*) {
    shortcut_.clear();
    show("");
}

bool ShortcutWindow::performAction(const std::string& selector, Object* sender) {
    if (selector == "shortcutTyped:") {
        shortcutTyped(sender);
    } else if (selector == "clearShortcut:") {
        clearShortcut(sender);
    } else {
        return WindowController::performAction(selector, sender);
    }
    return true;
}

bool ShortcutWindow::setOutlet(const std::string& name, Object* value) {
    if (name == "shortcutLabel") {
        shortcutLabel_ = dynamic_cast<TextField*>(value);
    } else if (name == "messageLabel") {
        messageLabel_ = dynamic_cast<TextField*>(value);
    } else {
        return WindowController::setOutlet(name, value);
    }
    return true;
}

}  // namespace tidra
