// Where in the system's settings the user finds what a message sends them to, as the running
// system names the place, in the user's language.
#pragma once

#include <string>

#include "platform/bundle.h"
#include "platform/system_info.h"

namespace tidra {

// The login items: System Preferences before macOS 13, System Settings from 13, and from 15
// under their new name.
inline std::string loginItemsPlace(Bundle& bundle, OperatingSystemVersion system) {
    if (system.isAtLeast(15))
        return localizedString(bundle, "System Settings › General › Login Items & Extensions",
                               "Where the login items are, macOS 15 and later");
    if (system.isAtLeast(13))
        return localizedString(bundle, "System Settings › General › Login Items",
                               "Where the login items are, macOS 13 and 14");
    return localizedString(bundle, "System Preferences › Users & Groups › Login Items",
                           "Where the login items are, before macOS 13");
}

}  // namespace tidra
