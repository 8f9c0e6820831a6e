#include "app/app_delegate.h"

namespace tidra {

void AppDelegate::applicationWillFinishLaunching(const Notification&) {
    if (offerMoveToApplicationsFolder_) offerMoveToApplicationsFolder_();
}

void AppDelegate::applicationDidFinishLaunching(const Notification&) {
    devMate_.sendTrackingReport(nullptr, nullptr);
    devMate_.setupIssuesController(nullptr, true);
    userNotifications_.setDelegate(this);
}

}  // namespace tidra
