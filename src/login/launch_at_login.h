// "Launch at Login": whether Tidra starts when the user logs in. Before macOS 13 System Events
// keeps the entry (through AppleScript), from 13 the system's Service Management does. The
// setting `launchAtLogin` (and so the menu's tick) always shows what will happen at the next
// login, whatever was asked: a refused change puts it back, and a change the user makes in System
// Settings shows the next time anyone looks.
#pragma once

#include "login/login_items.h"
#include "login/service_login_item.h"
#include "notices/failure_notices.h"
#include "platform/app_service.h"
#include "platform/apple_script.h"
#include "platform/bundle.h"
#include "platform/console.h"
#include "platform/defaults.h"
#include "platform/dispatch.h"
#include "platform/file_manager.h"
#include "platform/system_info.h"

namespace tidra {

class LaunchAtLogin {
  public:
    struct Services {
        UserDefaults& defaults;
        AppleScripting& appleScript;
        Dispatch& dispatch;
        Bundle& mainBundle;
        AppService& appService;
        FileManager& fileManager;
        SystemInfo& system;
        Console& console;
        FailureNotices& notices;
    };
    explicit LaunchAtLogin(Services services);

    // At launch: asks the system whether Tidra is a login item and stores the answer. An entry
    // left by System Events pointing at a bundle that is gone (Tidra was moved) is pointed here.
    bool isLoginItem();
    void takeStockAtLaunch();
    // The user's wish (`byUser`: a refusal is told with a notification).
    void change(bool wanted, bool byUser);
    // `launchAtLogin` was written: by the user, or by Tidra settling it (which changes nothing).
    void preferenceChanged(const Value& newValue);
    // The tick takes what the system reports now: the user may have switched Tidra on or off in
    // System Settings › Login Items while it ran. Asks only what costs nothing to ask.
    void followSystem();
    // Whether the system waits for the user to allow Tidra in System Settings › General › Login
    // Items before it opens Tidra at login (macOS 13 and later).
    bool needsApproval();
    // Opens that pane, where the user allows Tidra (macOS 13 and later; nothing before).
    void openLoginItemsSettings();

  private:
    // From macOS 13 the system's Service Management keeps the login item, not System Events.
    bool usesLoginService();
    void changeServiceLoginItem(bool wanted, bool byUser);
    // After a change System Events refused: the tick takes the state it reports, or the one
    // known before when it cannot say, without starting another change.
    void settle();
    void settle(bool present);
    void repointStaleLoginItem();

    Services s_;
    LoginItems loginItems_;
    ServiceLoginItem serviceLoginItem_;
    bool settling_ = false;
    // Whether the login item exists, as far as the system last told.
    bool known_ = false;
};

}  // namespace tidra
