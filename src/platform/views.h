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
    virtual void setFrame(Rect frame) = 0;
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
    // A hidden view and its subviews are not drawn and take no clicks.
    virtual void setHidden(bool hidden) = 0;
    virtual bool isHidden() const = 0;
};

class TextField : public View {
  public:
    virtual std::string stringValue() const = 0;
    virtual void setStringValue(const std::string& value) = 0;
};

// NSButton in its three kinds: a push button, a checkbox (switch) and a radio button. A checkbox
// may be bound to a Boolean of the preferences store: it then shows and writes that value.
enum class ButtonKind { Push, Switch, Radio };

class Button : public View {
  public:
    virtual ButtonKind kind() const = 0;
    virtual std::string title() const = 0;
    virtual void setTitle(const std::string& title) = 0;
    virtual int tag() const = 0;
    // kControlStateOn or kControlStateOff (platform/menus.h).
    virtual int state() const = 0;
    virtual void setState(int state) = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;
    // A push button without its bezel reads as a link.
    virtual void setBordered(bool bordered) = 0;
    virtual bool isBordered() const = 0;
};

// NSImageView showing a picture file, scaled down to fit; nothing shows an empty frame.
class ImageView : public View {
  public:
    virtual void setImageFile(const std::optional<std::string>& path) = 0;
    virtual std::optional<std::string> imageFile() const = 0;
};

// A one-column list (NSTableView in its scroll view) of rows the user selects one at a time.
// Changing the selection sends the list's action to its target.
struct ListRow {
    std::string title;
    std::string detail;                   // a second, quieter line; empty for none
    std::optional<std::string> iconFile;  // a file whose icon the row shows, where the platform can
    bool operator==(const ListRow&) const = default;
};

class ListView : public View {
  public:
    // Keeps the selection on the same row number when it still exists.
    virtual void setRows(const std::vector<ListRow>& rows) = 0;
    virtual std::vector<ListRow> rows() const = 0;
    virtual std::optional<size_t> selectedRow() const = 0;
    virtual void selectRow(std::optional<size_t> row) = 0;
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
    virtual bool isVisible() const = 0;
    virtual bool isKeyWindow() const = 0;
    // The frame is kept in the preferences under this name: restored now, saved as it changes.
    virtual void setFrameAutosaveName(const std::string& name) = 0;
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
