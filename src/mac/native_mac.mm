#include "mac/native_mac.h"

#include "mac/services.h"

namespace tidra::mac {

NativeMac::NativeMac()
    : console_(makeConsole()),
      preferences_(makePreferences()),
      archiver_(makeArchiver()),
      workspace_(makeWorkspace()),
      screens_(makeScreens()),
      statusBar_(makeStatusBar()),
      images_(makeImages()),
      ui_(makeUi()),
      interfaces_(makeInterfaceLoader(*console_)),
      distributed_(makeDistributedNotificationCenter()),
      userNotifications_(makeUserNotificationCenter()),
      mainBundle_(makeMainBundle()),
      application_(makeApplication(*console_)),
      fileManager_(makeFileManager()),
      appleScript_(makeAppleScripting()),
      tasks_(makeTasks()),
      authorization_(makeAuthorization()),
      dispatch_(makeDispatch()),
      system_(makeSystemInfo()),
      devMate_(makeDevMateKit(*workspace_)),
      hotKeys_(makeHotKeys()),
      urlEvents_(makeUrlEvents()),
      appService_(makeAppService()) {}

NativeMac::~NativeMac() = default;

Platform NativeMac::platform() {
    return Platform{
        *preferences_,   *archiver_,    *workspace_,   *screens_,     *statusBar_,
        *images_,        *ui_,          *interfaces_,  *distributed_, *userNotifications_,
        *mainBundle_,    *application_, *fileManager_, *appleScript_, *tasks_,
        *authorization_, *dispatch_,    *console_,     *system_,      *devMate_,
        *hotKeys_,       *urlEvents_,   *appService_};
}

}  // namespace tidra::mac
