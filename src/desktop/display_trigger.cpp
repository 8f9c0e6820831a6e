#include "desktop/display_trigger.h"

#include "platform/screens.h"
#include "prefs/keys.h"

namespace tidra {

void displayReconfigurationCallback(std::uint32_t /*display*/, std::uint32_t flags,
                                    void* userInfo) {
    auto* target = static_cast<DisplayTriggerTarget*>(userInfo);
    if (!target) return;
    bool hide;
    const char* key;
    if (flags & kDisplayAddFlag) {
        // A display unplugged while the icons were hidden comes back showing Tidra's picture,
        // and nothing else would ever give it its own again.
        if (!target->isClean()) target->restoreWallpapers();
        hide = true;
        key = prefs::kExternalScreenTrigger;
    } else if (flags & kDisplayRemoveFlag) {
        hide = false;
        key = prefs::kExternalScreenDisconnect;
    } else {
        return;  // the begin-configuration notice and anything else
    }
    if (!target->preference(key)) return;
    if (target->isClean() == hide) return;  // already in the wanted state
    // The icon follows at once; the refresh after Finder's relaunch confirms it.
    target->setIcon(hide);
    // Nothing written means no Finder restart and no refresh to set the icon right.
    if (!target->cleanDesktop(!hide)) target->setIcon(target->isClean());
}

}  // namespace tidra
