// DevMateKit on the simulated Mac: every call is recorded with its arguments, so the front end
// can show what the vendor framework was asked to do.
#pragma once

#include <string>
#include <vector>

#include "platform/devmate.h"

namespace tidra::sim {

class DevMateRecorder : public DevMateKit {
  public:
    void sendTrackingReport(Object* report, Object* delegate) override {
        calls_.push_back(std::string("sendTrackingReport:") + (report ? "report" : "nil") +
                         " delegate:" + (delegate ? "delegate" : "nil"));
    }
    void setupIssuesController(Object* controller, bool reportingUnhandledIssues) override {
        calls_.push_back(std::string("setupIssuesController:") +
                         (controller ? "controller" : "nil") +
                         " reportingUnhandledIssues:" + (reportingUnhandledIssues ? "YES" : "NO"));
    }
    void showFeedbackDialog(Object* controller, int mode) override {
        calls_.push_back(std::string("showFeedbackDialog:") + (controller ? "controller" : "nil") +
                         " inMode:" + std::to_string(mode));
    }
    const std::vector<std::string>& calls() const { return calls_; }

  private:
    std::vector<std::string> calls_;
};

}  // namespace tidra::sim
