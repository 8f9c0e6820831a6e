// What Apple's macOS SDK declares and GNUstep's headers lack or declare otherwise, written as the
// SDK writes it, so that src/mac can be type-checked against GNUstep on Linux. Each declaration
// names the Apple API it stands for and the first macOS version with it. Only scripts/mac-check
// includes this file (before every source it checks); the Mac build never sees it.
#pragma once

#import <Foundation/Foundation.h>
// GNUstep's popover has an appearance of an older, numeric kind under the name Apple's popover
// uses for its NSAppearance; GNUstep's is renamed out of the way, Apple's is declared below.
#define appearance gnustepPopoverAppearance
#define setAppearance gnustepPopoverSetAppearance
#import <AppKit/NSPopover.h>
#undef appearance
#undef setAppearance
#import <AppKit/AppKit.h>

#include <stdint.h>
#include <stdio.h>

// objc.h: YES and NO are Boolean literals, so that @YES and @NO box them.
#undef YES
#undef NO
#define YES __objc_yes
#define NO __objc_no

// As the SDK's headers are: NS_ASSUME_NONNULL_BEGIN.
#pragma clang assume_nonnull begin

// ---- MacTypes.h (CoreServices), macOS 10.0 ----
typedef unsigned char Boolean;
typedef uint32_t UInt32;
typedef int32_t SInt32;
typedef SInt32 OSStatus;

// ---- sys/mount.h (BSD), macOS 10.0; the layout of the 64-bit-inode form, macOS 10.6 ----
#define MFSTYPENAMELEN 16
#ifndef MAXPATHLEN
#define MAXPATHLEN 1024
#endif
#define MNT_ROOTFS 0x00004000
struct statfs {
    uint32_t f_bsize;
    int32_t f_iosize;
    uint64_t f_blocks;
    uint64_t f_bfree;
    uint64_t f_bavail;
    uint64_t f_files;
    uint64_t f_ffree;
    fsid_t f_fsid;
    uid_t f_owner;
    uint32_t f_type;
    uint32_t f_flags;
    uint32_t f_fssubtype;
    char f_fstypename[MFSTYPENAMELEN];
    char f_mntonname[MAXPATHLEN];
    char f_mntfromname[MAXPATHLEN];
    uint32_t f_flags_ext;
    uint32_t f_reserved[7];
};
extern "C" int statfs(const char*, struct statfs*);

// ---- MacTypes.h (CoreServices), macOS 10.0 ----
typedef UInt32 FourCharCode;
typedef FourCharCode OSType;
typedef UInt32 OptionBits;
typedef unsigned long ItemCount;
typedef unsigned long ByteCount;
enum { noErr = 0 };

// Four-character codes are written as the SDK writes them; its headers are system headers, where
// the compiler says nothing of multi-character constants.
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wmultichar"
#pragma clang diagnostic ignored "-Wfour-char-constants"

// ---- Apple events (CoreServices AE.framework, HIServices InternetConfig.h), macOS 10.0 ----
typedef FourCharCode AEKeyword;
typedef FourCharCode AEEventClass;
typedef FourCharCode AEEventID;
enum { keyDirectObject = '----' };
enum { kInternetEventClass = 'GURL', kAEGetURL = 'GURL' };

// ---- Carbon events and hot keys (HIToolbox CarbonEventsCore.h, CarbonEvents.h), macOS 10.0 ----
typedef struct OpaqueEventRef* EventRef;
typedef struct OpaqueEventHandlerRef* EventHandlerRef;
typedef struct OpaqueEventHandlerCallRef* EventHandlerCallRef;
typedef struct OpaqueEventTargetRef* EventTargetRef;
typedef OSType EventParamName;
typedef OSType EventParamType;
struct EventTypeSpec {
    OSType eventClass;
    UInt32 eventKind;
};
typedef struct EventTypeSpec EventTypeSpec;
typedef OSStatus (*EventHandlerProcPtr)(EventHandlerCallRef inHandlerCallRef, EventRef inEvent,
                                        void* _Nullable inUserData);
typedef EventHandlerProcPtr EventHandlerUPP;
enum { eventNotHandledErr = -9874, eventHotKeyExistsErr = -9878 };
enum { kEventParamDirectObject = '----' };
enum { typeEventHotKeyID = 'hkid' };
enum { kEventClassKeyboard = 'keyb' };
enum { kEventHotKeyPressed = 5 };
struct EventHotKeyID {
    OSType signature;
    UInt32 id;
};
typedef struct EventHotKeyID EventHotKeyID;
typedef struct OpaqueEventHotKeyRef* EventHotKeyRef;
enum { kEventHotKeyNoOptions = 0, kEventHotKeyExclusive = (1 << 0) };
extern "C" {
EventHandlerUPP NewEventHandlerUPP(EventHandlerProcPtr userRoutine);
void DisposeEventHandlerUPP(EventHandlerUPP userUPP);
EventTargetRef GetApplicationEventTarget(void);
OSStatus InstallEventHandler(EventTargetRef inTarget, EventHandlerUPP inHandler,
                             ItemCount inNumTypes, const EventTypeSpec* inList,
                             void* _Nullable inUserData,
                             EventHandlerRef _Nullable* _Nullable outRef);
OSStatus RemoveEventHandler(EventHandlerRef inHandlerRef);
OSStatus GetEventParameter(EventRef inEvent, EventParamName inName, EventParamType inDesiredType,
                           EventParamType* _Nullable outActualType, ByteCount inBufferSize,
                           ByteCount* _Nullable outActualSize, void* _Nullable outData);
OSStatus RegisterEventHotKey(UInt32 inHotKeyCode, UInt32 inHotKeyModifiers,
                             EventHotKeyID inHotKeyID, EventTargetRef inTarget,
                             OptionBits inOptions, EventHotKeyRef _Nullable* _Nullable outRef);
OSStatus UnregisterEventHotKey(EventHotKeyRef inHotKey);
}
#pragma clang diagnostic pop

// ---- Core Graphics ----

// CGDirectDisplayID, CGDisplayChangeSummaryFlags, CGDisplayRegisterReconfigurationCallback,
// macOS 10.3.
typedef uint32_t CGDirectDisplayID;
typedef uint32_t CGDisplayChangeSummaryFlags;
enum {
    kCGDisplayBeginConfigurationFlag = (1 << 0),
    kCGDisplayMovedFlag = (1 << 1),
    kCGDisplaySetMainFlag = (1 << 2),
    kCGDisplaySetModeFlag = (1 << 3),
    kCGDisplayAddFlag = (1 << 4),
    kCGDisplayRemoveFlag = (1 << 5),
};
typedef int32_t CGError;
typedef void (*CGDisplayReconfigurationCallBack)(CGDirectDisplayID display,
                                                 CGDisplayChangeSummaryFlags flags,
                                                 void* _Nullable userInfo);
extern "C" CGError CGDisplayRegisterReconfigurationCallback(
    CGDisplayReconfigurationCallBack _Nullable callback, void* _Nullable userInfo);
extern "C" CGError CGDisplayRemoveReconfigurationCallback(
    CGDisplayReconfigurationCallBack _Nullable callback, void* _Nullable userInfo);

// CGWindowLevel, CGWindowLevelKey, CGWindowLevelForKey, macOS 10.0.
typedef int32_t CGWindowLevel;
typedef int32_t CGWindowLevelKey;
enum { kCGMaximumWindowLevelKey = 14 };
extern "C" CGWindowLevel CGWindowLevelForKey(CGWindowLevelKey key);

// ---- libdispatch, macOS 10.6; queues are Objective-C objects under ARC (OS_OBJECT_USE_OBJC) ----
@protocol OS_dispatch_object <NSObject>
@end
@protocol OS_dispatch_queue <OS_dispatch_object>
@end
typedef NSObject<OS_dispatch_queue>* dispatch_queue_t;
typedef void (^dispatch_block_t)(void);
typedef uint64_t dispatch_time_t;
typedef long dispatch_queue_priority_t;
#define DISPATCH_TIME_NOW (0ull)
#define DISPATCH_QUEUE_PRIORITY_DEFAULT 0
extern "C" {
dispatch_queue_t dispatch_get_global_queue(intptr_t identifier, uintptr_t flags);
// The SDK's dispatch_get_main_queue() is an inline function over the main queue object.
dispatch_queue_t dispatch_get_main_queue(void);
dispatch_time_t dispatch_time(dispatch_time_t when, int64_t delta);
void dispatch_sync(dispatch_queue_t queue, __attribute__((noescape)) dispatch_block_t block);
void dispatch_async(dispatch_queue_t queue, dispatch_block_t block);
void dispatch_after(dispatch_time_t when, dispatch_queue_t queue, dispatch_block_t block);
}

// ---- Security (Authorization.h), macOS 10.0 ----
typedef const struct AuthorizationOpaqueRef* AuthorizationRef;
typedef UInt32 AuthorizationFlags;
enum {
    kAuthorizationFlagDefaults = 0,
    kAuthorizationFlagInteractionAllowed = (1 << 0),
    kAuthorizationFlagExtendRights = (1 << 1),
    kAuthorizationFlagPartialRights = (1 << 2),
    kAuthorizationFlagDestroyRights = (1 << 3),
    kAuthorizationFlagPreAuthorize = (1 << 4),
};
enum {
    errAuthorizationSuccess = 0,
    errAuthorizationCanceled = -60006,
    errAuthorizationInteractionNotAllowed = -60007,
};
typedef const char* AuthorizationString;
typedef struct {
    AuthorizationString name;
    size_t valueLength;
    void* _Nullable value;
    UInt32 flags;
} AuthorizationItem;
typedef struct {
    UInt32 count;
    AuthorizationItem* _Nullable items;
} AuthorizationItemSet;
typedef AuthorizationItemSet AuthorizationRights;
typedef AuthorizationItemSet AuthorizationEnvironment;
extern "C" {
OSStatus AuthorizationCreate(const AuthorizationRights* _Nullable rights,
                             const AuthorizationEnvironment* _Nullable environment,
                             AuthorizationFlags flags,
                             AuthorizationRef _Nullable* _Nullable authorization);
OSStatus AuthorizationCopyRights(AuthorizationRef authorization, const AuthorizationRights* rights,
                                 const AuthorizationEnvironment* _Nullable environment,
                                 AuthorizationFlags flags,
                                 AuthorizationRights* _Nullable* _Nullable authorizedRights);
OSStatus AuthorizationFree(AuthorizationRef authorization, AuthorizationFlags flags);
// Deprecated since macOS 10.7; Tidra finds it by name at run time and declares no use of it.
}

// ---- libproc.h (BSD), macOS 10.5 ----
#define PROC_PPID_ONLY 6
extern "C" int proc_listpids(uint32_t type, uint32_t typeinfo, void* _Nullable buffer,
                             int buffersize);

// ---- Foundation ----

@interface NSUserDefaults (AppleSDK)
// -[NSUserDefaults initWithSuiteName:], macOS 10.9.
- (nullable instancetype)initWithSuiteName:(nullable NSString*)suitename;
// -[NSUserDefaults URLForKey:], -[NSUserDefaults setURL:forKey:], macOS 10.6.
- (nullable NSURL*)URLForKey:(NSString*)defaultName;
- (void)setURL:(nullable NSURL*)url forKey:(NSString*)defaultName;
@end

// NSKeyValueChangeKey, macOS 10.0 (a named type since the 10.12 SDK).
typedef NSString* NSKeyValueChangeKey;

@interface NSObject (AppleSDKKeyValueObserverRegistration)
// -[NSObject removeObserver:forKeyPath:context:], macOS 10.7.
- (void)removeObserver:(NSObject*)observer
            forKeyPath:(NSString*)keyPath
               context:(nullable void*)context;
@end

@interface NSKeyedUnarchiver (AppleSDK)
// +[NSKeyedUnarchiver unarchivedObjectOfClass:fromData:error:], macOS 10.13.
+ (nullable id)unarchivedObjectOfClass:(Class)cls fromData:(NSData*)data error:(NSError**)error;
// +[NSKeyedUnarchiver unarchivedObjectOfClasses:fromData:error:], macOS 10.13.
+ (nullable id)unarchivedObjectOfClasses:(NSSet<Class>*)classes
                                fromData:(NSData*)data
                                   error:(NSError**)error;
@end

// NSFileManagerItemReplacementOptions, macOS 10.6.
typedef NS_OPTIONS(NSUInteger, NSFileManagerItemReplacementOptions) {
    NSFileManagerItemReplacementUsingNewMetadataOnly = 1UL << 0,
    NSFileManagerItemReplacementWithoutDeletingBackupItem = 1UL << 1
};

@interface NSFileManager (AppleSDK)
// -[NSFileManager trashItemAtURL:resultingItemURL:error:], macOS 10.8.
- (BOOL)trashItemAtURL:(NSURL*)url
      resultingItemURL:(NSURL* _Nullable* _Nullable)outResultingURL
                 error:(NSError**)error;
// -[NSFileManager replaceItemAtURL:withItemAtURL:backupItemName:options:resultingItemURL:error:],
// macOS 10.6.
- (BOOL)replaceItemAtURL:(NSURL*)originalItemURL
           withItemAtURL:(NSURL*)newItemURL
          backupItemName:(nullable NSString*)backupItemName
                 options:(NSFileManagerItemReplacementOptions)options
        resultingItemURL:(NSURL* _Nullable* _Nullable)resultingURL
                   error:(NSError**)error;
@end

@interface NSFileHandle (AppleSDK)
// -[NSFileHandle readDataToEndOfFileAndReturnError:], macOS 10.15.
- (nullable NSData*)readDataToEndOfFileAndReturnError:(out NSError**)error;
@end

@interface NSTask (AppleSDK)
// -[NSTask executableURL], -[NSTask launchAndReturnError:], macOS 10.13.
@property(nullable, copy) NSURL* executableURL;
- (BOOL)launchAndReturnError:(NSError**)error;
@end

// NSOperatingSystemVersion, -[NSProcessInfo operatingSystemVersion], macOS 10.10.
typedef struct {
    NSInteger majorVersion;
    NSInteger minorVersion;
    NSInteger patchVersion;
} NSOperatingSystemVersion;

@interface NSProcessInfo (AppleSDK)
@property(readonly) NSOperatingSystemVersion operatingSystemVersion;
@end

// NSAppleScript and NSAppleEventDescriptor, macOS 10.2 (GNUstep declares both classes empty).
typedef uint32_t DescType;
extern NSString* const NSAppleScriptErrorMessage;
extern NSString* const NSAppleScriptErrorNumber;

@interface NSAppleEventDescriptor (AppleSDK)
@property(readonly) DescType descriptorType;
@property(readonly) NSInteger numberOfItems;
- (nullable NSAppleEventDescriptor*)descriptorAtIndex:(NSInteger)index;
@property(nullable, readonly, copy) NSString* stringValue;
@property(readonly) Boolean booleanValue;
@end

@interface NSAppleEventDescriptor (AppleSDKParameters)
- (nullable NSAppleEventDescriptor*)paramDescriptorForKeyword:(AEKeyword)keyword;
@end

// NSAppleEventManager, macOS 10.0 (GNUstep declares the class empty).
@interface NSAppleEventManager (AppleSDK)
+ (NSAppleEventManager*)sharedAppleEventManager;
- (void)setEventHandler:(id)handler
            andSelector:(SEL)handleEventSelector
          forEventClass:(AEEventClass)eventClass
             andEventID:(AEEventID)eventID;
- (void)removeEventHandlerForEventClass:(AEEventClass)eventClass andEventID:(AEEventID)eventID;
@end

@interface NSAppleScript (AppleSDK)
- (nullable instancetype)initWithSource:(NSString*)source;
- (NSAppleEventDescriptor*)executeAndReturnError:
    (NSDictionary<NSString*, id>* _Nullable* _Nullable)errorInfo;
@end

// ---- AppKit ----

// NSAppearanceCustomization, macOS 10.9: views (and popovers, below) take an appearance.
@protocol NSAppearanceCustomization <NSObject>
@property(nullable, strong) NSAppearance* appearance;
@property(readonly, strong) NSAppearance* effectiveAppearance;
@end

@interface NSView (AppleSDK) <NSAppearanceCustomization>
// -[NSView wantsLayer], macOS 10.5.
@property BOOL wantsLayer;
// -[NSView translatesAutoresizingMaskIntoConstraints], -[NSView addConstraints:], macOS 10.7.
@property BOOL translatesAutoresizingMaskIntoConstraints;
- (void)addConstraints:(NSArray<__kindof NSLayoutConstraint*>*)constraints;
@end

// NSPopover conforms to NSAppearanceCustomization, macOS 10.10.
@interface NSPopover (AppleSDK) <NSAppearanceCustomization>
@end

@interface NSImage (AppleSDK)
// -[NSImage isTemplate], -[NSImage setTemplate:], macOS 10.5 (the SDK's `template` property
// as Objective-C++ reaches it: `template` is a C++ keyword).
- (BOOL)isTemplate;
- (void)setTemplate:(BOOL)isTemplate;
@end

@interface NSStatusItem (AppleSDK)
// -[NSStatusItem button], macOS 10.10.
@property(readonly, strong, nullable) NSStatusBarButton* button;
// -[NSStatusItem visible], -[NSStatusItem autosaveName], macOS 10.12.
@property(getter=isVisible) BOOL visible;
@property(null_resettable, copy) NSString* autosaveName;
@end

// NSWorkspaceApplicationKey, macOS 10.6.
APPKIT_EXPORT NSString* const NSWorkspaceApplicationKey;

// NSWorkspaceDesktopImageOptionKey and its keys, macOS 10.6 (a named type since the 10.12 SDK).
typedef NSString* NSWorkspaceDesktopImageOptionKey;
APPKIT_EXPORT NSWorkspaceDesktopImageOptionKey const NSWorkspaceDesktopImageScalingKey;
APPKIT_EXPORT NSWorkspaceDesktopImageOptionKey const NSWorkspaceDesktopImageAllowClippingKey;
APPKIT_EXPORT NSWorkspaceDesktopImageOptionKey const NSWorkspaceDesktopImageFillColorKey;

@interface NSWorkspace (AppleSDK)
// Desktop pictures per screen, macOS 10.6.
- (nullable NSURL*)desktopImageURLForScreen:(NSScreen*)screen;
- (nullable NSDictionary<NSWorkspaceDesktopImageOptionKey, id>*)desktopImageOptionsForScreen:
    (NSScreen*)screen;
- (BOOL)setDesktopImageURL:(NSURL*)url
                 forScreen:(NSScreen*)screen
                   options:(NSDictionary<NSWorkspaceDesktopImageOptionKey, id>*)options
                     error:(NSError**)error;
@end

// NSImageName, macOS 10.0 (a named type since the 10.13 SDK).
typedef NSString* NSImageName;

@interface NSBundle (AppleSDKImageAdditions)
// -[NSBundle URLForImageResource:], macOS 10.7.
- (nullable NSURL*)URLForImageResource:(NSImageName)name;
@end

// NSEventType and NSEventMask names of the 10.12 SDK (the values are those of macOS 10.0).
static const NSEventType NSEventTypeLeftMouseDown = NSLeftMouseDown;    // 1
static const NSEventType NSEventTypeLeftMouseUp = NSLeftMouseUp;        // 2
static const NSEventType NSEventTypeRightMouseDown = NSRightMouseDown;  // 3
static const NSEventType NSEventTypeRightMouseUp = NSRightMouseUp;      // 4
static const NSEventType NSEventTypeKeyDown = NSKeyDown;                // 10
static const NSEventMask NSEventMaskLeftMouseUp = 1ull << 2;
static const NSEventMask NSEventMaskRightMouseUp = 1ull << 4;
// NSEventModifierFlagDeviceIndependentFlagsMask, macOS 10.12 (the older name's value).
static const NSEventModifierFlags NSEventModifierFlagDeviceIndependentFlagsMask =
    NSDeviceIndependentModifierFlagsMask;

@interface NSEvent (AppleSDKMonitors)
// +[NSEvent addLocalMonitorForEventsMatchingMask:handler:], +[NSEvent removeMonitor:], 10.6.
+ (nullable id)addLocalMonitorForEventsMatchingMask:(NSEventMask)mask
                                            handler:(NSEvent* _Nullable (^)(NSEvent* event))block;
+ (void)removeMonitor:(id)eventMonitor;
@end

// NSBezelStyleRounded, macOS 10.0 (this name since the 10.12 SDK; the older one is deprecated).
static const NSBezelStyle NSBezelStyleRounded = NSRoundedBezelStyle;
// NSButtonTypeSwitch and NSButtonTypeRadio, macOS 10.0 (these names since the 10.12 SDK).
static const NSButtonType NSButtonTypeSwitch = NSSwitchButton;  // 3
static const NSButtonType NSButtonTypeRadio = NSRadioButton;    // 4

@interface NSControl (AppleSDK)
// -[NSControl controlSize], macOS 10.10 (a property of the control, not only of its cell).
@property NSControlSize controlSize;
@end

@interface NSAlert (AppleSDK)
// -[NSAlert showsSuppressionButton], -[NSAlert suppressionButton], macOS 10.5.
@property BOOL showsSuppressionButton;
@property(readonly, nullable, strong) NSButton* suppressionButton;
@end

// NSWindowOcclusionState, macOS 10.9.
typedef NSUInteger NSWindowOcclusionState;
static const NSWindowOcclusionState NSWindowOcclusionStateVisible = 1UL << 1;

@interface NSWindow (AppleSDK)
// -[NSWindow titlebarAppearsTransparent], macOS 10.10.
@property BOOL titlebarAppearsTransparent;
// -[NSWindow occlusionState], macOS 10.9.
@property(readonly) NSWindowOcclusionState occlusionState;
@end

// ---- Availability (os/availability.h, Foundation): the attributes only matter on a Mac ----
#ifndef API_AVAILABLE
#define API_AVAILABLE(...)
#endif
#ifndef API_DEPRECATED
#define API_DEPRECATED(...)
#endif
#ifndef API_UNAVAILABLE
#define API_UNAVAILABLE(...)
#endif
// sys/cdefs.h: the older spelling of the nullability qualifiers.
#ifndef __nullable
#define __nullable _Nullable
#endif
// NSObjCRuntime.h: properties are atomic on macOS.
#ifndef NS_NONATOMIC_IOSONLY
#define NS_NONATOMIC_IOSONLY atomic
#endif

// ---- AppKit of newer systems ----

@interface NSApplication (AppleSDKActivation)
// -[NSApplication activate], macOS 14.0.
- (void)activate API_AVAILABLE(macos(14.0));
@end

// NSWorkspaceOpenConfiguration, -[NSWorkspace openApplicationAtURL:configuration:
// completionHandler:], -[NSWorkspace URLForApplicationWithBundleIdentifier:] (macOS 10.6),
// macOS 10.15.
API_AVAILABLE(macos(10.15))
@interface NSWorkspaceOpenConfiguration : NSObject <NSCopying>
+ (instancetype)configuration;
@property BOOL activates;
@end

@interface NSWorkspace (AppleSDKOpening)
- (nullable NSURL*)URLForApplicationWithBundleIdentifier:(NSString*)bundleIdentifier;
- (void)openApplicationAtURL:(NSURL*)applicationURL
               configuration:(NSWorkspaceOpenConfiguration*)configuration
           completionHandler:(void (^_Nullable)(NSRunningApplication* _Nullable app,
                                                NSError* _Nullable error))completionHandler
    API_AVAILABLE(macos(10.15));
@end

// ---- UniformTypeIdentifiers (UTType.h), macOS 11.0 ----
API_AVAILABLE(macos(11.0), ios(14.0), tvos(14.0), watchos(7.0))
@interface UTType : NSObject <NSCopying, NSSecureCoding>
+ (nullable instancetype)typeWithIdentifier:(NSString*)identifier;
+ (nullable instancetype)typeWithFilenameExtension:(NSString*)filenameExtension;
@end

@interface NSSavePanel (AppleSDKContentTypes)
// -[NSSavePanel allowedContentTypes], macOS 11.0.
@property(copy) NSArray<UTType*>* allowedContentTypes API_AVAILABLE(macos(11.0));
@end

// ---- UserNotifications, macOS 10.14 ----

// UNAuthorizationOptions (UNUserNotificationCenter.h).
typedef NS_OPTIONS(NSUInteger, UNAuthorizationOptions) {
    UNAuthorizationOptionBadge = (1 << 0),
    UNAuthorizationOptionSound = (1 << 1),
    UNAuthorizationOptionAlert = (1 << 2),
    UNAuthorizationOptionCarPlay = (1 << 3),
} API_AVAILABLE(macos(10.14), ios(10.0), watchos(3.0), tvos(10.0));

// UNNotificationPresentationOptions (UNUserNotificationCenter.h); List and Banner, macOS 11.0.
typedef NS_OPTIONS(NSUInteger, UNNotificationPresentationOptions) {
    UNNotificationPresentationOptionBadge = (1 << 0),
    UNNotificationPresentationOptionSound = (1 << 1),
    UNNotificationPresentationOptionAlert API_DEPRECATED(
        "Use UNNotificationPresentationOptionList and UNNotificationPresentationOptionBanner",
        macos(10.14, 11.0), ios(10.0, 14.0), watchos(3.0, 7.0), tvos(10.0, 14.0)) = (1 << 2),
    UNNotificationPresentationOptionList API_AVAILABLE(macos(11.0), ios(14.0), watchos(7.0),
                                                       tvos(14.0)) = (1 << 3),
    UNNotificationPresentationOptionBanner API_AVAILABLE(macos(11.0), ios(14.0), watchos(7.0),
                                                         tvos(14.0)) = (1 << 4),
} API_AVAILABLE(macos(10.14), ios(10.0), watchos(3.0), tvos(10.0));

static const UNNotificationPresentationOptions UNNotificationPresentationOptionNone
    API_AVAILABLE(macos(10.14), ios(10.0), watchos(3.0), tvos(10.0)) = 0;

// UNNotificationContent, UNMutableNotificationContent (UNNotificationContent.h).
API_AVAILABLE(macos(10.14), ios(10.0), watchos(3.0), tvos(10.0))
@interface UNNotificationContent : NSObject <NSCopying, NSMutableCopying, NSSecureCoding>
@property(NS_NONATOMIC_IOSONLY, readonly, copy) NSString* title;
@property(NS_NONATOMIC_IOSONLY, readonly, copy) NSString* body;
@end

API_AVAILABLE(macos(10.14), ios(10.0), watchos(3.0), tvos(10.0))
@interface UNMutableNotificationContent : UNNotificationContent
@property(NS_NONATOMIC_IOSONLY, copy) NSString* title;
@property(NS_NONATOMIC_IOSONLY, copy) NSString* body;
@end

// UNNotificationTrigger (UNNotificationTrigger.h).
API_AVAILABLE(macos(10.14), ios(10.0), watchos(3.0), tvos(10.0))
@interface UNNotificationTrigger : NSObject <NSCopying, NSSecureCoding>
@end

// UNNotificationRequest (UNNotificationRequest.h).
API_AVAILABLE(macos(10.14), ios(10.0), watchos(3.0), tvos(10.0))
@interface UNNotificationRequest : NSObject <NSCopying, NSSecureCoding>
@property(NS_NONATOMIC_IOSONLY, readonly, copy) NSString* identifier;
@property(NS_NONATOMIC_IOSONLY, readonly, copy) UNNotificationContent* content;
@property(NS_NONATOMIC_IOSONLY, readonly, copy, nullable) UNNotificationTrigger* trigger;
+ (instancetype)requestWithIdentifier:(NSString*)identifier
                              content:(UNNotificationContent*)content
                              trigger:(nullable UNNotificationTrigger*)trigger;
- (instancetype)init NS_UNAVAILABLE;
@end

// UNNotification (UNNotification.h).
API_AVAILABLE(macos(10.14), ios(10.0), watchos(3.0), tvos(10.0))
@interface UNNotification : NSObject <NSCopying, NSSecureCoding>
@property(nonatomic, readonly, copy) NSDate* date;
@property(nonatomic, readonly, copy) UNNotificationRequest* request;
- (instancetype)init NS_UNAVAILABLE;
@end

@class UNUserNotificationCenter;

// UNUserNotificationCenterDelegate (UNUserNotificationCenter.h).
@protocol UNUserNotificationCenterDelegate <NSObject>
@optional
- (void)userNotificationCenter:(UNUserNotificationCenter*)center
       willPresentNotification:(UNNotification*)notification
         withCompletionHandler:
             (void (^)(UNNotificationPresentationOptions options))completionHandler
    API_AVAILABLE(macos(10.14), ios(10.0), watchos(3.0), tvos(10.0));
@end

// UNUserNotificationCenter (UNUserNotificationCenter.h).
API_AVAILABLE(macos(10.14), ios(10.0), watchos(3.0), tvos(10.0))
@interface UNUserNotificationCenter : NSObject
@property(NS_NONATOMIC_IOSONLY, nullable, weak) id<UNUserNotificationCenterDelegate> delegate;
+ (UNUserNotificationCenter*)currentNotificationCenter;
- (instancetype)init NS_UNAVAILABLE;
- (void)requestAuthorizationWithOptions:(UNAuthorizationOptions)options
                      completionHandler:
                          (void (^)(BOOL granted, NSError* __nullable error))completionHandler;
- (void)addNotificationRequest:(UNNotificationRequest*)request
         withCompletionHandler:(nullable void (^)(NSError* __nullable error))completionHandler;
@end

// ---- ServiceManagement (SMAppService.h), macOS 13.0 ----

typedef NS_ENUM(NSInteger, SMAppServiceStatus) {
    SMAppServiceStatusNotRegistered,
    SMAppServiceStatusEnabled,
    SMAppServiceStatusRequiresApproval,
    SMAppServiceStatusNotFound,
} API_AVAILABLE(macos(13.0)) API_UNAVAILABLE(ios, watchos, tvos);

API_AVAILABLE(macos(13.0)) API_UNAVAILABLE(ios, watchos, tvos) @interface SMAppService : NSObject
@property(class, readonly) SMAppService* mainAppService;
- (BOOL)registerAndReturnError:(NSError**)error;
- (BOOL)unregisterAndReturnError:(NSError**)error;
@property(readonly) SMAppServiceStatus status;
+ (void)openSystemSettingsLoginItems;
@end

#pragma clang assume_nonnull end
