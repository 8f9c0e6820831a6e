#include "notices/failure_notices.h"

#include "notices/settings_places.h"

namespace tidra {

namespace {

constexpr long kFileWriteOutOfSpace = 640;  // NSFileWriteOutOfSpaceError
constexpr long kPosixNoSpace = 28;          // ENOSPC

}  // namespace

bool FailureNotices::isDiskFull(const Error& error) {
    return (error.domain == "NSCocoaErrorDomain" && error.code == kFileWriteOutOfSpace) ||
           (error.domain == "NSPOSIXErrorDomain" && error.code == kPosixNoSpace);
}

std::string FailureNotices::settingsPath(const char* modern, const char* older) {
    return localizedString(bundle_, system_.operatingSystemVersion().isAtLeast(13) ? modern : older,
                           "Where to go in System Settings (System Preferences before macOS 13)");
}

void FailureNotices::launchAtLoginRefused(std::optional<long> errorNumber) {
    std::string text;
    // Before 10.14 there is no consent to give and no Automation pane to send the user to.
    if (errorNumber == kAppleEventNotAuthorized &&
        system_.operatingSystemVersion().isAtLeast(10, 14)) {
        text = formatText(
            localizedString(bundle_,
                            "Tidra is not allowed to control System Events. Turn on System "
                            "Events under Tidra in %@, then choose Launch at Login again.",
                            "Notification text when the automation of System Events "
                            "was refused; %@ is where to allow it"),
            {settingsPath("System Settings › Privacy & Security › Automation",
                          "System Preferences › Security & Privacy › Privacy › Automation")});
    } else if (errorNumber == kApplicationNotRunning) {
        text = localizedString(bundle_,
                               "System Events did not answer. Wait a moment, then choose Launch "
                               "at Login again.",
                               "Notification text when System Events could not be reached");
    } else {
        text =
            formatText(localizedString(bundle_,
                                       "System Events could not change your login items. Choose "
                                       "Launch at Login again, or add Tidra in %@.",
                                       "Notification text when System Events failed to change the "
                                       "login items; %@ is where to change them by hand"),
                       {loginItemsPlace(bundle_, system_.operatingSystemVersion())});
    }
    tell(FailureTopic::LaunchAtLogin, kLaunchAtLoginFailedNotificationIdentifier,
         localizedString(bundle_, "Launch at Login could not be changed",
                         "Notification title when the login item could not be changed"),
         text);
}

void FailureNotices::launchAtLoginNeedsApproval() {
    tell(FailureTopic::LaunchAtLogin, kLaunchAtLoginFailedNotificationIdentifier,
         localizedString(bundle_, "Launch at Login needs your approval",
                         "Notification title when the user has switched Tidra off in Login "
                         "Items"),
         formatText(localizedString(bundle_,
                                    "Tidra is switched off in %@. Switch Tidra on there to have "
                                    "it start at login.",
                                    "Notification text when the user has switched Tidra off in "
                                    "Login Items; %@ is where"),
                    {loginItemsPlace(bundle_, system_.operatingSystemVersion())}));
}

void FailureNotices::launchAtLoginServiceFailed(const Error& error) {
    tell(FailureTopic::LaunchAtLogin, kLaunchAtLoginFailedNotificationIdentifier,
         localizedString(bundle_, "Launch at Login could not be changed",
                         "Notification title when the login item could not be changed"),
         sentences(bundle_, error.localizedDescription,
                   formatText(localizedString(bundle_,
                                              "Choose Launch at Login again, or switch Tidra on "
                                              "or off in %@.",
                                              "Notification text when the system refused to "
                                              "change the login item; %@ is where"),
                              {loginItemsPlace(bundle_, system_.operatingSystemVersion())})));
}

void FailureNotices::customWallpaperFailed(const std::optional<Error>& error) {
    // However many pictures the user tries, a full disk is one failure.
    if (error && isDiskFull(*error)) {
        tell(FailureTopic::CustomWallpaper, kDiskFullNotificationIdentifier,
             localizedString(bundle_, "The disk is full",
                             "Notification title when a picture could not be imported for want "
                             "of space"),
             localizedString(bundle_,
                             "There is not enough free space for a copy of the picture. Free "
                             "some space on the disk, then choose the picture again from "
                             "Tidra's Wallpaper menu.",
                             "Notification text when a picture could not be imported for want "
                             "of space"));
        return;
    }
    const std::string why = error ? error->localizedDescription : "";
    tell(FailureTopic::CustomWallpaper, kCustomWallpaperFailedNotificationIdentifier,
         localizedString(bundle_, "The picture could not be set as replacement wallpaper",
                         "Notification title when a custom wallpaper image could not be imported"),
         sentences(bundle_, why,
                   localizedString(bundle_,
                                   "Choose the picture again, or another one, from Tidra's "
                                   "Wallpaper menu.",
                                   "Notification text when a custom wallpaper image could "
                                   "not be imported")));
}

void FailureNotices::tell(FailureTopic topic, const std::string& identifier,
                          const std::string& title, const std::string& text) {
    const std::string told = identifier + "\n" + title + "\n" + text;
    auto [entry, fresh] = told_.try_emplace(topic, told);
    if (!fresh && entry->second == told) return;
    entry->second = told;
    UserNotification note;
    note.title = title;
    note.informativeText = text;
    note.hasActionButton = false;
    note.hasReplyButton = false;
    note.identifier = identifier;
    center_.deliverNotification(note);
}

}  // namespace tidra
