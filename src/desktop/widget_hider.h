// From macOS 14 widgets sit on the desktop beside the icons, so a clean desktop hides them too
// (the "Hide Widgets" setting, on unless the user turns it off). The window manager's own
// settings say whether widgets show; Tidra keeps the user's values in its own store before it
// changes them, so that they come back exactly, after a quit or a crash as well.
#pragma once

#include "platform/console.h"
#include "platform/defaults.h"
#include "platform/system_info.h"

namespace tidra {

class WidgetHider {
  public:
    WidgetHider(Preferences& preferences, SystemInfo& system, Console& console)
        : preferences_(preferences), system_(system), console_(console) {}

    // Whether the running system has desktop widgets.
    bool available();
    // The "Hide Widgets" setting: true unless the user turned it off.
    bool enabled();
    // Flips the setting in Tidra's store; the store's observer then calls follow().
    void toggleSetting();
    // Hides the widgets while the desktop is clean and the setting is on; otherwise puts the
    // user's own values back, if Tidra changed them.
    void follow(bool clean);

  private:
    void hide(UserDefaults& windowManager);
    void restore(UserDefaults& windowManager);

    Preferences& preferences_;
    SystemInfo& system_;
    Console& console_;
};

}  // namespace tidra
