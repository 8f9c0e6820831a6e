// Connecting a display can hide the desktop icons and disconnecting one can bring them back,
// each when the user turned that on.
#pragma once

#include <cstdint>

namespace tidra {

// What the display callback needs from the object registered as its user information.
class DisplayTriggerTarget {
  public:
    virtual ~DisplayTriggerTarget() = default;
    // Whether Finder draws no icons now.
    virtual bool isClean() const = 0;
    // Whether it will draw none once the restart under way and any wish kept meanwhile are done.
    virtual bool headedClean() const { return isClean(); }
    virtual bool preference(const char* key) = 0;
    // The desktop toggle with a fixed value. False when Finder's preferences could not be
    // opened, so nothing was written.
    virtual bool cleanDesktop(bool show) = 0;
    // Puts the recorded wallpapers back on the screens that show Tidra's own picture.
    virtual void restoreWallpapers() = 0;
};

// Registered with the display service; `userInfo` is a DisplayTriggerTarget*.
void displayReconfigurationCallback(std::uint32_t display, std::uint32_t flags, void* userInfo);

}  // namespace tidra
