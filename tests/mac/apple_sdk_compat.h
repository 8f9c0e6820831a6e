// What Apple's macOS SDK declares and GNUstep's headers lack or declare otherwise, written as the
// SDK writes it, so that src/mac can be type-checked against GNUstep on Linux. Each declaration
// names the Apple API it stands for and the first macOS version with it. Only scripts/mac-check
// includes this file (before every source it checks); the Mac build never sees it.
#pragma once

#import <Foundation/Foundation.h>
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
extern "C" int statfs(const char *, struct statfs *);

// ---- Foundation ----

@interface NSUserDefaults (AppleSDK)
// -[NSUserDefaults initWithSuiteName:], macOS 10.9.
- (nullable instancetype)initWithSuiteName:(nullable NSString *)suitename;
// -[NSUserDefaults URLForKey:], -[NSUserDefaults setURL:forKey:], macOS 10.6.
- (nullable NSURL *)URLForKey:(NSString *)defaultName;
- (void)setURL:(nullable NSURL *)url forKey:(NSString *)defaultName;
@end

// NSKeyValueChangeKey, macOS 10.0 (a named type since the 10.12 SDK).
typedef NSString *NSKeyValueChangeKey;

@interface NSObject (AppleSDKKeyValueObserverRegistration)
// -[NSObject removeObserver:forKeyPath:context:], macOS 10.7.
- (void)removeObserver:(NSObject *)observer
            forKeyPath:(NSString *)keyPath
               context:(nullable void *)context;
@end

@interface NSKeyedUnarchiver (AppleSDK)
// +[NSKeyedUnarchiver unarchivedObjectOfClasses:fromData:error:], macOS 10.13.
+ (nullable id)unarchivedObjectOfClasses:(NSSet<Class> *)classes
                                fromData:(NSData *)data
                                   error:(NSError **)error;
@end

@interface NSFileManager (AppleSDK)
// -[NSFileManager trashItemAtURL:resultingItemURL:error:], macOS 10.8.
- (BOOL)trashItemAtURL:(NSURL *)url
      resultingItemURL:(NSURL *_Nullable *_Nullable)outResultingURL
                 error:(NSError **)error;
@end

@interface NSTask (AppleSDK)
// -[NSTask executableURL], -[NSTask launchAndReturnError:], macOS 10.13.
@property(nullable, copy) NSURL *executableURL;
- (BOOL)launchAndReturnError:(NSError **)error;
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
extern NSString *const NSAppleScriptErrorMessage;
extern NSString *const NSAppleScriptErrorNumber;

@interface NSAppleEventDescriptor (AppleSDK)
@property(readonly) DescType descriptorType;
@property(readonly) NSInteger numberOfItems;
- (nullable NSAppleEventDescriptor *)descriptorAtIndex:(NSInteger)index;
@property(nullable, readonly, copy) NSString *stringValue;
@property(readonly) Boolean booleanValue;
@end

@interface NSAppleScript (AppleSDK)
- (nullable instancetype)initWithSource:(NSString *)source;
- (NSAppleEventDescriptor *)executeAndReturnError:
    (NSDictionary<NSString *, id> *_Nullable *_Nullable)errorInfo;
@end

#pragma clang assume_nonnull end
