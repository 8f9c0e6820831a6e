// NSApplication on the simulated Mac: NSApplicationMain loads the main interface description
// from the bundle, creates its objects, connects outlets, actions and bindings, wakes the
// objects, then runs the delegate's launch callbacks. The front end then drives the event loop.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/application.h"
#include "platform/console.h"
#include "platform/defaults.h"
#include "platform/interface_walk.h"
#include "sim/bundle.h"
#include "sim/interface/status_bar.h"

namespace tidra::sim {

class SimApplication : public Application {
  public:
    SimApplication(SimBundle& bundle, UserDefaults& store, Console& console, int pid)
        : bundle_(bundle), store_(store), console_(console), pid_(pid) {}
    ~SimApplication() override;

    int applicationMain(int argc, char** argv, const ClassRegistry& classes) override;
    std::optional<Event> currentEvent() override { return event_; }
    [[noreturn]] void terminate(Object* sender) override;
    [[noreturn]] void exit(int status) override;
    bool isActive() override { return active_; }
    void activateIgnoringOtherApps(bool flag) override {
        (void)flag;
        const bool was = active_;
        active_ = true;
        if (!was && onActivate_) onActivate_();
    }
    // Called each time the application becomes active.
    void setActivationHandler(std::function<void()> handler) { onActivate_ = std::move(handler); }
    int processIdentifier() override { return pid_; }
    int addLocalMonitorForEvents(unsigned mask, EventMonitorHandler handler) override;
    void removeMonitor(int monitor) override;
    // Hands an event to the monitors whose mask takes it, in the order they were added: what
    // is left to dispatch, or nothing when one of them swallowed it.
    std::optional<Event> passThroughMonitors(const Event& event);
    // Handed the reopen event by the system, for the delegate to take.
    void reopen();
    // From just before the delegate hears that launching has finished.
    bool finishedLaunching() const { return finishedLaunching_; }

    // The front end's event being handled, if any.
    void setCurrentEvent(std::optional<Event> e) { event_ = e; }
    // The objects the main interface description made, by identifier.
    Object* object(const std::string& id) const;
    std::shared_ptr<SimMenu> menu(const std::string& id) const;
    // Releases what the interface description made, the controller's teardown included.
    void releaseObjects();
    // The description could not be loaded: why.
    const std::string& loadError() const { return loadError_; }

  private:
    struct Monitor {
        int id;
        unsigned mask;
        EventMonitorHandler handler;
    };
    std::function<void()> onActivate_;
    std::vector<Monitor> monitors_;
    int nextMonitor_ = 1;
    bool loadMainInterface(const ClassRegistry& classes);

    SimBundle& bundle_;
    UserDefaults& store_;
    Console& console_;
    int pid_;
    std::optional<Event> event_;
    bool active_ = false;
    bool finishedLaunching_ = false;
    std::optional<MainInterface> interface_;
    std::string loadError_;
};

}  // namespace tidra::sim
