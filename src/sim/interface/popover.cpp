#include "sim/interface/popover.h"

#include "sim/interface/views.h"

namespace tidra::sim {

void SimPopover::performClose(Object*) {
    shown_ = false;
    anchor_ = nullptr;
}

void SimPopover::showRelativeToRect(Rect rect, View* view, RectEdge preferredEdge) {
    // The platform refuses to show a popover that points at no view.
    if (!view) return;
    if (launched_ && !launched_()) return;
    // Showing loads the content view controller's view, as on the platform.
    if (content_) content_->view();
    anchor_ = view;
    anchorRect_ = rect;
    edge_ = preferredEdge;
    if (!shown_) ++timesShown_;
    shown_ = true;
}

void SimPopover::userInteractedOutside() {
    if (behavior_ == kPopoverBehaviorTransient || behavior_ == kPopoverBehaviorSemitransient)
        performClose(nullptr);
}

nlohmann::json SimPopover::describe() const {
    nlohmann::json out{{"shown", shown_}, {"behavior", behavior_}};
    out["appearance"] = appearance_ ? nlohmann::json(*appearance_) : nlohmann::json();
    if (shown_) {
        out["anchorRect"] = describeRect(anchorRect_);
        out["preferredEdge"] = static_cast<int>(edge_);
        auto* node = dynamic_cast<const ViewNode*>(contentView());
        out["contentView"] = node ? node->describe() : nlohmann::json();
    }
    return out;
}

}  // namespace tidra::sim
