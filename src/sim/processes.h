// The simulated Mac's running applications (NSRunningApplication, NSWorkspace's process side):
// each process has an identifier and a bundle identifier, quits on a normal request after a short
// delay, and its end is posted on the workspace's notification center on the main thread.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/object.h"
#include "platform/workspace.h"
#include "sim/notification_center.h"
#include "sim/run_loop.h"

namespace tidra::sim {

struct ProcessInfo {
    int pid = 0;
    std::string bundleIdentifier;
    std::string name;
    std::string bundlePath;  // Mac path
    bool quitRequested = false;
    bool finishedLaunching = false;
};

class Processes;

// What a kind of application does when it starts and when it is asked to quit.
class AppBehaviour {
  public:
    virtual ~AppBehaviour() = default;
    virtual void started(ProcessInfo&) {}
    // True for an application that says itself when it has finished launching (through
    // Processes::finishedLaunching); the others have finished as soon as they start.
    virtual bool finishesLaunchingLater() const { return false; }
    // Answers whether the process agrees to quit; `quit` ends it (the process calls it itself,
    // possibly later).
    virtual bool quitRequested(ProcessInfo&, std::function<void()> quit) {
        quit();
        return true;
    }
    // Called when the process has ended, normally or not.
    virtual void ended(ProcessInfo&, bool crashed) { (void)crashed; }
};

class Processes {
  public:
    Processes(RunLoop& loop, SimNotificationCenter& center) : loop_(loop), center_(center) {}

    void setBehaviour(const std::string& bundleIdentifier, std::shared_ptr<AppBehaviour> b) {
        behaviours_[bundleIdentifier] = std::move(b);
    }
    // Starts a process at once and answers its identifier.
    int spawn(const std::string& bundleIdentifier, const std::string& name,
              const std::string& bundlePath = "");
    // The process has finished launching: the workspace says so to its observers.
    void finishedLaunching(int pid);
    // A normal quit request; false when there is no such process.
    bool requestQuit(int pid);
    // Ends a process now. `crashed`: the process did not quit on its own terms.
    void end(int pid, bool crashed);
    bool isRunning(int pid) const;
    std::vector<ProcessInfo> running() const { return list_; }
    std::vector<ProcessInfo> withBundleIdentifier(const std::string& id) const;
    ProcessInfo* find(int pid);

  private:
    RunLoop& loop_;
    SimNotificationCenter& center_;
    std::map<std::string, std::shared_ptr<AppBehaviour>> behaviours_;
    std::vector<ProcessInfo> list_;  // launch order
    int nextPid_ = 301;
    AppBehaviour plain_;
    AppBehaviour& behaviourOf(const std::string& id);
};

}  // namespace tidra::sim
