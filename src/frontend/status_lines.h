// What a person is told about the simulated Mac, in the same words by `status` and the picture.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/views.h"
#include "sim/screens.h"

namespace tidra::sim {

class Mac;
class SimWindow;

// Whether the desktop is clean as the user sees it: the first Finder that has drawn it draws no
// icons. Nothing while no Finder has drawn it (Finder is restarting, or not running).
std::optional<bool> desktopClean(Mac& mac);
// What Tidra puts on the screens while the desktop is clean: the checked title of the Wallpaper
// submenu and the picture stored for it, for instance "Grey (~/Library/…/wallpaper.png)"; only
// the picture's file name when `shortName`.
std::string replacementChoice(Mac& mac, bool shortName);
// A screen's number, name and picture ("screen 1 (Built-in Display): /Library/…/x.heic"), with
// only the picture's file name when `shortName`.
std::string screenLine(const SimScreens::Info& screen, bool shortName);
// Each screen's desktop-image options, in short ("Scaling 3, AllowClipping 1"), or empty.
std::string screenOptions(const SimScreens::Info& screen);
// Each login item: "Tidra (/Applications/Tidra.app)", ", hidden" when it starts hidden.
std::vector<std::string> loginItemLines(Mac& mac);
// Each delivered notification: "Title: text", "(banner shown)" while its banner is on screen.
std::vector<std::string> notificationLines(Mac& mac);
// What Tidra opened for the user, each once in the order first opened, with how often when more
// than once: the addresses (feedback, a store page) and System Settings' panes.
std::vector<std::string> openedLines(Mac& mac);
// Each running application: "Keynote (com.apple.iWork.Keynote), pid 305", in launch order.
std::vector<std::string> runningApplicationLines(Mac& mac);
// "window 0 (untitled), level 3, key": the number is the one `window close` takes.
std::string windowHeading(Mac& mac, const SimWindow& window);
// The texts a person reads in a view: labels, and control titles as "<Title>", in order.
std::vector<std::string> textsIn(View* root);

}  // namespace tidra::sim
