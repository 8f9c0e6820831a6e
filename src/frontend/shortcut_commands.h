// The front end's part for keyboard shortcuts and URLs: keys pressed anywhere, the recorder
// window, hot keys other applications hold, URLs opened from outside, and the `shortcut` field
// of `status --json`.
#pragma once

#include <string>

namespace tidra::sim {

class Frontend;
class Mac;

// `key COMBO`, `shortcut record COMBO|clear`, `hotkey taken COMBO`, `open-url URL`.
void addShortcutCommands(Frontend& frontend);
// Tidra's stored shortcut as it reads ("⌃⌥⌘D"), or empty when there is none.
std::string shortcutText(Mac& mac);

}  // namespace tidra::sim
