#include "desktop/finder_relaunch.h"

#include <cstdint>
#include <string>

#include "prefs/keys.h"

namespace tidra {

FinderRelaunch::FinderRelaunch(FinderControl& finder, Workspace& workspace, Dispatch& dispatch,
                               Console& console, Hooks hooks)
    : finder_(finder),
      workspace_(workspace),
      dispatch_(dispatch),
      console_(console),
      hooks_(std::move(hooks)) {}

bool FinderRelaunch::request(bool show) {
    if (underWay()) {
        pending_ = show;
        ++wishesKept_;
        return true;
    }
    auto finder = finder_.finderDefaults();
    if (!finder) {
        console_.log("Could not get Finder defaults");
        return false;
    }
    finder->setBool(show, prefs::kCreateDesktop);
    target_ = show;
    attempts_ = 0;
    if (!finderRunning()) {
        // Nothing to quit: a Finder started now reads the new value.
        startFinder();
        return true;
    }
    phase_ = Phase::Quitting;
    armDeadline();
    finder_.restartFinder();
    return true;
}

void FinderRelaunch::startIfNotRunning() {
    if (underWay() || finderRunning()) return;
    console_.log("Finder was not running: starting it");
    target_.reset();
    attempts_ = 0;
    startFinder();
}

void FinderRelaunch::finderTerminated() {
    attempts_ = 0;
    if (finderRunning()) {
        // Another Finder goes on and draws the desktop: nothing to wait for.
        finder_.relaunchFinder();
        settle(true);
        return;
    }
    startFinder();
}

void FinderRelaunch::finderLaunched() {
    // A Finder still quitting is not the one that was started; its end is awaited first.
    if (phase_ != Phase::Starting) return;
    settle(true);
}

bool FinderRelaunch::headedClean() const {
    if (pending_) return !*pending_;
    if (target_) return !*target_;
    return hooks_.isClean();
}

bool FinderRelaunch::finderRunning() {
    for (const auto& app :
         workspace_.runningApplicationsWithBundleIdentifier(prefs::kFinderBundleIdentifier))
        if (app) return true;
    return false;
}

void FinderRelaunch::startFinder() {
    phase_ = Phase::Starting;
    ++attempts_;
    armDeadline();
    finder_.relaunchFinder();
}

void FinderRelaunch::settle(bool refresh) {
    phase_ = Phase::Settled;
    ++*deadline_;
    target_.reset();
    attempts_ = 0;
    if (refresh) hooks_.refresh();
    if (!pending_) return;
    const bool show = *pending_;
    const int wishes = wishesKept_;
    pending_.reset();
    wishesKept_ = 0;
    // Said once per restart, however many wishes came meanwhile.
    const std::string wish = (wishes == 1 ? std::string("the wish")
                                          : "the last of " + std::to_string(wishes) + " wishes") +
                             " made while it restarted was to " + (show ? "show" : "hide") +
                             " the icons";
    if (show != !hooks_.isClean()) {
        console_.log("Finder is back; " + wish + ": it restarts once more");
        request(show);
        return;
    }
    console_.log("Finder is back; " + wish +
                 (show ? ", and it draws them" : ", and it draws none"));
    // Finder already draws what was last asked for; a Finder that declined to quit may still
    // have the other value stored, which its next start would pick up.
    auto finder = finder_.finderDefaults();
    if (!finder) return;
    const bool stored = finder->objectForKey(prefs::kCreateDesktop).isNil()
                            ? true
                            : finder->boolForKey(prefs::kCreateDesktop);
    if (stored != show) finder->setBool(show, prefs::kCreateDesktop);
}

void FinderRelaunch::armDeadline() {
    const unsigned mine = ++*deadline_;
    std::weak_ptr<unsigned> token = deadline_;
    dispatch_.mainQueueAfter(static_cast<std::int64_t>(kComeBackSeconds * 1e9),
                             [this, token, mine] {
                                 auto current = token.lock();
                                 if (current && *current == mine) deadlinePassed();
                             });
}

void FinderRelaunch::deadlinePassed() {
    if (finderRunning()) {
        // Quitting: Finder declined and goes on drawing what it drew. Starting: it is back
        // though its launch was not heard of.
        settle(phase_ == Phase::Starting);
        return;
    }
    if (attempts_ >= kStartAttempts) {
        console_.log("Finder did not come back after " + std::to_string(kStartAttempts) +
                     " starts");
        settle(true);
        return;
    }
    console_.log("Finder did not come back within " +
                 std::to_string(static_cast<int>(kComeBackSeconds)) + " seconds: starting it");
    startFinder();
}

}  // namespace tidra
