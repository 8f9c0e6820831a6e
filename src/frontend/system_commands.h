// The front end's part for what newer systems bring: the system version, desktop widgets.
#pragma once

#include <string>
#include <vector>

namespace tidra::sim {

class Frontend;
class Mac;

// `widgets add NAME`, `notifications allow|deny`, and the `system`, `widgets` and
// `notificationAuthorization` fields of `status --json`.
void addSystemCommands(Frontend& frontend);
// `status` lines: the notification permission (10.14 and later), the desktop widgets and
// whether each shows (14 and later).
std::string systemStatusText(Mac& mac);

}  // namespace tidra::sim
