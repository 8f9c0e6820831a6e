// Finder's side of hiding and showing the desktop icons: its preferences domain, its quit and its
// start. FinderRelaunch decides when each happens.
#pragma once

#include <memory>

#include "platform/defaults.h"
#include "platform/object.h"
#include "platform/workspace.h"
#include "prefs/keys.h"

namespace tidra {

class FinderToggle {
  public:
    FinderToggle(Preferences& preferences, Workspace& workspace)
        : preferences_(preferences), workspace_(workspace) {}

    // A fresh object for Finder's domain on every call: Finder rewrites its own file, so nothing
    // is cached. Nothing when the domain cannot be opened.
    std::shared_ptr<UserDefaults> finderDefaults() {
        return preferences_.suite(prefs::kFinderDomain);
    }

    // Asks the first running Finder to quit; writes nothing.
    void restartFinder();
    // Starts Finder without waiting for it.
    void relaunchFinder();

    // Whether a workspace notice (an end or a launch) is about Finder itself (exact bundle
    // identifier).
    static bool isFinderTermination(const Notification* note);

  private:
    Preferences& preferences_;
    Workspace& workspace_;
};

}  // namespace tidra
