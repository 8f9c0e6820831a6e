// The status item and its button (NSStatusBar, NSStatusItem, NSStatusBarButton).
#include "mac/forwarder.h"
#include "mac/images.h"
#include "mac/menus.h"
#include "mac/services.h"
#include "mac/value_bridge.h"
#include "mac/views.h"

namespace tidra::mac {
namespace {

class MacStatusBarButton final : public StatusBarButton {
  public:
    explicit MacStatusBarButton(NSStatusBarButton* button)
        : button_(button), view_(wrapView(button, "statusItemButton")) {}

    void setTarget(Object* target) override {
        target_ = target;
        connect();
    }
    void setAction(const std::string& selector) override {
        selector_ = selector;
        connect();
    }
    void sendActionOn(unsigned mask) override { [button_ sendActionOn:mask]; }
    Rect bounds() const override { return fromNSRect([button_ bounds]); }
    Rect frameOnScreen() const override {
        NSWindow* window = [button_ window];
        const NSRect inWindow = [button_ convertRect:[button_ bounds] toView:nil];
        return fromNSRect(window != nil ? [window convertRectToScreen:inWindow] : inWindow);
    }
    // With a menu attached to the item, the button opens it and tracks it until it closes.
    void performClick(Object*) override { [button_ performClick:nil]; }
    View* view() override { return view_.get(); }

  private:
    // The button reaches its Tidra target through a forwarder, made afresh for each pair of
    // target and action; the button itself does not keep its target.
    void connect() {
        if (target_ == nullptr || selector_.empty()) {
            forwarder_ = nil;
            [button_ setTarget:nil];
            return;
        }
        forwarder_ = [[TidraForwarder alloc] initWithTarget:target_ selector:selector_ sender:this];
        [button_ setTarget:forwarder_];
        [button_ setAction:[TidraForwarder action]];
    }

    NSStatusBarButton* button_;
    std::shared_ptr<View> view_;
    Object* target_ = nullptr;
    std::string selector_;
    TidraForwarder* forwarder_ = nil;
};

class MacStatusItem final : public StatusItem {
  public:
    explicit MacStatusItem(NSStatusItem* item) : item_(item) {
        if (NSStatusBarButton* button = [item_ button])
            button_ = std::make_unique<MacStatusBarButton>(button);
    }
    ~MacStatusItem() override { [[NSStatusBar systemStatusBar] removeStatusItem:item_]; }

    StatusBarButton* button() override { return button_.get(); }
    void setImage(std::shared_ptr<Image> image) override {
        image_ = std::move(image);
        NSImage* native = nativeImageOf(image_.get());
        // The item is as wide as its icon, which leaves no room for the title beside it: with an
        // icon the user sees the icon alone (the title stays the button's accessible name), and
        // without one the title "Tidra" in its place.
        [[item_ button] setImagePosition:native != nil ? NSImageOnly : NSNoImage];
        [[item_ button] setImage:native];
    }
    void setLength(double length) override { [item_ setLength:length]; }
    double length() const override { return [item_ length]; }
    void setTitle(const std::string& title) override {
        [[item_ button] setTitle:toNSString(title)];
    }
    void setMenu(Menu* menu) override {
        menu_ = menu;
        [item_ setMenu:nativeMenuOf(menu)];
    }
    Menu* menu() const override { return menu_; }
    void popUpStatusItemMenu(Menu* menu) override {
// Deprecated since macOS 10.14 and still there: it tracks the menu until it closes, for an item
// without a button to click.
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
        if (NSMenu* native = nativeMenuOf(menu)) [item_ popUpStatusItemMenu:native];
#pragma clang diagnostic pop
    }
    void setAutosaveName(const std::string& name) override {
        [item_ setAutosaveName:toNSString(name)];
    }
    bool isShownInMenuBar() const override {
        if (![item_ isVisible]) return false;
        // From macOS 26 the user can keep an application out of the menu bar in System Settings;
        // the item then stays "visible" but its window is never on screen.
        NSWindow* window = [[item_ button] window];
        if (window == nil) return false;
        if (@available(macOS 26.0, *))
            return ([window occlusionState] & NSWindowOcclusionStateVisible) != 0;
        return true;
    }

  private:
    NSStatusItem* item_;
    std::unique_ptr<MacStatusBarButton> button_;
    std::shared_ptr<Image> image_;
    Menu* menu_ = nullptr;
};

class MacStatusBar final : public StatusBar {
  public:
    std::shared_ptr<StatusItem> statusItemWithLength(double length) override {
        return std::make_shared<MacStatusItem>(
            [[NSStatusBar systemStatusBar] statusItemWithLength:length]);
    }
};

}  // namespace

std::unique_ptr<StatusBar> makeStatusBar() {
    return std::make_unique<MacStatusBar>();
}

}  // namespace tidra::mac
