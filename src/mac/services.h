// The native platform services, one maker each; src/mac/platform.mm bundles them for Tidra.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace tidra::mac {

std::unique_ptr<Preferences> makePreferences();
std::unique_ptr<Archiver> makeArchiver();
std::unique_ptr<Workspace> makeWorkspace();
std::unique_ptr<Screens> makeScreens();
std::unique_ptr<StatusBar> makeStatusBar();
std::unique_ptr<Images> makeImages();
std::unique_ptr<Ui> makeUi();
std::unique_ptr<InterfaceLoader> makeInterfaceLoader(Console& console);
std::unique_ptr<DistributedNotificationCenter> makeDistributedNotificationCenter();
std::unique_ptr<UserNotificationCenter> makeUserNotificationCenter();
std::unique_ptr<Bundle> makeMainBundle();
std::unique_ptr<Application> makeApplication(Console& console);
std::unique_ptr<FileManager> makeFileManager();
std::unique_ptr<AppleScripting> makeAppleScripting();
std::unique_ptr<Tasks> makeTasks();
std::unique_ptr<Authorization> makeAuthorization();
std::unique_ptr<Dispatch> makeDispatch();
std::unique_ptr<Console> makeConsole();
std::unique_ptr<SystemInfo> makeSystemInfo();
std::unique_ptr<DevMateKit> makeDevMateKit(Workspace& workspace);
std::unique_ptr<HotKeys> makeHotKeys();
std::unique_ptr<UrlEvents> makeUrlEvents();
// Service Management's login item; the logic asks for it on macOS 13 and later only.
std::unique_ptr<AppService> makeAppService();

}  // namespace tidra::mac
