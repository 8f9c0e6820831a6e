// Failures the user brought about with a click reach the user, not only the log: one notification
// that says what failed and what to do about it. The same failure coming back before the
// operation has once succeeded is a retry, and the user has already been told.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "platform/bundle.h"
#include "platform/error.h"
#include "platform/notifications.h"
#include "platform/system_info.h"

namespace tidra {

inline constexpr const char* kLaunchAtLoginFailedNotificationIdentifier =
    "xq.morv.Tidra.launchAtLoginFailedNotification";
inline constexpr const char* kCustomWallpaperFailedNotificationIdentifier =
    "xq.morv.Tidra.customWallpaperFailedNotification";
inline constexpr const char* kDiskFullNotificationIdentifier = "xq.morv.Tidra.diskFullNotification";

// System Events' answers that call for their own advice.
inline constexpr long kAppleEventNotAuthorized = -1743;
inline constexpr long kApplicationNotRunning = -600;

// The operations a user asks for whose failures are told.
enum class FailureTopic { LaunchAtLogin, CustomWallpaper };

class FailureNotices {
  public:
    FailureNotices(UserNotificationCenter& center, Bundle& bundle, SystemInfo& system)
        : center_(center), bundle_(bundle), system_(system) {}

    // System Events turned a change of the login item down, with this error number if it gave
    // one.
    void launchAtLoginRefused(std::optional<long> errorNumber);
    // From macOS 13: the user has switched Tidra off under Login Items, where only the user can
    // switch it on.
    void launchAtLoginNeedsApproval();
    // From macOS 13: Service Management refused to change Tidra's login item.
    void launchAtLoginServiceFailed(const Error& error);
    // The chosen picture could not be copied into the support folder; a disk that is full is
    // told as such.
    void customWallpaperFailed(const std::optional<Error>& error);
    // The operation worked: its next failure is news again.
    void succeeded(FailureTopic topic) { told_.erase(topic); }

    static bool isDiskFull(const Error& error);

  private:
    void tell(FailureTopic topic, const std::string& identifier, const std::string& title,
              const std::string& text);
    // Where System Settings (System Preferences before macOS 13) keeps a pane, for the user to
    // follow.
    std::string settingsPath(const char* modern, const char* older);

    UserNotificationCenter& center_;
    Bundle& bundle_;
    SystemInfo& system_;
    // What each topic last told the user, until the operation succeeds.
    std::map<FailureTopic, std::string> told_;
};

}  // namespace tidra
