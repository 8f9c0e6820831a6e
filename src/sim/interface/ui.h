// The simulated Mac's maker of popovers, visual-effect views, panels and alerts, and its
// window levels.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/ui.h"
#include "sim/interface/popover.h"

namespace tidra::sim {

// CGWindowLevelForKey(kCGMaximumWindowLevelKey) on the platform.
inline constexpr long kMaximumWindowLevel = 2147483631;

class SimUi : public Ui {
  public:
    using OpenPanelFactory = std::function<std::shared_ptr<OpenPanel>()>;
    using AlertFactory = std::function<std::shared_ptr<Alert>()>;

    SimUi(OpenPanelFactory openPanels, AlertFactory alerts)
        : openPanels_(std::move(openPanels)), alerts_(std::move(alerts)) {}

    std::shared_ptr<Popover> makePopover() override;
    std::shared_ptr<VisualEffectView> makeVisualEffectView(Rect frame) override;
    std::shared_ptr<OpenPanel> makeOpenPanel() override {
        return openPanels_ ? openPanels_() : nullptr;
    }
    std::shared_ptr<Alert> makeAlert() override { return alerts_ ? alerts_() : nullptr; }
    long windowLevelForKey(int key) override;
    double smallSystemFontSize() override { return 11; }

    // Popovers that still exist, oldest first.
    std::vector<std::shared_ptr<SimPopover>> popovers() const;
    // Asked by each popover when it is to be shown: has its application finished launching?
    void setLaunchQuery(SimPopover::LaunchQuery launched) { launched_ = std::move(launched); }
    // A click elsewhere or an opened menu reaches every popover.
    void userInteractedOutsidePopovers();

  private:
    OpenPanelFactory openPanels_;
    AlertFactory alerts_;
    std::vector<std::weak_ptr<SimPopover>> popovers_;
    SimPopover::LaunchQuery launched_;
};

}  // namespace tidra::sim
