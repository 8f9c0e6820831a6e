// Running applications and the shared workspace (NSRunningApplication, NSWorkspace).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/object.h"
#include "platform/screens.h"
#include "platform/value.h"

namespace tidra {

class RunningApplication {
  public:
    virtual ~RunningApplication() = default;
    virtual std::string bundleIdentifier() const = 0;
    virtual std::optional<Url> bundleURL() const = 0;
    virtual int processIdentifier() const = 0;
    // A normal quit request; the answer says whether it was sent, not whether the app quit.
    virtual bool terminate() = 0;
};

inline constexpr const char* kWorkspaceDidTerminateApplicationNotification =
    "NSWorkspaceDidTerminateApplicationNotification";
// Posted once an application has finished launching, with the same user information.
inline constexpr const char* kWorkspaceDidLaunchApplicationNotification =
    "NSWorkspaceDidLaunchApplicationNotification";
inline constexpr const char* kApplicationBundleIdentifierKey = "NSApplicationBundleIdentifier";
inline constexpr unsigned kWorkspaceLaunchAsync = 0x10000;
inline constexpr const char* kWorkspaceRecycleOperation = "recycle";

class NotificationCenter {
  public:
    virtual ~NotificationCenter() = default;
    // `name` and `object` empty / null mean any. Delivery is on the main thread.
    virtual void addObserver(Object* observer, const std::string& selector,
                             const std::optional<std::string>& name, Object* object) = 0;
    virtual void removeObserver(Object* observer, const std::optional<std::string>& name,
                                Object* object) = 0;
};

class Workspace {
  public:
    virtual ~Workspace() = default;
    virtual NotificationCenter& notificationCenter() = 0;
    virtual std::vector<std::shared_ptr<RunningApplication>>
    runningApplicationsWithBundleIdentifier(const std::string& bundleIdentifier) = 0;
    virtual std::vector<std::shared_ptr<RunningApplication>> runningApplications() = 0;
    virtual bool launchAppWithBundleIdentifier(const std::string& bundleIdentifier,
                                               unsigned options) = 0;
    virtual bool openURL(const Url& url) = 0;
    // Where Launch Services finds the application with this identifier, nothing when none is
    // installed.
    virtual std::optional<Url> URLForApplicationWithBundleIdentifier(
        const std::string& bundleIdentifier) = 0;

    virtual std::optional<Url> desktopImageURLForScreen(const Screen& screen) = 0;
    // Nothing (nil) when the platform has no options for the screen.
    virtual Value desktopImageOptionsForScreen(const Screen& screen) = 0;
    virtual bool setDesktopImageURL(const Url& url, const Screen& screen, const Dictionary& options,
                                    ErrorOut error) = 0;

    virtual bool performFileOperation(const std::string& operation, const std::string& source,
                                      const std::string& destination,
                                      const std::vector<std::string>& files) = 0;
};

}  // namespace tidra
