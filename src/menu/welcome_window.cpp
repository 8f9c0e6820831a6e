#include "menu/welcome_window.h"

namespace tidra {

namespace {

// What the window says about the icon: nothing while the menu bar shows it.
std::string menuBarHint(bool iconShown, OperatingSystemVersion system,
                        const std::string& shortcut) {
    if (iconShown) return "";
    std::string hint =
        system.isAtLeast(26)
            ? "Tidra's icon is hidden from the menu bar. To show it again, open System Settings › "
              "Menu Bar and switch Tidra on under “Allow in the Menu Bar”."
            : "Tidra's icon is not in the menu bar. Quit Tidra and open it again to bring the "
              "icon back.";
    hint += shortcut.empty()
                ? " Meanwhile a tidra://hide or tidra://show link still hides or shows the desktop."
                : " Meanwhile your shortcut " + shortcut + " still hides and shows the desktop.";
    return hint;
}

}  // namespace

void WelcomeWindow::windowDidLoad() {
    WindowController::windowDidLoad();
    if (Window* w = window()) w->center();
}

void WelcomeWindow::show(bool iconShown, OperatingSystemVersion system,
                         const std::string& shortcut) {
    // Loaded first, so that the hint is there before the window shows.
    if (!window()) return;
    if (menuBarHint_) menuBarHint_->setStringValue(menuBarHint(iconShown, system, shortcut));
    showWindow(this);
}

bool WelcomeWindow::setOutlet(const std::string& name, Object* value) {
    if (name != "menuBarHint") return WindowController::setOutlet(name, value);
    menuBarHint_ = dynamic_cast<TextField*>(value);
    return true;
}

}  // namespace tidra
