// NSPopover, whose content view comes from a Tidra view controller when the popover first shows.
#include "mac/value_bridge.h"
#include "mac/views.h"

// Asks the Tidra controller for its view when AppKit first wants it, as a nib-backed controller
// loads its view.
@interface TidraViewController : NSViewController {
    std::shared_ptr<tidra::ViewController> _controller;
}
- (instancetype)initWithController:(std::shared_ptr<tidra::ViewController>)controller;
@end

@implementation TidraViewController

- (instancetype)initWithController:(std::shared_ptr<tidra::ViewController>)controller {
    self = [super initWithNibName:nil bundle:nil];
    if (self != nil) _controller = std::move(controller);
    return self;
}

- (void)loadView {
    NSView* view = tidra::mac::nativeViewOf(_controller ? _controller->view() : nullptr);
    [self setView:(view != nil ? view : [[NSView alloc] initWithFrame:NSZeroRect])];
}

@end

namespace tidra::mac {
namespace {

class MacPopover final : public Popover {
  public:
    MacPopover() : popover_([[NSPopover alloc] init]) {}

    void setContentViewController(std::shared_ptr<ViewController> controller) override {
        controller_ = controller;
        [popover_ setContentViewController:(controller ? [[TidraViewController alloc]
                                                             initWithController:controller]
                                                       : nil)];
    }
    std::shared_ptr<ViewController> contentViewController() const override { return controller_; }
    void setBehavior(int behavior) override {
        [popover_ setBehavior:static_cast<NSPopoverBehavior>(behavior)];
    }
    void setAppearance(const std::optional<std::string>& name) override {
        [popover_ setAppearance:(name ? [NSAppearance appearanceNamed:toNSString(*name)] : nil)];
    }
    bool isShown() const override { return [popover_ isShown]; }
    void performClose(Object*) override { [popover_ performClose:nil]; }
    void showRelativeToRect(Rect rect, View* view, RectEdge preferredEdge) override {
        NSView* anchor = nativeViewOf(view);
        if (anchor == nil) return;
        [popover_ showRelativeToRect:toNSRect(rect)
                              ofView:anchor
                       preferredEdge:static_cast<NSRectEdge>(preferredEdge)];
    }

  private:
    NSPopover* popover_;
    std::shared_ptr<ViewController> controller_;
};

}  // namespace

std::shared_ptr<Popover> makePopover() {
    return std::make_shared<MacPopover>();
}

}  // namespace tidra::mac
