// Views, windows, their controllers and popovers, as far as Tidra uses them.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/geometry.h"
#include "platform/object.h"

namespace tidra {

inline constexpr const char* kAppearanceNameVibrantDark = "NSAppearanceNameVibrantDark";

struct Color {
    double white = 0, alpha = 1;  // colorWithWhite:alpha:
    bool operator==(const Color&) const = default;
};

class View;
struct LayoutConstraint {
    std::string description;  // e.g. "H:|[mainView]|" resolved to the views it names
    View* first = nullptr;
    View* second = nullptr;  // the superview, for the edge pins used here
};

class View : public Object {
  public:
    virtual std::string className() const = 0;
    virtual std::string identifier() const = 0;
    virtual Rect frame() const = 0;
    virtual Rect visibleRect() const = 0;
    virtual void setWantsLayer(bool wants) = 0;
    virtual bool wantsLayer() const = 0;
    virtual void addSubview(std::shared_ptr<View> view) = 0;
    virtual std::vector<std::shared_ptr<View>> subviews() const = 0;
    virtual View* superview() const = 0;
    virtual void addConstraints(const std::vector<LayoutConstraint>& constraints) = 0;
    virtual std::vector<LayoutConstraint> constraints() const = 0;
    virtual void setAppearance(const std::optional<std::string>& appearanceName) = 0;
    virtual std::optional<std::string> appearance() const = 0;
    // A shared owner of this view, for moving it into another view.
    virtual std::shared_ptr<View> retained() = 0;
};

class TextField : public View {
  public:
    virtual std::string stringValue() const = 0;
    virtual void setStringValue(const std::string& value) = 0;
};

// NSVisualEffectView materials, blending modes and states used here.
inline constexpr int kVisualEffectMaterialDark = 2;
inline constexpr int kVisualEffectMaterialUltraDark = 9;
inline constexpr int kVisualEffectBlendingModeBehindWindow = 0;
inline constexpr int kVisualEffectStateActive = 1;

class VisualEffectView : public View {
  public:
    virtual void setMaterial(int material) = 0;
    virtual void setBlendingMode(int mode) = 0;
    virtual void setState(int state) = 0;
};

// Visual-format constraints: only the edge-pinning formats "|[name]|" and "V:|[name]|".
// Nothing for a format it cannot read.
std::optional<std::vector<LayoutConstraint>> constraintsWithVisualFormat(
    const std::string& format, const std::map<std::string, View*>& views);

class Window : public Object {
  public:
    virtual View* contentView() = 0;
    virtual void setBackgroundColor(Color color) = 0;
    virtual void setOpaque(bool opaque) = 0;
    virtual void makeKeyAndOrderFront(Object* sender) = 0;
    virtual void setTitlebarAppearsTransparent(bool transparent) = 0;
    virtual void center() = 0;
    virtual void setTitle(const std::string& title) = 0;
    virtual void setLevel(long level) = 0;
    // The close button: the window leaves the screen and stays loaded.
    virtual void close() = 0;
};

class ViewController : public Object {
  public:
    // The controller's view, loaded at the first access (a popover asks for it when shown).
    virtual View* view() { return nullptr; }
    virtual void viewDidLoad() {}
};

class Popover : public Object {
  public:
    virtual void setContentViewController(std::shared_ptr<ViewController> controller) = 0;
    virtual std::shared_ptr<ViewController> contentViewController() const = 0;
    virtual void setBehavior(int behavior) = 0;
    virtual void setAppearance(const std::optional<std::string>& appearanceName) = 0;
    virtual bool isShown() const = 0;
    virtual void performClose(Object* sender) = 0;
    virtual void showRelativeToRect(Rect rect, View* view, RectEdge preferredEdge) = 0;
};

inline constexpr int kPopoverBehaviorApplicationDefined = 0;

}  // namespace tidra
