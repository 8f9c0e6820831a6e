#include "mac/views.h"

#include "mac/view_base.h"

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

class MacButton final : public ViewBase<Button> {
  public:
    MacButton(NSButton* button, std::string identifier, ButtonKind kind, id keep)
        : ViewBase(button, std::move(identifier), keep), kind_(kind) {}
    ButtonKind kind() const override { return kind_; }
    std::string title() const override { return fromNSString([button() title]); }
    void setTitle(const std::string& title) override { [button() setTitle:toNSString(title)]; }
    int tag() const override { return static_cast<int>([button() tag]); }
    int state() const override { return [button() state] == 1 ? 1 : 0; }
    void setState(int state) override { [button() setState:(state ? 1 : 0)]; }
    void setEnabled(bool enabled) override { [button() setEnabled:enabled ? YES : NO]; }
    bool isEnabled() const override { return [button() isEnabled]; }
    void setBordered(bool bordered) override { [button() setBordered:bordered ? YES : NO]; }
    bool isBordered() const override { return [button() isBordered]; }

  private:
    NSButton* button() const { return (NSButton*)view_; }
    ButtonKind kind_;
};

class MacImageView final : public ViewBase<ImageView> {
  public:
    using ViewBase::ViewBase;
    void setImageFile(const std::optional<std::string>& path) override {
        file_ = path;
        NSImage* image = path ? [[NSImage alloc] initWithContentsOfFile:toNSString(*path)] : nil;
        [(NSImageView*)view_ setImage:image];
    }
    std::optional<std::string> imageFile() const override { return file_; }

  private:
    std::optional<std::string> file_;
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
    bool isVisible() const override {
        return [window_ isVisible];
    }
    bool isKeyWindow() const override {
        return [window_ isKeyWindow];
    }
    void setFrameAutosaveName(const std::string& name) override {
        [window_ setFrameAutosaveName:toNSString(name)];
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

std::shared_ptr<Button> wrapButton(NSButton* button, const std::string& identifier, ButtonKind kind,
                                   id keep) {
    return std::make_shared<MacButton>(button, identifier, kind, keep);
}

std::shared_ptr<ImageView> wrapImageView(NSImageView* view, const std::string& identifier) {
    return std::make_shared<MacImageView>(view, identifier, nil);
}

std::shared_ptr<VisualEffectView> makeVisualEffectView(Rect frame) {
    NSVisualEffectView* view = [[NSVisualEffectView alloc] initWithFrame:toNSRect(frame)];
    return std::make_shared<MacVisualEffectView>(view, "", nil);
}

std::shared_ptr<Window> wrapWindow(NSWindow* window, std::shared_ptr<View> content) {
    return std::make_shared<MacWindow>(window, std::move(content));
}

}  // namespace tidra::mac
