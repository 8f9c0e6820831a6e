// The vendor framework DevMateKit: usage report, issue reporting, feedback dialog.
#pragma once

namespace tidra {

class Object;

class DevMateKit {
  public:
    virtual ~DevMateKit() = default;
    virtual void sendTrackingReport(Object* report, Object* delegate) = 0;
    virtual void setupIssuesController(Object* controller, bool reportingUnhandledIssues) = 0;
    virtual void showFeedbackDialog(Object* controller, int mode) = 0;
};

}  // namespace tidra
