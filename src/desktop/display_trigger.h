// Connecting a display can hide the desktop icons and disconnecting one can bring them back,
// each when the user turned that on.
#pragma once

#include <cstdint>

#include "desktop/desktop_hiding.h"
#include "platform/defaults.h"

namespace tidra {

// What the display callback is registered with as its user information.
struct DisplayTrigger {
    DesktopHiding& desktop;
    UserDefaults& defaults;
};

// Registered with the display service; `userInfo` is a DisplayTrigger*.
void displayReconfigurationCallback(std::uint32_t display, std::uint32_t flags, void* userInfo);

}  // namespace tidra
