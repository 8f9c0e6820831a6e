// A popover of the simulated Mac: what it shows, how it behaves when the user clicks elsewhere,
// and where it is anchored.
#pragma once

#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "platform/views.h"

namespace tidra::sim {

// NSPopoverBehavior values besides application-defined.
inline constexpr int kPopoverBehaviorTransient = 1;
inline constexpr int kPopoverBehaviorSemitransient = 2;

class SimPopover : public Popover {
  public:
    // Whether the application that made it has finished launching: before that, the platform
    // shows no popover (and says nothing about it).
    using LaunchQuery = std::function<bool()>;
    explicit SimPopover(LaunchQuery launched = {}) : launched_(std::move(launched)) {}

    void setContentViewController(std::shared_ptr<ViewController> controller) override {
        content_ = std::move(controller);
    }
    std::shared_ptr<ViewController> contentViewController() const override { return content_; }
    void setBehavior(int behavior) override { behavior_ = behavior; }
    int behavior() const { return behavior_; }
    void setAppearance(const std::optional<std::string>& name) override { appearance_ = name; }
    const std::optional<std::string>& appearance() const { return appearance_; }
    bool isShown() const override { return shown_; }
    void performClose(Object* sender) override;
    void showRelativeToRect(Rect rect, View* view, RectEdge preferredEdge) override;

    // The user clicked outside the popover or opened a menu: only a popover whose behaviour
    // lets the platform close it goes away.
    void userInteractedOutside();

    // What the popover shows while it is shown: its content view controller's view.
    View* contentView() const { return shown_ && content_ ? content_->view() : nullptr; }
    View* anchorView() const { return anchor_; }
    Rect anchorRect() const { return anchorRect_; }
    RectEdge preferredEdge() const { return edge_; }
    int timesShown() const { return timesShown_; }

    nlohmann::json describe() const;

  private:
    LaunchQuery launched_;
    std::shared_ptr<ViewController> content_;
    int behavior_ = kPopoverBehaviorApplicationDefined;
    std::optional<std::string> appearance_;
    bool shown_ = false;
    View* anchor_ = nullptr;  // weak: the view it points at
    Rect anchorRect_;
    RectEdge edge_ = RectEdge::MaxY;
    int timesShown_ = 0;
};

}  // namespace tidra::sim
