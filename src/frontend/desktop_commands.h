// The front end's commands for the menu bar, the theme, Finder and other applications.
#pragma once

namespace tidra::sim {

class Frontend;

// `click`, `right-click`, `choose`, `dismiss`, `menu`, `theme`, `finder` and `app`.
void addDesktopCommands(Frontend& frontend);

}  // namespace tidra::sim
