// The stand-in for DevMateKit, a closed framework that is not available: the usage report and
// the issue reporting do nothing (nothing goes over the network), and the feedback dialog is the
// project's feedback address opened in the user's mail program.
#include "about/companion_store.h"
#include "mac/services.h"

namespace tidra::mac {
namespace {

class MacDevMateKit final : public DevMateKit {
  public:
    explicit MacDevMateKit(Workspace& workspace) : workspace_(workspace) {}
    void sendTrackingReport(Object*, Object*) override {}
    void setupIssuesController(Object*, bool) override {}
    void showFeedbackDialog(Object*, int) override {
        if (auto address = Url::fromString(kFeedbackAddressPlaceholder))
            workspace_.openURL(*address);
    }

  private:
    Workspace& workspace_;
};

}  // namespace

std::unique_ptr<DevMateKit> makeDevMateKit(Workspace& workspace) {
    return std::make_unique<MacDevMateKit>(workspace);
}

}  // namespace tidra::mac
