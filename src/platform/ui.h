// Makers of the interface objects Tidra creates itself, and the window levels.
#pragma once

#include <memory>

#include "platform/panels.h"
#include "platform/views.h"

namespace tidra {

inline constexpr int kMaximumWindowLevelKey = 14;

class Ui {
  public:
    virtual ~Ui() = default;
    virtual std::shared_ptr<Popover> makePopover() = 0;
    virtual std::shared_ptr<VisualEffectView> makeVisualEffectView(Rect frame) = 0;
    virtual std::shared_ptr<OpenPanel> makeOpenPanel() = 0;
    virtual std::shared_ptr<Alert> makeAlert() = 0;
    // CGWindowLevelForKey.
    virtual long windowLevelForKey(int key) = 0;
    virtual double smallSystemFontSize() = 0;
};

}  // namespace tidra
