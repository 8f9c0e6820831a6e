// One Finder restart at a time. Hiding or showing the icons means having Finder quit and start
// again; while that is under way Finder is gone or drawing nothing yet, and asking it to quit once
// more would cost the windows it has not reopened yet. So a wish made meanwhile is only kept, the
// latest one winning, and carried out once Finder is back. A Finder that does not come back in
// good time is started, and so is one that is not running when Tidra starts.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "desktop/finder_control.h"
#include "platform/console.h"
#include "platform/dispatch.h"
#include "platform/workspace.h"

namespace tidra {

class FinderRelaunch {
  public:
    // Quitting a Finder that saves many windows, then starting it again, takes a few seconds
    // on a busy Mac; a desktop missing for this long is no longer a restart in progress but a
    // restart that went wrong, and the user is left without a desktop until it is mended.
    static constexpr double kComeBackSeconds = 10;
    // Starts tried after a restart before Tidra leaves Finder to the system.
    static constexpr int kStartAttempts = 3;

    struct Hooks {
        // The status refresh: reads what the Finder now running was started with.
        std::function<void()> refresh;
        // Whether the icons are hidden, as last refreshed.
        std::function<bool()> isClean;
    };

    FinderRelaunch(FinderControl& finder, Workspace& workspace, Dispatch& dispatch,
                   Console& console, Hooks hooks);

    // The desktop with (`show`) or without icons. At once when Finder is settled; while a
    // restart is under way, kept until Finder is back. False when Finder's preferences could
    // not be opened, so nothing was written and nothing restarts.
    bool request(bool show);
    // At launch: a Finder left stopped (Tidra ended while it was restarting) is started.
    void startIfNotRunning();

    // Finder ended (whoever made it): it is started again and awaited.
    void finderTerminated();
    // A Finder finished launching.
    void finderLaunched();

    bool underWay() const { return phase_ != Phase::Settled; }
    // Whether the icons will be hidden once everything asked for is done.
    bool headedClean() const;

  private:
    enum class Phase { Settled, Quitting, Starting };

    bool finderRunning();
    void startFinder();
    // Finder is back: the state is read again and a wish kept meanwhile is carried out.
    void settle(bool refresh);
    void armDeadline();
    void deadlinePassed();

    FinderControl& finder_;
    Workspace& workspace_;
    Dispatch& dispatch_;
    Console& console_;
    Hooks hooks_;
    Phase phase_ = Phase::Settled;
    std::optional<bool> target_;   // CreateDesktop written for the restart under way, if any
    std::optional<bool> pending_;  // the latest wish made while it was under way
    int wishesKept_ = 0;           // how many were made meanwhile, for the log
    int attempts_ = 0;
    // Each deadline carries the number it was armed with; a later arming or a settled Finder
    // makes it stale. Held by pointer so that a deadline outliving this object does nothing.
    std::shared_ptr<unsigned> deadline_ = std::make_shared<unsigned>(0);
};

}  // namespace tidra
