// The per-screen wallpaper replacement that accompanies hiding the desktop icons. The status
// controller hands it each state change; recording and replacing are not wired in yet, so the
// screens keep their wallpapers.
#pragma once

#include "platform/object.h"
#include "platform/value.h"

namespace tidra {

class WallpaperSwitcher {
  public:
    // Restores the recorded wallpapers (show) or records and replaces them (!show).
    void toggle(bool /*show*/) {}
    // Reads the stored records into wallpapers() and wallpapersOptions().
    void loadRecords() {}
    // The menu's wallpaper choice, sent by one of the three wallpaper items.
    void choose(Object* /*sender*/) {}

    const Dictionary& wallpapers() const { return wallpapers_; }
    const Dictionary& wallpapersOptions() const { return wallpapersOptions_; }

  private:
    Dictionary wallpapers_;         // screen number -> previous wallpaper URL
    Dictionary wallpapersOptions_;  // screen number -> its desktop-image options
};

}  // namespace tidra
