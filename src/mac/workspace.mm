// NSWorkspace and NSRunningApplication: Finder's process, launches, URLs, desktop pictures and
// the Trash.
#include "mac/observers.h"
#include "mac/screens.h"
#include "mac/services.h"
#include "mac/value_bridge.h"

// The workspace names the ended application by its NSRunningApplication; Tidra reads the bundle
// identifier under the older key, which is filled in from it where the platform left it out.
@interface TidraWorkspaceForwarder : TidraForwarder
@end

@implementation TidraWorkspaceForwarder

- (void)notify:(NSNotification*)notification {
    NSDictionary* info = [notification userInfo];
    NSRunningApplication* app = [info objectForKey:NSWorkspaceApplicationKey];
    NSString* identifier = [app bundleIdentifier];
    if (identifier != nil && [info objectForKey:@"NSApplicationBundleIdentifier"] == nil) {
        NSMutableDictionary* completed = [NSMutableDictionary dictionaryWithDictionary:info];
        [completed setObject:identifier forKey:@"NSApplicationBundleIdentifier"];
        notification = [NSNotification notificationWithName:[notification name]
                                                     object:[notification object]
                                                   userInfo:completed];
    }
    [super notify:notification];
}

@end

namespace tidra::mac {
namespace {

class MacRunningApplication final : public RunningApplication {
  public:
    explicit MacRunningApplication(NSRunningApplication* app) : app_(app) {}
    std::string bundleIdentifier() const override { return fromNSString([app_ bundleIdentifier]); }
    std::optional<Url> bundleURL() const override { return fromNSURL([app_ bundleURL]); }
    int processIdentifier() const override { return [app_ processIdentifier]; }
    bool terminate() override { return [app_ terminate]; }

  private:
    NSRunningApplication* app_;
};

class MacNotificationCenter final : public NotificationCenter {
  public:
    MacNotificationCenter() : observers_([[NSWorkspace sharedWorkspace] notificationCenter]) {}
    void addObserver(Object* observer, const std::string& selector,
                     const std::optional<std::string>& name, Object*) override {
        observers_.add(observer, selector, name, [TidraWorkspaceForwarder class]);
    }
    void removeObserver(Object* observer, const std::optional<std::string>& name,
                        Object*) override {
        observers_.remove(observer, name);
    }

  private:
    NotificationObservers observers_;
};

std::vector<std::shared_ptr<RunningApplication>> wrapped(NSArray* apps) {
    std::vector<std::shared_ptr<RunningApplication>> all;
    for (NSRunningApplication* app in apps)
        all.push_back(std::make_shared<MacRunningApplication>(app));
    return all;
}

// A fill colour is an NSColor, which no Tidra value holds: it travels as its keyed archive
// and becomes a colour again on the way back.
Value optionsFromNative(NSDictionary* options) {
    if (options == nil) return Value();
    NSMutableDictionary* plain = [NSMutableDictionary dictionaryWithDictionary:options];
    id fill = [options objectForKey:NSWorkspaceDesktopImageFillColorKey];
    if ([fill isKindOfClass:[NSColor class]]) {
        NSData* archived = [NSKeyedArchiver archivedDataWithRootObject:fill
                                                 requiringSecureCoding:YES
                                                                 error:NULL];
        if (archived != nil)
            [plain setObject:archived forKey:NSWorkspaceDesktopImageFillColorKey];
        else
            [plain removeObjectForKey:NSWorkspaceDesktopImageFillColorKey];
    }
    return fromFoundation(plain);
}

NSDictionary* optionsToNative(const Dictionary& options) {
    NSMutableDictionary* native =
        [NSMutableDictionary dictionaryWithDictionary:toNSDictionary(options)];
    id fill = [native objectForKey:NSWorkspaceDesktopImageFillColorKey];
    if ([fill isKindOfClass:[NSData class]]) {
        id colour = [NSKeyedUnarchiver unarchivedObjectOfClass:[NSColor class]
                                                      fromData:fill
                                                         error:NULL];
        if ([colour isKindOfClass:[NSColor class]])
            [native setObject:colour forKey:NSWorkspaceDesktopImageFillColorKey];
        else
            [native removeObjectForKey:NSWorkspaceDesktopImageFillColorKey];
    }
    return native;
}

class MacWorkspace final : public Workspace {
  public:
    NotificationCenter& notificationCenter() override { return center_; }

    std::vector<std::shared_ptr<RunningApplication>> runningApplicationsWithBundleIdentifier(
        const std::string& bundleIdentifier) override {
        return wrapped([NSRunningApplication
            runningApplicationsWithBundleIdentifier:toNSString(bundleIdentifier)]);
    }
    std::vector<std::shared_ptr<RunningApplication>> runningApplications() override {
        return wrapped([workspace() runningApplications]);
    }
    bool launchAppWithBundleIdentifier(const std::string& bundleIdentifier,
                                       unsigned options) override {
        NSString* identifier = toNSString(bundleIdentifier);
        if (@available(macOS 10.15, *)) {
            // Asynchronous by nature, which is the one option Tidra asks for, and it brings
            // the application forward as the older call does.
            NSURL* application = [workspace() URLForApplicationWithBundleIdentifier:identifier];
            if (application == nil) return false;
            NSWorkspaceOpenConfiguration* configuration =
                [NSWorkspaceOpenConfiguration configuration];
            [configuration setActivates:YES];
            [workspace() openApplicationAtURL:application
                                configuration:configuration
                            completionHandler:^(NSRunningApplication* _Nullable app,
                                                NSError* _Nullable error) {
                              (void)app;
                              if (error != nil)
                                  NSLog(@"Could not launch %@: %@", identifier,
                                        [error localizedDescription]);
                            }];
            return true;
        }
// Deprecated since macOS 11 and the call before 10.15.
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
        return [workspace() launchAppWithBundleIdentifier:identifier
                                                  options:options
                           additionalEventParamDescriptor:nil
                                         launchIdentifier:NULL];
#pragma clang diagnostic pop
    }
    bool openURL(const Url& url) override {
        NSURL* native = toNSURL(url);
        return native != nil && [workspace() openURL:native];
    }

    std::optional<Url> URLForApplicationWithBundleIdentifier(
        const std::string& bundleIdentifier) override {
        return fromNSURL(
            [workspace() URLForApplicationWithBundleIdentifier:toNSString(bundleIdentifier)]);
    }

    std::optional<Url> desktopImageURLForScreen(const Screen& screen) override {
        NSScreen* native = nativeScreenOf(screen);
        if (native == nil) return std::nullopt;
        return fromNSURL([workspace() desktopImageURLForScreen:native]);
    }
    Value desktopImageOptionsForScreen(const Screen& screen) override {
        NSScreen* native = nativeScreenOf(screen);
        if (native == nil) return Value();
        return optionsFromNative([workspace() desktopImageOptionsForScreen:native]);
    }
    bool setDesktopImageURL(const Url& url, const Screen& screen, const Dictionary& options,
                            ErrorOut error) override {
        NSScreen* native = nativeScreenOf(screen);
        NSURL* picture = toNSURL(url);
        if (native == nil || picture == nil) {
            if (error != nullptr)
                *error = Error{"NSCocoaErrorDomain", 4, "The screen or the picture is gone."};
            return false;
        }
        NSError* failure = nil;
        const BOOL set = [workspace() setDesktopImageURL:picture
                                               forScreen:native
                                                 options:optionsToNative(options)
                                                   error:&failure];
        if (!set) report(error, failure);
        return set;
    }

    // The recycle operation, through the file manager's way into the Trash that replaced it.
    bool performFileOperation(const std::string& operation, const std::string& source,
                              const std::string&, const std::vector<std::string>& files) override {
        if (operation != kWorkspaceRecycleOperation) return false;
        bool all = true;
        NSString* folder = toNSString(source);
        for (const std::string& file : files) {
            NSURL* item =
                [NSURL fileURLWithPath:[folder stringByAppendingPathComponent:toNSString(file)]];
            all = [[NSFileManager defaultManager] trashItemAtURL:item
                                                resultingItemURL:NULL
                                                           error:NULL] &&
                  all;
        }
        return all;
    }

  private:
    static NSWorkspace* workspace() {
        return [NSWorkspace sharedWorkspace];
    }
    MacNotificationCenter center_;
};

}  // namespace

std::unique_ptr<Workspace> makeWorkspace() {
    return std::make_unique<MacWorkspace>();
}

}  // namespace tidra::mac
