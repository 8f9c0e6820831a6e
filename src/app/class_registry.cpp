#include "app/class_registry.h"

#include "app/app_delegate.h"
#include "install/application_mover.h"
#include "menu/status_menu_controller.h"
#include "notices/permitted_notifications.h"

namespace tidra {

ClassRegistry makeTidraClasses(const Platform& base) {
    ClassRegistry classes;
    // Every notification Tidra posts, from whichever part, asks for the user's permission first.
    auto notifications =
        std::make_shared<PermittedNotifications>(base.userNotifications, base.console);
    const Platform platform{base.preferences,
                            base.archiver,
                            base.workspace,
                            base.screens,
                            base.statusBar,
                            base.images,
                            base.ui,
                            base.interfaces,
                            base.distributedNotifications,
                            *notifications,
                            base.mainBundle,
                            base.application,
                            base.fileManager,
                            base.appleScript,
                            base.tasks,
                            base.authorization,
                            base.dispatch,
                            base.console,
                            base.system,
                            base.devMate,
                            base.hotKeys,
                            base.urlEvents,
                            base.appService};
    // The platform is a bundle of references; the factories keep their own copy of it, and
    // the notification center it refers to.
    classes.add("AppDelegate", [platform, notifications] {
        auto mover = std::make_shared<ApplicationMover>(ApplicationMover::Services::from(platform));
        return std::make_shared<AppDelegate>(platform.preferences.standardUserDefaults(),
                                             platform.devMate, *notifications,
                                             [mover] { mover->offerMoveToApplicationsFolder(); });
    });
    classes.add("StatusMenuController", [platform, notifications] {
        return std::make_shared<StatusMenuController>(platform);
    });
    return classes;
}

}  // namespace tidra
