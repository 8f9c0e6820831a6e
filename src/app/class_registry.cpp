#include "app/class_registry.h"

#include "app/app_delegate.h"
#include "install/application_mover.h"
#include "menu/popover_view_controller.h"
#include "menu/status_menu_controller.h"

namespace tidra {

ClassRegistry makeTidraClasses(const Platform& platform) {
    ClassRegistry classes;
    // The platform is a bundle of references; the factories keep their own copy of it.
    classes.add("AppDelegate", [platform] {
        auto mover = std::make_shared<ApplicationMover>(ApplicationMover::Services{
            platform.preferences.standardUserDefaults(), platform.mainBundle, platform.fileManager,
            platform.workspace, platform.tasks, platform.authorization, platform.appleScript,
            platform.archiver, platform.ui, platform.application, platform.console,
            platform.system});
        return std::make_shared<AppDelegate>(platform.preferences.standardUserDefaults(),
                                             platform.devMate, platform.userNotifications,
                                             [mover] { mover->offerMoveToApplicationsFolder(); });
    });
    classes.add("StatusMenuController",
                [platform] { return std::make_shared<StatusMenuController>(platform); });
    classes.add("PopoverViewController", [platform] {
        return std::make_shared<PopoverViewController>(platform.interfaces,
                                                       "PopoverViewController");
    });
    return classes;
}

}  // namespace tidra
