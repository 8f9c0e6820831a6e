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
// The shortcut Tidra holds at the system as it reads ("⌃⌥⌘D"), or empty when it holds none.
std::string shortcutText(Mac& mac);
// The one stored under `hotKey`, or empty.
std::string storedShortcutText(Mac& mac);
// For `status` and the picture: the shortcut in force, and a stored one that is not.
std::string shortcutSummary(Mac& mac);

}  // namespace tidra::sim
