// The small window of "Keyboard Shortcut…": it shows the shortcut, takes the next combination
// typed into its recorder, and has a Clear button.
#pragma once

#include "platform/interface_loader.h"
#include "shortcut/keyboard_shortcut.h"

namespace tidra {

class ShortcutWindow : public WindowController {
  public:
    ShortcutWindow(InterfaceLoader& loader, KeyboardShortcut& shortcut)
        : WindowController(loader, "ShortcutWindow"), shortcut_(shortcut) {}

    // Opens with the current shortcut and no message.
    void showWindow(Object* sender) override;
    void windowDidLoad() override;
    void shortcutTyped(Object* sender);
    void clearShortcut(Object* sender);

    bool performAction(const std::string& selector, Object* sender) override;
    bool setOutlet(const std::string& name, Object* value) override;

  private:
    void show(const std::string& message);

    KeyboardShortcut& shortcut_;
    // Outlets: the window's view hierarchy owns them.
    TextField* shortcutLabel_ = nullptr;
    TextField* messageLabel_ = nullptr;
};

}  // namespace tidra
