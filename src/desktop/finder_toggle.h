// Hiding and showing the desktop icons means rewriting Finder's CreateDesktop and making Finder
// quit; Finder comes back when its termination is seen, and then draws (or omits) the desktop.
#pragma once

#include <memory>

#include "platform/console.h"
#include "platform/defaults.h"
#include "platform/object.h"
#include "platform/workspace.h"
#include "prefs/keys.h"

namespace tidra {

class FinderToggle {
  public:
    FinderToggle(Preferences& preferences, Workspace& workspace, Console& console)
        : preferences_(preferences), workspace_(workspace), console_(console) {}

    // A fresh object for Finder's domain on every call: Finder rewrites its own file, so nothing
    // is cached. Nothing when the domain cannot be opened.
    std::shared_ptr<UserDefaults> finderDefaults() {
        return preferences_.suite(prefs::kFinderDomain);
    }

    // Writes CreateDesktop = show and asks Finder to quit. Logs when Finder's domain is out of
    // reach, and then leaves Finder alone and answers false.
    bool cleanDesktop(bool show);
    // Asks the first running Finder to quit; writes nothing.
    void restartFinder();
    // Starts Finder without waiting for it.
    void relaunchFinder();
    // Finder's window restoration, and with setDefault Tidra's copy of it as well.
    void updateRestoreFinder(bool value, bool setDefault);

    // Whether a workspace termination notice is about Finder itself (exact bundle identifier).
    static bool isFinderTermination(const Notification* note);

  private:
    Preferences& preferences_;
    Workspace& workspace_;
    Console& console_;
};

}  // namespace tidra
