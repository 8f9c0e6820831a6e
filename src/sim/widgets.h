// Desktop widgets (macOS 14 and later). The desktop keeps them in the notification center's
// domain; the window manager's settings say whether they show: in Stage Manager its own key,
// otherwise the standard one.
#pragma once

#include <string>
#include <vector>

#include "sim/preferences.h"

namespace tidra::sim {

inline constexpr const char* kWidgetsDomain = "com.apple.notificationcenterui";

struct DesktopWidget {
    std::string name;
    bool visible = true;
};

// Places a widget on the main screen's desktop; the list is kept on the disk.
void addDesktopWidget(SimPreferences& prefs, const std::string& name);
std::vector<DesktopWidget> desktopWidgets(SimPreferences& prefs);

}  // namespace tidra::sim
