// Windows and views from their descriptions, with outlets and actions connected to the
// description's owner. The walk over a description is the platform's; this file makes AppKit's
// views and windows for its entries.
#include <optional>

#include "mac/descriptions.h"
#include "mac/forwarder.h"
#include "mac/services.h"
#include "mac/shortcut_recorder.h"
#include "mac/value_bridge.h"
#include "mac/views.h"
#include "platform/interface_walk.h"

namespace tidra::mac {
namespace {

class MacViewFactory final : public ViewFactory {
  public:
    std::shared_ptr<View> makeView(const std::string&, const std::string& identifier,
                                   Rect frame) override {
        return wrapView([[NSView alloc] initWithFrame:toNSRect(frame)], identifier);
    }

    std::shared_ptr<View> makeLabel(const std::string& identifier, Rect frame,
                                    const std::string& text) override {
        NSTextField* label = [[NSTextField alloc] initWithFrame:toNSRect(frame)];
        [label setStringValue:toNSString(text)];
        [label setEditable:NO];
        [label setSelectable:NO];
        [label setBezeled:NO];
        [label setDrawsBackground:NO];
        // Longer texts wrap inside the label's frame, as a label drawn in a nib does.
        [[label cell] setWraps:YES];
        return wrapView(label, identifier);
    }

    std::shared_ptr<Button> makeButton(const std::string& identifier, Rect frame,
                                       const std::string& title, const std::string& action,
                                       Object* target) override {
        NSButton* button = [[NSButton alloc] initWithFrame:toNSRect(frame)];
        [button setTitle:toNSString(title)];
        [button setBezelStyle:NSBezelStyleRounded];
        TidraForwarder* forwarder = connect(button, action, target);
        auto wrapped = wrapButton(button, identifier, ButtonKind::Push, forwarder);
        [forwarder setSender:wrapped.get()];
        return wrapped;
    }

    double fittingWidth(ButtonKind kind, const std::string& title) override {
        NSButton* probe = [[NSButton alloc] initWithFrame:NSZeroRect];
        if (kind == ButtonKind::Push)
            [probe setBezelStyle:NSBezelStyleRounded];
        else
            [probe setButtonType:(kind == ButtonKind::Radio ? NSButtonTypeRadio
                                                            : NSButtonTypeSwitch)];
        [probe setTitle:toNSString(title)];
        [probe sizeToFit];
        return NSWidth([probe frame]);
    }

    std::shared_ptr<Button> makeToggle(const ViewDescription& d, Rect frame,
                                       Object* target) override {
        NSButton* button = [[NSButton alloc] initWithFrame:toNSRect(frame)];
        [button setButtonType:(d.buttonKind == ButtonKind::Radio ? NSButtonTypeRadio
                                                                 : NSButtonTypeSwitch)];
        [button setTitle:toNSString(d.title)];
        [button setTag:d.tag];
        // A bound checkbox shows and writes the preference, as the menu's bound items do.
        if (!d.bindKey.empty() && d.buttonKind == ButtonKind::Switch)
            [button bind:NSValueBinding
                   toObject:[NSUserDefaultsController sharedUserDefaultsController]
                withKeyPath:[@"values." stringByAppendingString:toNSString(d.bindKey)]
                    options:nil];
        TidraForwarder* forwarder = connect(button, d.action, target);
        auto wrapped = wrapButton(button, d.identifier, d.buttonKind, forwarder);
        // The sender the logic receives is the wrapper, which answers the button's tag and state.
        [forwarder setSender:wrapped.get()];
        return wrapped;
    }

    std::shared_ptr<ImageView> makeImageView(const std::string& identifier, Rect frame) override {
        NSImageView* image = [[NSImageView alloc] initWithFrame:toNSRect(frame)];
        [image setImageScaling:NSImageScaleProportionallyDown];
        [image setImageFrameStyle:NSImageFrameGrayBezel];
        [image setEditable:NO];
        return wrapImageView(image, identifier);
    }

    std::shared_ptr<ListView> makeList(const std::string& identifier, Rect frame,
                                       const std::string& action, Object* target) override {
        // The forwarder's sender is set once the wrapper exists: the logic asks it the selection.
        TidraForwarder* forwarder = nil;
        if (!action.empty() && target != nullptr)
            forwarder = [[TidraForwarder alloc] initWithTarget:target
                                                      selector:action
                                                        sender:nullptr];
        auto list = makeListView(identifier, frame, forwarder);
        if (forwarder != nil) [forwarder setSender:list.get()];
        return list;
    }

    // The recorder's sender is its wrapper, which answers the combination typed; the view keeps
    // the forwarder.
    std::shared_ptr<View> makeShortcutRecorder(const std::string& identifier, Rect frame,
                                               const std::string& action, Object* target) override {
        TidraShortcutRecorderView* recorder =
            [[TidraShortcutRecorderView alloc] initWithFrame:toNSRect(frame)];
        if (firstResponder_ == nil) firstResponder_ = recorder;
        std::shared_ptr<View> wrapped = wrapView(recorder, identifier);
        if (!action.empty() && target != nullptr)
            [recorder setForwarder:[[TidraForwarder alloc] initWithTarget:target
                                                                 selector:action
                                                                   sender:wrapped.get()]];
        return wrapped;
    }

    std::shared_ptr<VisualEffectView> makeVisualEffectView(const std::string& identifier,
                                                           Rect frame) override {
        return std::dynamic_pointer_cast<VisualEffectView>(
            wrapView([[NSVisualEffectView alloc] initWithFrame:toNSRect(frame)], identifier));
    }

    std::shared_ptr<Window> makeWindow(const std::string& title, Rect frame,
                                       std::shared_ptr<View> contentView) override {
        NSWindow* window = [[NSWindow alloc]
            initWithContentRect:toNSRect(frame)
                      styleMask:(NSWindowStyleMaskTitled | NSWindowStyleMaskClosable)
                        backing:NSBackingStoreBuffered
                          defer:NO];
        // The window controller keeps the window; closing it only hides it.
        [window setReleasedWhenClosed:NO];
        [window setTitle:toNSString(title)];
        [window setContentView:nativeViewOf(contentView.get())];
        // The recorder takes the keyboard when the window opens.
        if (firstResponder_ != nil) {
            [window setInitialFirstResponder:firstResponder_];
            [window makeFirstResponder:firstResponder_];
        }
        return wrapWindow(window, std::move(contentView));
    }

  private:
    // The control sends its action through a forwarder it does not keep; its wrapper keeps it.
    static TidraForwarder* connect(NSControl* control, const std::string& action, Object* target) {
        if (action.empty() || target == nullptr) return nil;
        TidraForwarder* forwarder = [[TidraForwarder alloc] initWithTarget:target
                                                                  selector:action
                                                                    sender:nullptr];
        [control setTarget:forwarder];
        [control setAction:[TidraForwarder action]];
        return forwarder;
    }

    NSView* firstResponder_ = nil;
};

class MacInterfaceLoader final : public InterfaceLoader {
  public:
    explicit MacInterfaceLoader(Console& console) : console_(console) {}

    std::shared_ptr<Window> loadWindow(const std::string& nibName, Object& owner) override {
        std::shared_ptr<Window> window;
        if (const std::optional<Value> description = readDescription(nibName)) {
            MacViewFactory factory;
            window = buildWindow(*description, nibName, owner, factory, console_,
                                 interfaceTexts(nibName));
        }
        if (window == nullptr)
            console_.log("-[NSWindowController loadWindow]: failed to load window nib file '" +
                         nibName + "'.");
        return window;
    }

    std::shared_ptr<View> loadView(const std::string& nibName, Object& owner) override {
        std::shared_ptr<View> view;
        if (const std::optional<Value> description = readDescription(nibName)) {
            MacViewFactory factory;
            view =
                buildView(*description, nibName, owner, factory, console_, interfaceTexts(nibName));
        }
        if (view == nullptr)
            console_.log("-[NSViewController loadView] could not load the \"" + nibName +
                         "\" nib.");
        return view;
    }

  private:
    Console& console_;
};

}  // namespace

std::unique_ptr<InterfaceLoader> makeInterfaceLoader(Console& console) {
    return std::make_unique<MacInterfaceLoader>(console);
}

}  // namespace tidra::mac
