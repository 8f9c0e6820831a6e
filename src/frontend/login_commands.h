// The front end's part for login items: System Events' availability, entries the user makes by
// hand, and the `loginItems` field of `status --json`.
#pragma once

namespace tidra::sim {

class Frontend;

// `system-events on|off`, `login-items add NAME PATH`.
void addLoginCommands(Frontend& frontend);

}  // namespace tidra::sim
