// The window Tidra shows when it is opened again while it runs (from Finder, Spotlight or the
// Dock): the welcome, and where to allow Tidra's icon again when the menu bar hides it, which
// would otherwise leave no way in but the keyboard shortcut.
#pragma once

#include <string>

#include "platform/interface_loader.h"
#include "platform/system_info.h"

namespace tidra {

class WelcomeWindow : public WindowController {
  public:
    explicit WelcomeWindow(InterfaceLoader& loader) : WindowController(loader, "WelcomeWindow") {}

    // Opens, or comes forward when open, saying whether the icon is hidden and what still works.
    // `shortcut`: the keyboard shortcut as shown ("⌃⌥⌘D"), empty when there is none.
    void show(bool iconShown, OperatingSystemVersion system, const std::string& shortcut);
    void windowDidLoad() override;
    bool setOutlet(const std::string& name, Object* value) override;

  private:
    TextField* menuBarHint_ = nullptr;  // outlet: the window's view hierarchy owns it
};

}  // namespace tidra
