// The interface objects Tidra makes itself: popover, visual-effect view, open panel, alert, and
// the window levels.
#import <AppKit/AppKit.h>
#import <CoreGraphics/CoreGraphics.h>
#import <UniformTypeIdentifiers/UniformTypeIdentifiers.h>

#include "mac/panel_file_types.h"
#include "mac/services.h"
#include "mac/value_bridge.h"
#include "mac/views.h"

namespace tidra::mac {
namespace {

class MacOpenPanel final : public OpenPanel {
  public:
    MacOpenPanel() : panel_([NSOpenPanel openPanel]) {}
    void setDirectoryURL(const Url& url) override { [panel_ setDirectoryURL:toNSURL(url)]; }
    void setPrompt(const std::string& prompt) override { [panel_ setPrompt:toNSString(prompt)]; }
    void setCanChooseFiles(bool can) override { [panel_ setCanChooseFiles:can ? YES : NO]; }
    void setResolvesAliases(bool resolves) override {
        [panel_ setResolvesAliases:resolves ? YES : NO];
    }
    void setAllowedFileTypes(const std::vector<std::string>& types) override {
        // No types asked for: any file. Types asked for of which none could be read would leave
        // the panel taking any file as well, which is the opposite of what was asked; such a
        // panel refuses to run instead.
        std::vector<std::string> dropped;
        if (@available(macOS 11.0, *)) {
            NSMutableArray<UTType*>* contentTypes = [NSMutableArray array];
            for (const std::string& type : types) {
                const std::optional<PanelFileType> read = readPanelFileType(type);
                NSString* name = read ? toNSString(read->name) : nil;
                UTType* contentType = nil;
                if (read && read->kind == PanelFileType::Kind::Extension)
                    contentType = [UTType typeWithFilenameExtension:name];
                else if (read)
                    contentType = [UTType typeWithIdentifier:name];
                if (contentType != nil)
                    [contentTypes addObject:contentType];
                else
                    dropped.push_back(type);
            }
            acceptsNothing_ = !types.empty() && [contentTypes count] == 0;
            [panel_ setAllowedContentTypes:contentTypes];
        } else {
            NSMutableArray<NSString*>* native = [NSMutableArray arrayWithCapacity:types.size()];
            for (const std::string& type : types) {
                if (const std::optional<PanelFileType> read = readPanelFileType(type))
                    [native addObject:toNSString(read->name)];
                else
                    dropped.push_back(type);
            }
            acceptsNothing_ = !types.empty() && [native count] == 0;
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
            [panel_ setAllowedFileTypes:native];  // the way before macOS 11
#pragma clang diagnostic pop
        }
        for (const std::string& type : dropped)
            NSLog(@"The open panel cannot read the file type \"%@\"; it is left out",
                  toNSString(type));
    }
    void setTitle(const std::string& title) override {
        [panel_ setTitle:toNSString(title)];
    }
    void setMessage(const std::string& message) override {
        [panel_ setMessage:toNSString(message)];
    }
    void setLevel(long level) override {
        [panel_ setLevel:level];
    }
    void beginWithCompletionHandler(std::function<void(long response)> handler) override {
        if (acceptsNothing_) {
            NSLog(@"The open panel is not shown: none of the file types asked for could be read, "
                  @"and without them it would take any file");
            // Answered later, as the panel would: the caller may not expect its handler to run
            // before this call returns.
            const std::function<void(long)> answer = std::move(handler);
            dispatch_async(dispatch_get_main_queue(), ^{
              if (answer) answer(static_cast<long>(NSModalResponseCancel));
            });
            return;
        }
        // The panel keeps this block, and Tidra's handler usually keeps the wrapper that keeps
        // the panel: the block lets go of the handler once the panel has answered, so that the
        // three do not keep each other alive.
        auto pending = std::make_shared<std::function<void(long)>>(std::move(handler));
        [panel_ beginWithCompletionHandler:^(NSInteger response) {
          std::function<void(long)> answer = std::move(*pending);
          *pending = nullptr;
          if (answer) answer(static_cast<long>(response));
        }];
    }
    std::optional<Url> URL() const override {
        return fromNSURL([panel_ URL]);
    }

  private:
    NSOpenPanel* panel_;
    bool acceptsNothing_ = false;
};

class MacAlertButton final : public AlertButton {
  public:
    explicit MacAlertButton(NSButton* button) : button_(button) {}
    void setKeyEquivalent(const std::string& key) override {
        [button_ setKeyEquivalent:toNSString(key)];
    }

  private:
    NSButton* button_;
};

class MacSuppressionButton final : public SuppressionButton {
  public:
    explicit MacSuppressionButton(NSAlert* alert) : alert_(alert) {}
    int state() const override { return static_cast<int>([[alert_ suppressionButton] state]); }
    void setTitle(const std::string& title) override {
        [[alert_ suppressionButton] setTitle:toNSString(title)];
    }
    void setControlSize(int size) override {
        [[alert_ suppressionButton] setControlSize:static_cast<NSControlSize>(size)];
    }
    void setFontSize(double points) override {
        [[alert_ suppressionButton] setFont:[NSFont systemFontOfSize:points]];
    }

  private:
    NSAlert* alert_;
};

class MacAlert final : public Alert {
  public:
    MacAlert() : alert_([[NSAlert alloc] init]), suppression_(alert_) {}
    void setMessageText(const std::string& text) override {
        [alert_ setMessageText:toNSString(text)];
    }
    void setInformativeText(const std::string& text) override {
        [alert_ setInformativeText:toNSString(text)];
    }
    AlertButton& addButtonWithTitle(const std::string& title) override {
        buttons_.push_back(
            std::make_unique<MacAlertButton>([alert_ addButtonWithTitle:toNSString(title)]));
        return *buttons_.back();
    }
    void setShowsSuppressionButton(bool shows) override {
        [alert_ setShowsSuppressionButton:shows ? YES : NO];
    }
    SuppressionButton& suppressionButton() override { return suppression_; }
    long runModal() override { return static_cast<long>([alert_ runModal]); }

  private:
    NSAlert* alert_;
    MacSuppressionButton suppression_;
    std::vector<std::unique_ptr<MacAlertButton>> buttons_;
};

class MacUi final : public Ui {
  public:
    std::shared_ptr<Popover> makePopover() override { return mac::makePopover(); }
    std::shared_ptr<VisualEffectView> makeVisualEffectView(Rect frame) override {
        return mac::makeVisualEffectView(frame);
    }
    std::shared_ptr<OpenPanel> makeOpenPanel() override { return std::make_shared<MacOpenPanel>(); }
    std::shared_ptr<Alert> makeAlert() override { return std::make_shared<MacAlert>(); }
    long windowLevelForKey(int key) override {
        return CGWindowLevelForKey(static_cast<CGWindowLevelKey>(key));
    }
    double smallSystemFontSize() override { return [NSFont smallSystemFontSize]; }
};

}  // namespace

std::unique_ptr<Ui> makeUi() {
    return std::make_unique<MacUi>();
}

}  // namespace tidra::mac
