#include "app/app_delegate.h"

#include "menu/status_menu_controller.h"

namespace tidra {

void AppDelegate::applicationWillFinishLaunching(const Notification&) {
    if (offerMoveToApplicationsFolder_) offerMoveToApplicationsFolder_();
}

void AppDelegate::applicationDidFinishLaunching(const Notification&) {
    devMate_.sendTrackingReport(nullptr, nullptr);
    devMate_.setupIssuesController(nullptr, true);
    userNotifications_.setDelegate(this);
    userNotifications_.launchFinished();
    if (statusMenuController_) statusMenuController_->applicationDidFinishLaunching();
}

bool AppDelegate::applicationShouldHandleReopen(bool) {
    if (statusMenuController_) statusMenuController_->applicationReopened();
    // Handled here: the system has no window of Tidra's to bring forward itself.
    return false;
}

bool AppDelegate::setOutlet(const std::string& name, Object* value) {
    if (name != "statusMenuController") return Object::setOutlet(name, value);
    statusMenuController_ = dynamic_cast<StatusMenuController*>(value);
    return true;
}

}  // namespace tidra
