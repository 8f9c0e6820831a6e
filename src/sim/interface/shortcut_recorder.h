// A shortcut recorder on the simulated Mac: the front end types combinations into it.
#pragma once

#include "platform/hot_keys.h"
#include "sim/interface/views.h"

namespace tidra::sim {

class SimShortcutRecorder : public BasicView<ShortcutRecorderView> {
  public:
    SimShortcutRecorder(std::string identifier, Rect frame)
        : BasicView("ShortcutRecorder", std::move(identifier), frame) {}
    std::optional<KeyPress> lastKeyPress() const override { return last_; }
    void setTarget(Object* target) { target_ = target; }
    void setAction(std::string selector) { action_ = std::move(selector); }
    // A key typed while the recorder's window is key; answers whether a target took it.
    bool type(const KeyPress& press) {
        last_ = press;
        return target_ && !action_.empty() && target_->performAction(action_, this);
    }

  private:
    std::optional<KeyPress> last_;
    Object* target_ = nullptr;  // weak, as on the platform
    std::string action_;
};

}  // namespace tidra::sim
