// What every native view wrapper shares, over any of the view interfaces (View, TextField,
// Button, ListView...): the AppKit view, its identifier, the subviews added through Tidra, and the
// object kept alive with it.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "mac/value_bridge.h"
#include "mac/views.h"

namespace tidra::mac {

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
    void setFrame(Rect frame) override { [view_ setFrame:toNSRect(frame)]; }
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
    void setHidden(bool hidden) override { [view_ setHidden:hidden ? YES : NO]; }
    bool isHidden() const override { return [view_ isHidden]; }

  protected:
    NSView* view_;

  private:
    std::string identifier_;
    id keep_;
    std::vector<std::shared_ptr<View>> children_;
    std::vector<LayoutConstraint> constraints_;
    std::optional<std::string> appearance_;
};

}  // namespace tidra::mac
