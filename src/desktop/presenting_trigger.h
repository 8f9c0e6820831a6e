// "Hide While Presenting": the desktop hides when a presentation or meeting application starts
// and comes back when the last of them quits, but only a desktop Tidra hid for that reason.
#pragma once

#include <string>
#include <vector>

#include "desktop/desktop_hiding.h"
#include "desktop/presenting_apps.h"
#include "platform/console.h"
#include "platform/defaults.h"
#include "platform/workspace.h"

namespace tidra {

class PresentingTrigger {
  public:
    struct Services {
        UserDefaults& defaults;
        Workspace& workspace;
        Console& console;
    };
    PresentingTrigger(Services services, DesktopHiding& target)
        : s_(services), target_(target), apps_({services.defaults, services.console}) {}

    // The applications that count, and their editing.
    PresentingApps& apps() { return apps_; }
    // The list was edited: an application that now counts and runs hides the desktop, and a
    // desktop hidden for one that no longer counts comes back.
    void listChanged();

    // An application started or ended (workspace notifications).
    void applicationLaunched(const std::string& bundleIdentifier);
    void applicationTerminated(const std::string& bundleIdentifier);
    // `hideWhilePresenting` changed.
    void optionChanged(bool on);
    // The state read back from Finder: a shown desktop is no longer Tidra's to bring back.
    void desktopRefreshed(bool clean);
    // After the wake-up: the applications may have quit while Tidra was not running.
    void settleAtLaunch();

  private:
    bool isPresentingApp(const std::string& bundleIdentifier);
    bool anyPresentingAppRunning();
    void hideForPresenting();
    void showAfterPresenting();
    bool hiddenByTrigger();
    void setHiddenByTrigger(bool hidden);

    Services s_;
    DesktopHiding& target_;
    PresentingApps apps_;
};

}  // namespace tidra
