// Windows and views from their descriptions, with outlets and actions connected to the
// description's owner.
#include <map>

#include "mac/descriptions.h"
#include "mac/forwarder.h"
#include "mac/services.h"
#include "mac/shortcut_recorder.h"
#include "mac/value_bridge.h"
#include "mac/views.h"

namespace tidra::mac {
namespace {

// The description's name for the object that loads it (its "File's Owner").
NSString* const kOwner = @"owner";

class Builder {
  public:
    explicit Builder(Object& owner) : owner_(owner) {}

    std::shared_ptr<View> view(NSDictionary* node) {
        NSString* cls = stringIn(node, @"class", @"NSView");
        const std::string identifier = fromNSString(stringIn(node, @"id", @""));
        const NSRect frame = frameIn(node);
        NSView* made = nil;
        id keep = nil;
        if ([cls isEqualToString:@"NSTextField"]) {
            NSTextField* label = [[NSTextField alloc] initWithFrame:frame];
            [label setStringValue:stringIn(node, @"stringValue", @"")];
            [label setEditable:NO];
            [label setSelectable:NO];
            [label setBezeled:NO];
            [label setDrawsBackground:NO];
            // Longer texts wrap inside the label's frame, as a label drawn in a nib does.
            [[label cell] setWraps:YES];
            made = label;
        } else if ([cls isEqualToString:@"NSButton"]) {
            NSButton* button = [[NSButton alloc] initWithFrame:frame];
            [button setTitle:stringIn(node, @"title", @"")];
            [button setBezelStyle:NSBezelStyleRounded];
            // Actions go to the owner; a description names no other target.
            NSString* action = stringIn(node, @"action", nil);
            if (action != nil && [stringIn(node, @"target", kOwner) isEqualToString:kOwner]) {
                keep = [[TidraForwarder alloc] initWithTarget:&owner_
                                                     selector:fromNSString(action)
                                                       sender:nullptr];
                [button setTarget:keep];
                [button setAction:[TidraForwarder action]];
            }
            made = button;
        } else if ([cls isEqualToString:@"ShortcutRecorder"]) {
            TidraShortcutRecorderView* recorder =
                [[TidraShortcutRecorderView alloc] initWithFrame:frame];
            if (firstResponder_ == nil) firstResponder_ = recorder;
            made = recorder;
        } else if ([cls isEqualToString:@"NSVisualEffectView"]) {
            NSVisualEffectView* effect = [[NSVisualEffectView alloc] initWithFrame:frame];
            if (has(node, @"material"))
                [effect setMaterial:static_cast<NSVisualEffectMaterial>(
                                        numberIn(node, @"material", 0))];
            if (has(node, @"blendingMode"))
                [effect setBlendingMode:static_cast<NSVisualEffectBlendingMode>(
                                            numberIn(node, @"blendingMode", 0))];
            if (has(node, @"state"))
                [effect setState:static_cast<NSVisualEffectState>(numberIn(node, @"state", 0))];
            made = effect;
        } else {
            made = [[NSView alloc] initWithFrame:frame];
        }
        std::shared_ptr<View> wrapped = wrapView(made, identifier, keep);
        // The recorder's sender is its wrapper, which answers the combination typed; the view
        // keeps the forwarder.
        if ([made isKindOfClass:[TidraShortcutRecorderView class]]) {
            NSString* action = stringIn(node, @"action", nil);
            if (action != nil && [stringIn(node, @"target", kOwner) isEqualToString:kOwner])
                [(TidraShortcutRecorderView*)made
                    setForwarder:[[TidraForwarder alloc] initWithTarget:&owner_
                                                               selector:fromNSString(action)
                                                                 sender:wrapped.get()]];
        }
        if (numberIn(node, @"wantsLayer", 0) != 0) wrapped->setWantsLayer(true);
        if (NSString* appearance = stringIn(node, @"appearance", nil))
            wrapped->setAppearance(fromNSString(appearance));
        for (id child in arrayIn(node, @"subviews"))
            if ([child isKindOfClass:[NSDictionary class]]) wrapped->addSubview(view(child));
        if (!identifier.empty()) byId_[identifier] = wrapped.get();
        return wrapped;
    }

    void connectOutlets(NSDictionary* description) {
        for (id outlet in arrayIn(description, @"outlets")) {
            if (![outlet isKindOfClass:[NSDictionary class]]) continue;
            if (![stringIn(outlet, @"object", kOwner) isEqualToString:kOwner]) continue;
            auto found = byId_.find(fromNSString(stringIn(outlet, @"destination", @"")));
            owner_.setOutlet(fromNSString(stringIn(outlet, @"name", @"")),
                             found == byId_.end() ? nullptr : found->second);
        }
    }

    // The view that takes the keyboard when the window opens, if any.
    NSView* firstResponder() const { return firstResponder_; }

  private:
    Object& owner_;
    std::map<std::string, Object*> byId_;
    NSView* firstResponder_ = nil;
};

class MacInterfaceLoader final : public InterfaceLoader {
  public:
    explicit MacInterfaceLoader(Console& console) : console_(console) {}

    std::shared_ptr<Window> loadWindow(const std::string& nibName, Object& owner) override {
        NSDictionary* description = readDescription(nibName);
        NSDictionary* node = dictionaryIn(description, @"window");
        if (node == nil) {
            console_.log("-[NSWindowController loadWindow]: failed to load window nib file '" +
                         nibName + "'.");
            return nullptr;
        }
        NSWindow* window = [[NSWindow alloc]
            initWithContentRect:frameIn(node)
                      styleMask:(NSWindowStyleMaskTitled | NSWindowStyleMaskClosable)
                        backing:NSBackingStoreBuffered
                          defer:NO];
        // The window controller keeps the window; closing it only hides it.
        [window setReleasedWhenClosed:NO];
        [window setTitle:stringIn(node, @"title", @"")];
        Builder builder(owner);
        NSDictionary* content = dictionaryIn(node, @"contentView");
        std::shared_ptr<View> contentView =
            builder.view(content != nil ? content : [NSDictionary dictionary]);
        [window setContentView:nativeViewOf(contentView.get())];
        if (NSView* first = builder.firstResponder()) {
            [window setInitialFirstResponder:first];
            [window makeFirstResponder:first];
        }
        builder.connectOutlets(description);
        return wrapWindow(window, contentView);
    }

    std::shared_ptr<View> loadView(const std::string& nibName, Object& owner) override {
        NSDictionary* description = readDescription(nibName);
        NSDictionary* node = dictionaryIn(description, @"view");
        if (node == nil) {
            console_.log("-[NSViewController loadView] could not load the \"" + nibName +
                         "\" nib.");
            return nullptr;
        }
        Builder builder(owner);
        std::shared_ptr<View> view = builder.view(node);
        builder.connectOutlets(description);
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
