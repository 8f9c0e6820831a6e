#include "mac/views.h"

#include <map>

#include "mac/shortcut_recorder.h"
#include "mac/value_bridge.h"
#include "platform/hot_keys.h"

namespace tidra::mac {

NSRect toNSRect(Rect rect) {
    return NSMakeRect(rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
}

Rect fromNSRect(NSRect rect) {
    return Rect{{rect.origin.x, rect.origin.y}, {rect.size.width, rect.size.height}};
}

NSView* nativeViewOf(const View* view) {
    const auto* native = dynamic_cast<const NativeView*>(view);
    return native != nullptr ? native->nativeView() : nil;
}

namespace {

// Everything a view is, over any of the view interfaces (View, TextField, VisualEffectView).
template <typename Interface>
class ViewBase : public Interface,
                 public NativeView,
                 public std::enable_shared_from_this<ViewBase<Interface>> {
  public:
    ViewBase(NSView* view, std::string identifier, id keep)
        : view_(view), identifier_(std::move(identifier)), keep_(keep) {}

    NSView* nativeView() const override { return view_; }

    std::string className() const override {
        return fromNSString(NSStringFromClass([view_ class]));
    }
    std::string identifier() const override { return identifier_; }
    Rect frame() const override { return fromNSRect([view_ frame]); }
    Rect visibleRect() const override { return fromNSRect([view_ visibleRect]); }
    void setWantsLayer(bool wants) override { [view_ setWantsLayer:wants ? YES : NO]; }
    bool wantsLayer() const override { return [view_ wantsLayer]; }

    void addSubview(std::shared_ptr<View> view) override {
        NSView* child = nativeViewOf(view.get());
        if (child == nil) return;
        [view_ addSubview:child];
        if (auto* native = dynamic_cast<NativeView*>(view.get())) native->setParentView(this);
        children_.push_back(std::move(view));
    }
    std::vector<std::shared_ptr<View>> subviews() const override { return children_; }
    View* superview() const override { return parentView(); }

    // The logic pins a view to its superview's edges; AppKit gets the same as visual formats.
    void addConstraints(const std::vector<LayoutConstraint>& constraints) override {
        std::map<std::pair<View*, char>, bool> pinned;
        for (const LayoutConstraint& c : constraints) {
            constraints_.push_back(c);
            NSView* pinnedView = nativeViewOf(c.first);
            if (pinnedView == nil || c.description.empty()) continue;
            const char axis = c.description[0] == 'V' ? 'V' : 'H';
            if (pinned[{c.first, axis}]) continue;
            pinned[{c.first, axis}] = true;
            [pinnedView setTranslatesAutoresizingMaskIntoConstraints:NO];
            NSDictionary* views = [NSDictionary dictionaryWithObject:pinnedView forKey:@"view"];
            [view_ addConstraints:[NSLayoutConstraint
                                      constraintsWithVisualFormat:(axis == 'V' ? @"V:|[view]|"
                                                                               : @"H:|[view]|")
                                                          options:0
                                                          metrics:nil
                                                            views:views]];
        }
    }
    std::vector<LayoutConstraint> constraints() const override { return constraints_; }

    void setAppearance(const std::optional<std::string>& name) override {
        appearance_ = name;
        [view_ setAppearance:(name ? [NSAppearance appearanceNamed:toNSString(*name)] : nil)];
    }
    std::optional<std::string> appearance() const override { return appearance_; }

    std::shared_ptr<View> retained() override { return this->shared_from_this(); }

  protected:
    NSView* view_;

  private:
    std::string identifier_;
    id keep_;
    std::vector<std::shared_ptr<View>> children_;
    std::vector<LayoutConstraint> constraints_;
    std::optional<std::string> appearance_;
};

class MacView final : public ViewBase<View> {
  public:
    using ViewBase::ViewBase;
};

class MacTextField final : public ViewBase<TextField> {
  public:
    using ViewBase::ViewBase;
    std::string stringValue() const override {
        return fromNSString([(NSTextField*)view_ stringValue]);
    }
    void setStringValue(const std::string& value) override {
        [(NSTextField*)view_ setStringValue:toNSString(value)];
    }
};

class MacVisualEffectView final : public ViewBase<VisualEffectView> {
  public:
    using ViewBase::ViewBase;
    void setMaterial(int material) override {
        [effect() setMaterial:static_cast<NSVisualEffectMaterial>(material)];
    }
    void setBlendingMode(int mode) override {
        [effect() setBlendingMode:static_cast<NSVisualEffectBlendingMode>(mode)];
    }
    void setState(int state) override {
        [effect() setState:static_cast<NSVisualEffectState>(state)];
    }

  private:
    NSVisualEffectView* effect() const { return (NSVisualEffectView*)view_; }
};

class MacShortcutRecorder final : public ViewBase<ShortcutRecorderView> {
  public:
    using ViewBase::ViewBase;
    std::optional<KeyPress> lastKeyPress() const override {
        TidraShortcutRecorderView* recorder = (TidraShortcutRecorderView*)view_;
        if (![recorder hasKeyPress]) return std::nullopt;
        return KeyPress{[recorder lastKeyCode], [recorder lastModifierFlags]};
    }
};

class MacWindow final : public Window {
  public:
    MacWindow(NSWindow* window, std::shared_ptr<View> content)
        : window_(window), content_(std::move(content)) {}
    View* contentView() override { return content_.get(); }
    void setBackgroundColor(Color color) override {
        [window_ setBackgroundColor:[NSColor colorWithCalibratedWhite:color.white
                                                                alpha:color.alpha]];
    }
    void setOpaque(bool opaque) override { [window_ setOpaque:opaque ? YES : NO]; }
    void makeKeyAndOrderFront(Object*) override {
        if (@available(macOS 14.0, *)) {
            [NSApp activate];  // the older call is ignored from macOS 14
        } else {
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
            [NSApp activateIgnoringOtherApps:YES];
#pragma clang diagnostic pop
        }
        [window_ makeKeyAndOrderFront:nil];
    }
    void setTitlebarAppearsTransparent(bool transparent) override {
        [window_ setTitlebarAppearsTransparent:transparent ? YES : NO];
    }
    void center() override {
        [window_ center];
    }
    void setTitle(const std::string& title) override {
        [window_ setTitle:toNSString(title)];
    }
    void setLevel(long level) override {
        [window_ setLevel:level];
    }
    void close() override {
        [window_ close];
    }

  private:
    NSWindow* window_;
    std::shared_ptr<View> content_;
};

}  // namespace

std::shared_ptr<View> wrapView(NSView* view, const std::string& identifier, id keep) {
    if ([view isKindOfClass:[NSTextField class]])
        return std::make_shared<MacTextField>(view, identifier, keep);
    if ([view isKindOfClass:[TidraShortcutRecorderView class]])
        return std::make_shared<MacShortcutRecorder>(view, identifier, keep);
    if ([view isKindOfClass:[NSVisualEffectView class]])
        return std::make_shared<MacVisualEffectView>(view, identifier, keep);
    return std::make_shared<MacView>(view, identifier, keep);
}

std::shared_ptr<VisualEffectView> makeVisualEffectView(Rect frame) {
    NSVisualEffectView* view = [[NSVisualEffectView alloc] initWithFrame:toNSRect(frame)];
    return std::make_shared<MacVisualEffectView>(view, "", nil);
}

std::shared_ptr<Window> wrapWindow(NSWindow* window, std::shared_ptr<View> content) {
    return std::make_shared<MacWindow>(window, std::move(content));
}

}  // namespace tidra::mac
