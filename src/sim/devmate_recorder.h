// DevMateKit on the simulated Mac: every call is recorded with its arguments, so the front end
// can show what the vendor framework was asked to do. The framework is closed, and Tidra.app
// ships a stand-in whose feedback dialog is an address opened in the mail program; given that
// address, the recorder opens it as the stand-in does.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/devmate.h"
#include "platform/url.h"
#include "platform/workspace.h"

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
        if (!workspace_) return;
        if (auto address = Url::fromString(feedbackAddress_)) workspace_->openURL(*address);
    }
    // The address the feedback dialog opens through `workspace`; none when empty.
    void openForFeedback(Workspace& workspace, std::string address) {
        workspace_ = address.empty() ? nullptr : &workspace;
        feedbackAddress_ = std::move(address);
    }
    const std::vector<std::string>& calls() const { return calls_; }

  private:
    std::vector<std::string> calls_;
    Workspace* workspace_ = nullptr;
    std::string feedbackAddress_;
};

}  // namespace tidra::sim
