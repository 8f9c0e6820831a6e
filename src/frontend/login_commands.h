// The front end's part for login items: System Events' availability, entries the user makes by
// hand, the service's switch, and the `loginItems` and `appService` fields of `status --json`.
#pragma once

#include <string>

namespace tidra::sim {

class Frontend;
class Mac;

// Service Management's login items: macOS 13 and later.
bool hasAppService(Mac& mac);
// The status line of Tidra's entry in the service; empty before macOS 13.
std::string appServiceStatusText(Mac& mac);

// Whether Tidra may control System Events, as the Automation pane says; empty before 10.14.
std::string automationStatusText(Mac& mac);

// `system-events on|off`, `system-events consent allow|deny` (the automation prompt's answer or
// the Automation pane's switch),, `login-items add NAME PATH`, `app-service enable|disable` (the
// user's switch for Tidra in System Settings › General › Login Items).
void addLoginCommands(Frontend& frontend);

}  // namespace tidra::sim
