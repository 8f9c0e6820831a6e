// The application object (NSApplication, NSApplicationMain) and its delegate.
#pragma once

#include <optional>
#include <string>

#include "platform/interface_loader.h"
#include "platform/object.h"

namespace tidra {

enum class EventType { LeftMouseDown = 1, LeftMouseUp = 2, RightMouseDown = 3, RightMouseUp = 4 };

struct Event {
    EventType type = EventType::LeftMouseUp;
};

class ApplicationDelegate {
  public:
    virtual ~ApplicationDelegate() = default;
    virtual void applicationWillFinishLaunching(const Notification& note) = 0;
    virtual void applicationDidFinishLaunching(const Notification& note) = 0;
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
};

}  // namespace tidra
