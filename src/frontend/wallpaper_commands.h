// The front end's part for displays, desktop pictures, open panels and user notifications: the
// commands that play the user and the hardware, their fields in `status --json`, and the screens
// in the picture.
#pragma once

#include <string>

namespace tidra::sim {

class Frontend;
class Mac;

// `display add [NAME] [--serial S]`, `display remove NUMBER`, `screen fail NUMBER on|off`,
// `wallpaper set NUMBER PATH`, `support-folder full|writable on|off`, `panel choose PATH`,
// `panel cancel`; the `screens`, `panel` and `notifications` fields of `status --json`.
void addWallpaperCommands(Frontend& frontend);
// Each screen with the file name of its picture, as lines of the picture.
std::string drawScreens(Mac& mac);

}  // namespace tidra::sim
