// Hiding and showing the desktop icons, as every trigger (a click, the shortcut, a URL, a display,
// a presentation) asks for it. The status controller carries it out through Finder's restart.
#pragma once

namespace tidra {

class DesktopHiding {
  public:
    virtual ~DesktopHiding() = default;
    // Whether Finder draws no icons now.
    virtual bool isClean() const = 0;
    // Whether it will draw none once the restart under way and any wish kept meanwhile are done.
    virtual bool headedClean() const { return isClean(); }
    // Hides (`show` false) or shows the icons. False when Finder's preferences could not be
    // opened, so nothing was written.
    virtual bool cleanDesktop(bool show) = 0;
    // The opposite of what Finder draws now.
    virtual void toggleDesktop() { cleanDesktop(isClean()); }
    // Puts the recorded wallpapers back on the screens that show Tidra's own picture.
    virtual void restoreWallpapers() = 0;
};

}  // namespace tidra
