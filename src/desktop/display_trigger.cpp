#include "desktop/display_trigger.h"

#include "platform/screens.h"
#include "prefs/keys.h"

namespace tidra {

void displayReconfigurationCallback(std::uint32_t /*display*/, std::uint32_t flags,
                                    void* userInfo) {
    auto* trigger = static_cast<DisplayTrigger*>(userInfo);
    if (!trigger) return;
    DesktopHiding& target = trigger->desktop;
    bool hide;
    const char* key;
    if (flags & kDisplayAddFlag) {
        // A display unplugged while the icons were hidden comes back showing Tidra's picture,
        // and nothing else would ever give it its own again.
        if (!target.isClean()) target.restoreWallpapers();
        hide = true;
        key = prefs::kExternalScreenTrigger;
    } else if (flags & kDisplayRemoveFlag) {
        hide = false;
        key = prefs::kExternalScreenDisconnect;
    } else {
        return;  // the begin-configuration notice and anything else
    }
    if (!trigger->defaults.boolForKey(key)) return;
    // Measured against where the desktop is headed, so that a display plugged in or out while
    // Finder restarts still counts. The icon is left to say what Finder draws: it changes
    // once Finder is back.
    if (target.headedClean() == hide) return;
    target.cleanDesktop(!hide);
}

}  // namespace tidra
