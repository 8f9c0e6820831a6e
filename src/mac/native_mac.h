// Every native service, made once for the process and handed to Tidra as its platform.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace tidra::mac {

class NativeMac {
  public:
    NativeMac();
    ~NativeMac();
    NativeMac(const NativeMac&) = delete;
    NativeMac& operator=(const NativeMac&) = delete;

    Platform platform();
    Application& application() { return *application_; }

  private:
    std::unique_ptr<Console> console_;
    std::unique_ptr<Preferences> preferences_;
    std::unique_ptr<Archiver> archiver_;
    std::unique_ptr<Workspace> workspace_;
    std::unique_ptr<Screens> screens_;
    std::unique_ptr<StatusBar> statusBar_;
    std::unique_ptr<Images> images_;
    std::unique_ptr<Ui> ui_;
    std::unique_ptr<InterfaceLoader> interfaces_;
    std::unique_ptr<DistributedNotificationCenter> distributed_;
    std::unique_ptr<UserNotificationCenter> userNotifications_;
    std::unique_ptr<Bundle> mainBundle_;
    std::unique_ptr<Application> application_;
    std::unique_ptr<FileManager> fileManager_;
    std::unique_ptr<AppleScripting> appleScript_;
    std::unique_ptr<Tasks> tasks_;
    std::unique_ptr<Authorization> authorization_;
    std::unique_ptr<Dispatch> dispatch_;
    std::unique_ptr<SystemInfo> system_;
    std::unique_ptr<DevMateKit> devMate_;
    std::unique_ptr<HotKeys> hotKeys_;
    std::unique_ptr<UrlEvents> urlEvents_;
    std::unique_ptr<AppService> appService_;
};

}  // namespace tidra::mac
