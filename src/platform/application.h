// The application object (NSApplication, NSApplicationMain) and its delegate.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/events.h"
#include "platform/interface_loader.h"
#include "platform/object.h"

namespace tidra {

class ApplicationDelegate {
  public:
    virtual ~ApplicationDelegate() = default;
    virtual void applicationWillFinishLaunching(const Notification& note) = 0;
    virtual void applicationDidFinishLaunching(const Notification& note) = 0;
    // The user opened Tidra again while it runs (Finder, Spotlight, `open`): the reopen event.
    virtual bool applicationShouldHandleReopen(bool hasVisibleWindows) {
        (void)hasVisibleWindows;
        return true;
    }
};

class Application {
  public:
    virtual ~Application() = default;
    // NSApplicationMain: loads the main interface description (creating its objects through
    // `classes`), wakes them, runs the delegate's launch callbacks and the event loop.
    virtual int applicationMain(int argc, char** argv, const ClassRegistry& classes) = 0;
    virtual std::optional<Event> currentEvent() = 0;
    // Ends the application; does not return.
    [[noreturn]] virtual void terminate(Object* sender) = 0;
    // Ends the process at once with the status (exit); does not return.
    [[noreturn]] virtual void exit(int status) = 0;
    virtual bool isActive() = 0;
    virtual void activateIgnoringOtherApps(bool flag) = 0;
    virtual int processIdentifier() = 0;
    // addLocalMonitorForEventsMatchingMask:handler: — sees the events of `mask` this application
    // receives before they are dispatched. Answers a number for removeMonitor.
    virtual int addLocalMonitorForEvents(unsigned mask, EventMonitorHandler handler) = 0;
    virtual void removeMonitor(int monitor) = 0;
};

}  // namespace tidra
