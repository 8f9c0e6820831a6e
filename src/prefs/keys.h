// Every preferences domain and key Tidra reads or writes, in one place so that a misspelt key
// cannot silently read as "absent".
#pragma once

namespace tidra::prefs {

// Domains.
inline constexpr const char* kAppDomain = "xq.morv.Tidra";
inline constexpr const char* kFinderDomain = "com.apple.finder";
inline constexpr const char* kFinderBundleIdentifier = "com.apple.finder";

// Tidra's own store.
inline constexpr const char* kHasSetRestoreFinderPref = "hasSetRestoreFinderPref";
inline constexpr const char* kRestoreFinder = "restoreFinder";
inline constexpr const char* kReplaceWallpaper = "replaceWallpaper";
inline constexpr const char* kWallpapers = "wallpapers";
inline constexpr const char* kWallpapersOptions = "wallpapersOptions";
inline constexpr const char* kWallpapersApplied = "wallpapersApplied";
inline constexpr const char* kLaunchAtLogin = "launchAtLogin";
inline constexpr const char* kHasShownWelcomeMessage = "hasShownWelcomeMessage";
inline constexpr const char* kExternalScreenTrigger = "externalScreenTrigger";
inline constexpr const char* kExternalScreenDisconnect = "externalScreenDisconnect";
inline constexpr const char* kMoveToApplicationsFolderAlertSuppress =
    "moveToApplicationsFolderAlertSuppress";
inline constexpr const char* kHideWidgets = "hideWidgets";
// From macOS 13: true once no System Events login item of an older system can stand any more.
inline constexpr const char* kOldLoginItemRemoved = "oldLoginItemRemoved";
// The user's own window-manager widget settings while Tidra hides the widgets: a dictionary
// holding each of the two keys the user had set; absent while Tidra hides nothing.
inline constexpr const char* kUserWidgetSettings = "userWidgetSettings";

// The window manager's domain (macOS 14 and later: desktop widgets).
inline constexpr const char* kWindowManagerDomain = "com.apple.WindowManager";
inline constexpr const char* kStandardHideWidgets = "StandardHideWidgets";
inline constexpr const char* kStageManagerHideWidgets = "StageManagerHideWidgets";

// The keyboard shortcut: {keyCode: kVK_… code, modifiers: Carbon modifier bits}.
inline constexpr const char* kHotKey = "hotKey";
// Hiding while a presentation or meeting application runs: the option, the applications' bundle
// identifiers, and whether the desktop now hidden was hidden for that reason.
inline constexpr const char* kHideWhilePresenting = "hideWhilePresenting";
inline constexpr const char* kPresentingApps = "presentingApps";
inline constexpr const char* kHiddenWhilePresenting = "hiddenWhilePresenting";

// Finder's domain.
inline constexpr const char* kCreateDesktop = "CreateDesktop";
inline constexpr const char* kQuitAlwaysKeepsWindows = "NSQuitAlwaysKeepsWindows";

// The global domain.
inline constexpr const char* kAppleInterfaceStyle = "AppleInterfaceStyle";

}  // namespace tidra::prefs
