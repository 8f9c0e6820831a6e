// Finder on the simulated Mac. At start it reads CreateDesktop from its own preferences and draws
// the Desktop folder's items or nothing; a normal quit request ends it after a short delay, and
// with NSQuitAlwaysKeepsWindows it keeps its open windows and reopens them at its next start.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "sim/disk.h"
#include "sim/preferences.h"
#include "sim/processes.h"

namespace tidra::sim {

inline constexpr const char* kFinderBundleId = "com.apple.finder";

class SimFinder : public AppBehaviour {
  public:
    static constexpr double kQuitDelay = 0.5;
    static constexpr double kStartDelay = 1.0;

    SimFinder(RunLoop& loop, SimPreferences& prefs, const Disk& disk);

    void started(ProcessInfo& p) override;
    // Finder has finished launching once it has drawn the desktop.
    bool finishesLaunchingLater() const override { return true; }
    void setLaunchFinished(std::function<void(int pid)> finished) {
        launchFinished_ = std::move(finished);
    }
    bool quitRequested(ProcessInfo& p, std::function<void()> quit) override;
    void ended(ProcessInfo& p, bool crashed) override;

    struct Instance {
        int pid = 0;
        bool ready = false;  // has drawn the desktop
        bool drawsDesktop = false;
        std::vector<std::string> desktopIcons;
        std::vector<std::string> windows;
    };
    std::vector<Instance> instances() const;
    // Windows kept for the next start (NSQuitAlwaysKeepsWindows at the last quit).
    const std::vector<std::string>& savedWindows() const { return saved_; }
    void setRefusesToQuit(bool refuses) { refuses_ = refuses; }
    bool refusesToQuit() const { return refuses_; }
    int launches() const { return launches_; }
    // The user opens a Finder window in the first instance.
    void openWindow(const std::string& title);

  private:
    void persist() const;
    std::string stateFile() const;

    RunLoop& loop_;
    SimPreferences& prefs_;
    const Disk& disk_;
    std::map<int, Instance> instances_;
    std::vector<std::string> saved_;
    std::vector<std::string> lastOpen_;  // open windows when the simulated Mac last stopped
    std::function<void(int)> launchFinished_;
    bool refuses_ = false;
    bool booted_ = false;
    int launches_ = 0;
};

}  // namespace tidra::sim
