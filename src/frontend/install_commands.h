// The front end's part for the move offer: answering alerts and the administrator password
// dialog, the Applications folder's write and space switches, the Trash's switch, and the
// `alerts` and `volumes` fields of `status --json`.
#pragma once

namespace tidra::sim {

class Frontend;

// `alert BUTTON-TITLE [--suppress]`, `password ok|cancel`, `applications writable|full on|off`,
// `trash on|off`.
void addInstallCommands(Frontend& frontend);

}  // namespace tidra::sim
