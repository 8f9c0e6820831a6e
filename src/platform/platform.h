// Every platform service Tidra uses, one interface each. The controller and the delegate take
// this bundle and hand each subsystem only the services it needs.
#pragma once

#include "platform/app_service.h"
#include "platform/apple_script.h"
#include "platform/application.h"
#include "platform/authorization.h"
#include "platform/bundle.h"
#include "platform/console.h"
#include "platform/defaults.h"
#include "platform/devmate.h"
#include "platform/dispatch.h"
#include "platform/file_manager.h"
#include "platform/hot_keys.h"
#include "platform/images.h"
#include "platform/interface_loader.h"
#include "platform/notifications.h"
#include "platform/screens.h"
#include "platform/status_bar.h"
#include "platform/system_info.h"
#include "platform/tasks.h"
#include "platform/ui.h"
#include "platform/url_events.h"
#include "platform/workspace.h"

namespace tidra {

struct Platform {
    Preferences& preferences;
    Archiver& archiver;
    Workspace& workspace;
    Screens& screens;
    StatusBar& statusBar;
    Images& images;
    Ui& ui;
    InterfaceLoader& interfaces;
    DistributedNotificationCenter& distributedNotifications;
    UserNotificationCenter& userNotifications;
    Bundle& mainBundle;
    Application& application;
    FileManager& fileManager;
    AppleScripting& appleScript;
    Tasks& tasks;
    Authorization& authorization;
    Dispatch& dispatch;
    Console& console;
    SystemInfo& system;
    DevMateKit& devMate;
    HotKeys& hotKeys;
    UrlEvents& urlEvents;
    AppService& appService;
};

}  // namespace tidra
