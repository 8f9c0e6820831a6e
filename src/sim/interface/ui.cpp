#include "sim/interface/ui.h"

#include <climits>

#include "sim/interface/views.h"

namespace tidra::sim {

std::shared_ptr<Popover> SimUi::makePopover() {
    auto popover = std::make_shared<SimPopover>(launched_);
    std::erase_if(popovers_, [](const auto& p) { return p.expired(); });
    popovers_.push_back(popover);
    return popover;
}

std::shared_ptr<VisualEffectView> SimUi::makeVisualEffectView(Rect frame) {
    return std::make_shared<SimVisualEffectView>(frame);
}

long SimUi::windowLevelForKey(int key) {
    // The platform's values for its window level keys (CGWindowLevelKey).
    constexpr long kMinimum = static_cast<long>(INT_MIN) + 1;
    switch (key) {
        case 0:
            return INT_MIN;  // base
        case 1:
            return kMinimum;  // minimum
        case 2:
            return kMinimum + 20;  // desktop
        case 3:
            return -20;  // backstop
        case 4:
            return 0;  // normal
        case 5:
            return 3;  // floating
        case 6:
            return 3;  // torn-off menu
        case 7:
            return 20;  // dock
        case 8:
            return 24;  // main menu
        case 9:
            return 25;  // status
        case 10:
            return 8;  // modal panel
        case 11:
            return 101;  // pop-up menu
        case 12:
            return 500;  // dragging
        case 13:
            return 1000;  // screen saver
        case kMaximumWindowLevelKey:
            return kMaximumWindowLevel;
        case 15:
            return 102;  // overlay
        case 16:
            return 200;  // help
        case 17:
            return 19;  // utility
        case 18:
            return kMinimum + 40;  // desktop icons
        case 19:
            return kMaximumWindowLevel - 1;  // cursor
        case 20:
            return 1500;  // assistive technology, high
        default:
            return 0;
    }
}

std::vector<std::shared_ptr<SimPopover>> SimUi::popovers() const {
    std::vector<std::shared_ptr<SimPopover>> out;
    for (const auto& weak : popovers_)
        if (auto p = weak.lock()) out.push_back(std::move(p));
    return out;
}

void SimUi::userInteractedOutsidePopovers() {
    for (auto& p : popovers()) p->userInteractedOutside();
}

}  // namespace tidra::sim
