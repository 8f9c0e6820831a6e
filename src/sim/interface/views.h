// Views of the simulated Mac: plain views, text fields, buttons and visual-effect views, as
// interface descriptions and Tidra's code build them.
#pragma once

#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "platform/defaults.h"
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
    void setFrame(Rect frame) override { frame_ = frame; }
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
    void setHidden(bool hidden) override { hidden_ = hidden; }
    bool isHidden() const override { return hidden_; }

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
    bool hidden_ = false;
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

// A push button, link, checkbox or radio button: a click sends its action to its target. A bound
// checkbox reads its state from the preferences store and writes the store when clicked.
// How wide `text` is drawn in the system font at `points`, erring wide: the simulated Mac has no
// fonts of its own, so a layout that fits by this estimate fits when drawn.
double estimatedTextWidth(const std::string& text, double points);

class SimButton : public BasicView<Button> {
  public:
    SimButton(std::string identifier, Rect frame, std::string title,
              ButtonKind kind = ButtonKind::Push, int tag = 0)
        : BasicView("NSButton", std::move(identifier), frame),
          title_(std::move(title)),
          kind_(kind),
          tag_(tag) {}
    ButtonKind kind() const override { return kind_; }
    std::string title() const override { return title_; }
    void setTitle(const std::string& title) override { title_ = title; }
    int tag() const override { return tag_; }
    int state() const override;
    void setState(int state) override { state_ = state; }
    void setEnabled(bool enabled) override { enabled_ = enabled; }
    bool isEnabled() const override { return enabled_; }
    void setBordered(bool bordered) override { bordered_ = bordered; }
    bool isBordered() const override { return bordered_; }
    void setTarget(Object* target) { target_ = target; }
    Object* target() const { return target_; }
    void setAction(std::string selector) { action_ = std::move(selector); }
    const std::string& action() const { return action_; }
    void bind(UserDefaults& store, std::string key);
    // A click: a checkbox flips, a radio button turns on, then the action goes to the target.
    // Answers whether a target took the action (a bound checkbox's write counts as taken).
    bool performClick();

  protected:
    void describeOwn(nlohmann::json& out) const override;

  private:
    std::string title_;
    ButtonKind kind_;
    int tag_;
    int state_ = 0;
    bool enabled_ = true;
    bool bordered_ = true;
    Object* target_ = nullptr;  // weak, as on the platform
    std::string action_;
    UserDefaults* store_ = nullptr;
    std::string boundKey_;
};

class SimImageView : public BasicView<ImageView> {
  public:
    SimImageView(std::string identifier, Rect frame)
        : BasicView("NSImageView", std::move(identifier), frame) {}
    void setImageFile(const std::optional<std::string>& path) override { file_ = path; }
    std::optional<std::string> imageFile() const override { return file_; }

  protected:
    void describeOwn(nlohmann::json& out) const override {
        out["imageFile"] = file_ ? nlohmann::json(*file_) : nlohmann::json();
    }

  private:
    std::optional<std::string> file_;
};

class SimListView : public BasicView<ListView> {
  public:
    SimListView(std::string identifier, Rect frame)
        : BasicView("NSTableView", std::move(identifier), frame) {}
    void setRows(const std::vector<ListRow>& rows) override;
    std::vector<ListRow> rows() const override { return rows_; }
    std::optional<size_t> selectedRow() const override { return selected_; }
    void selectRow(std::optional<size_t> row) override;
    void setTarget(Object* target) { target_ = target; }
    void setAction(std::string selector) { action_ = std::move(selector); }
    // The user clicks a row: it is selected and the action goes to the target.
    void click(size_t row);

  protected:
    void describeOwn(nlohmann::json& out) const override;

  private:
    std::vector<ListRow> rows_;
    std::optional<size_t> selected_;
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
// Every view of the subtree that is drawn: hidden views and their subtrees left out.
std::vector<View*> shownViewsIn(View* root);
// The first button in the subtree whose action is `selector`, or nothing.
SimButton* buttonWithAction(View* root, const std::string& selector);
// The first view in the subtree with this identifier, or nothing.
View* viewWithIdentifier(View* root, const std::string& identifier);

template <class Interface>
nlohmann::json BasicView<Interface>::describe() const {
    nlohmann::json out{
        {"class", className_}, {"frame", describeRect(frame_)}, {"wantsLayer", wantsLayer_}};
    if (hidden_) out["hidden"] = true;
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
