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
    target->cleanDesktop(!hide);
}

}  // namespace tidra
