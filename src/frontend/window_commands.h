// The front end's part for Tidra's popover and windows: the commands that use their controls,
// their fields in `status --json`, and their drawing in the picture.
#pragma once

#include <string>

namespace tidra::sim {

class Frontend;
class Mac;
class SimPopover;

// `popover close`, `about link`, `window close TITLE-OR-INDEX`, and the `popover` and `windows`
// fields of `status --json`.
void addWindowCommands(Frontend& frontend);
// The popover under the status item and every window on screen, as lines of the picture.
std::string drawPopoverAndWindows(Mac& mac);
// The popover of the running Tidra, or nothing.
SimPopover* tidraPopover(Mac& mac);

}  // namespace tidra::sim
