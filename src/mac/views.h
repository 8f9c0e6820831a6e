// Views, windows and popovers over their AppKit counterparts.
#pragma once

#import <AppKit/AppKit.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/views.h"

namespace tidra::mac {

NSRect toNSRect(Rect rect);
Rect fromNSRect(NSRect rect);

// What every native view wrapper answers: the AppKit view it stands for.
class NativeView {
  public:
    virtual ~NativeView() = default;
    virtual NSView* nativeView() const = 0;
    View* parentView() const { return parent_; }
    void setParentView(View* parent) { parent_ = parent; }

  private:
    View* parent_ = nullptr;
};

NSView* nativeViewOf(const View* view);

// Wraps `view` as a Tidra view of the fitting kind (text field, visual-effect view, plain view).
// `keep` is an object the wrapper holds for the view's lifetime (a control's action forwarder).
std::shared_ptr<View> wrapView(NSView* view, const std::string& identifier, id keep = nil);
std::shared_ptr<Button> wrapButton(NSButton* button, const std::string& identifier, ButtonKind kind,
                                   id keep = nil);
std::shared_ptr<ImageView> wrapImageView(NSImageView* view, const std::string& identifier);
// A list in its scroll view; selecting a row sends `forwarder`'s action.
std::shared_ptr<ListView> makeListView(const std::string& identifier, Rect frame, id forwarder);
std::shared_ptr<VisualEffectView> makeVisualEffectView(Rect frame);

// A window made from a description: `content` is the wrapper of its content view.
std::shared_ptr<Window> wrapWindow(NSWindow* window, std::shared_ptr<View> content);

std::shared_ptr<Popover> makePopover();

}  // namespace tidra::mac
