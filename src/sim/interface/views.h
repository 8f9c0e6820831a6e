// Views of the simulated Mac: plain views, text fields, buttons and visual-effect views, as
// interface descriptions and Tidra's code build them.
#pragma once

#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "platform/views.h"

namespace tidra::sim {

// What every simulated view shares, reachable without knowing the view's own interface.
class ViewNode {
  public:
    virtual ~ViewNode() = default;
    virtual View& asView() = 0;
    // Drops `child` from the subviews (it is being moved into another view).
    virtual void detachSubview(View* child) = 0;
    virtual void attachTo(View* superview) = 0;
    // The view and its subtree, for the front end.
    virtual nlohmann::json describe() const = 0;
};

template <class Interface>
class BasicView : public Interface,
                  public ViewNode,
                  public std::enable_shared_from_this<BasicView<Interface>> {
  public:
    BasicView(std::string className, std::string identifier, Rect frame)
        : className_(std::move(className)), identifier_(std::move(identifier)), frame_(frame) {}

    std::string className() const override { return className_; }
    std::string identifier() const override { return identifier_; }
    Rect frame() const override { return frame_; }
    // Nothing is scrolled or clipped here: the whole bounds are visible.
    Rect visibleRect() const override { return Rect{{0, 0}, frame_.size}; }
    void setWantsLayer(bool wants) override { wantsLayer_ = wants; }
    bool wantsLayer() const override { return wantsLayer_; }
    void addSubview(std::shared_ptr<View> view) override {
        if (!view || view.get() == this) return;
        auto* node = dynamic_cast<ViewNode*>(view.get());
        if (!node) return;
        // As on the platform, a view has one superview: adding moves it, in front of the rest.
        if (auto* old = dynamic_cast<ViewNode*>(view->superview())) old->detachSubview(view.get());
        node->attachTo(this);
        subviews_.push_back(std::move(view));
    }
    std::vector<std::shared_ptr<View>> subviews() const override { return subviews_; }
    View* superview() const override { return superview_; }
    void addConstraints(const std::vector<LayoutConstraint>& constraints) override {
        constraints_.insert(constraints_.end(), constraints.begin(), constraints.end());
    }
    std::vector<LayoutConstraint> constraints() const override { return constraints_; }
    void setAppearance(const std::optional<std::string>& name) override { appearance_ = name; }
    std::optional<std::string> appearance() const override { return appearance_; }
    std::shared_ptr<View> retained() override { return this->shared_from_this(); }

    View& asView() override { return *this; }
    void detachSubview(View* child) override {
        std::erase_if(subviews_, [child](const auto& v) { return v.get() == child; });
    }
    void attachTo(View* superview) override { superview_ = superview; }
    nlohmann::json describe() const override;

  protected:
    virtual void describeOwn(nlohmann::json&) const {}

  private:
    std::string className_;
    std::string identifier_;
    Rect frame_;
    bool wantsLayer_ = false;
    std::optional<std::string> appearance_;
    std::vector<std::shared_ptr<View>> subviews_;
    View* superview_ = nullptr;
    std::vector<LayoutConstraint> constraints_;
};

using SimView = BasicView<View>;

class SimTextField : public BasicView<TextField> {
  public:
    SimTextField(std::string identifier, Rect frame, std::string value)
        : BasicView("NSTextField", std::move(identifier), frame), value_(std::move(value)) {}
    std::string stringValue() const override { return value_; }
    void setStringValue(const std::string& value) override { value_ = value; }

  protected:
    void describeOwn(nlohmann::json& out) const override { out["stringValue"] = value_; }

  private:
    std::string value_;
};

// A push button or link: sends its action to its target when the user clicks it.
class SimButton : public BasicView<View> {
  public:
    SimButton(std::string identifier, Rect frame, std::string title)
        : BasicView("NSButton", std::move(identifier), frame), title_(std::move(title)) {}
    const std::string& title() const { return title_; }
    void setTarget(Object* target) { target_ = target; }
    Object* target() const { return target_; }
    void setAction(std::string selector) { action_ = std::move(selector); }
    const std::string& action() const { return action_; }
    // Answers whether a target took the action.
    bool performClick() {
        return target_ && !action_.empty() && target_->performAction(action_, this);
    }

  protected:
    void describeOwn(nlohmann::json& out) const override {
        out["title"] = title_;
        out["action"] = action_;
    }

  private:
    std::string title_;
    Object* target_ = nullptr;  // weak, as on the platform
    std::string action_;
};

class SimVisualEffectView : public BasicView<VisualEffectView> {
  public:
    explicit SimVisualEffectView(Rect frame, std::string identifier = "")
        : BasicView("NSVisualEffectView", std::move(identifier), frame) {}
    void setMaterial(int material) override { material_ = material; }
    void setBlendingMode(int mode) override { blendingMode_ = mode; }
    void setState(int state) override { state_ = state; }
    int material() const { return material_; }
    int blendingMode() const { return blendingMode_; }
    int state() const { return state_; }

  protected:
    void describeOwn(nlohmann::json& out) const override {
        out["material"] = material_;
        out["blendingMode"] = blendingMode_;
        out["state"] = state_;
    }

  private:
    // The platform's defaults: appearance-based material, behind-window blending, and a state
    // that follows the window's activity.
    int material_ = 0;
    int blendingMode_ = kVisualEffectBlendingModeBehindWindow;
    int state_ = 0;
};

nlohmann::json describeRect(Rect rect);
// Every view of the subtree in depth-first order, `root` first.
std::vector<View*> viewsIn(View* root);
// The first button in the subtree whose action is `selector`, or nothing.
SimButton* buttonWithAction(View* root, const std::string& selector);
// The first view in the subtree with this identifier, or nothing.
View* viewWithIdentifier(View* root, const std::string& identifier);

template <class Interface>
nlohmann::json BasicView<Interface>::describe() const {
    nlohmann::json out{
        {"class", className_}, {"frame", describeRect(frame_)}, {"wantsLayer", wantsLayer_}};
    if (!identifier_.empty()) out["id"] = identifier_;
    out["appearance"] = appearance_ ? nlohmann::json(*appearance_) : nlohmann::json();
    describeOwn(out);
    auto constraints = nlohmann::json::array();
    for (const auto& c : constraints_) constraints.push_back(c.description);
    out["constraints"] = constraints;
    auto subviews = nlohmann::json::array();
    for (const auto& v : subviews_)
        if (auto* node = dynamic_cast<const ViewNode*>(v.get()))
            subviews.push_back(node->describe());
    out["subviews"] = subviews;
    return out;
}

}  // namespace tidra::sim
