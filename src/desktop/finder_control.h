// Finder as Tidra reaches it: its preferences domain, its quit and its start. It decides nothing;
// FinderRelaunch decides when each happens.
#pragma once

#include <memory>

#include "platform/defaults.h"
#include "platform/object.h"
#include "platform/workspace.h"
#include "prefs/keys.h"

namespace tidra {

class FinderControl {
  public:
    FinderControl(Preferences& preferences, Workspace& workspace)
        : preferences_(preferences), workspace_(workspace) {}

    // A fresh object for Finder's domain on every call: Finder rewrites its own file, so nothing
    // is cached. Nothing when the domain cannot be opened.
    std::shared_ptr<UserDefaults> finderDefaults() {
        return preferences_.suite(prefs::kFinderDomain);
    }

    // Asks the first running Finder to quit; writes nothing (the start comes from FinderRelaunch).
    void restartFinder();
    // Starts Finder without waiting for it.
    void relaunchFinder();

    // Whether a workspace notice (an end or a launch) is about Finder itself (exact bundle
    // identifier).
    static bool isAboutFinder(const Notification* note);

  private:
    Preferences& preferences_;
    Workspace& workspace_;
};

}  // namespace tidra
