// The front end's commands for the menu bar, the theme, Finder and other applications.
#pragma once

#include <string>

namespace tidra::sim {

class Frontend;

// Opens the status menu with a right-click, as the user does, and chooses `title` in it.
void chooseInStatusMenu(Frontend& frontend, const std::string& title);

// `click`, `right-click`, `choose`, `dismiss`, `menu`, `theme`, `finder` and `app`.
void addDesktopCommands(Frontend& frontend);

}  // namespace tidra::sim
