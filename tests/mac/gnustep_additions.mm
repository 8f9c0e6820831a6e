// The calls of Apple's Foundation that src/mac makes and GNUstep's lacks, built from GNUstep's
// older calls, so that the native files run under GNUstep as they would on a Mac. Only the
// GNUstep tests link this file.
#import <Foundation/Foundation.h>

namespace {

// Whether an object, and everything inside a collection, is of one of the allowed classes, as
// the Mac's class-checked unarchiver demands.
bool madeOf(id object, NSSet* classes) {
    bool allowed = false;
    for (Class cls in classes) allowed = allowed || [object isKindOfClass:cls];
    if (!allowed) return false;
    if ([object isKindOfClass:[NSDictionary class]]) {
        for (id key in object) {
            if (!madeOf(key, classes) || !madeOf([object objectForKey:key], classes)) return false;
        }
    } else if ([object isKindOfClass:[NSArray class]]) {
        for (id item in object) {
            if (!madeOf(item, classes)) return false;
        }
    }
    return true;
}

}  // namespace

@interface NSKeyedUnarchiver (GNUstepAdditions)
+ (id)unarchivedObjectOfClasses:(NSSet*)classes fromData:(NSData*)data error:(NSError**)error;
@end
@interface NSTask (GNUstepAdditions)
- (BOOL)launchAndReturnError:(NSError**)error;
@end
@interface NSFileHandle (GNUstepAdditions)
- (NSData*)readDataToEndOfFileAndReturnError:(NSError**)error;
@end

@implementation NSKeyedUnarchiver (GNUstepAdditions)
+ (id)unarchivedObjectOfClasses:(NSSet*)classes fromData:(NSData*)data error:(NSError**)error {
    (void)error;
    id object = nil;
    @try {
        object = [NSKeyedUnarchiver unarchiveObjectWithData:data];
    } @catch (NSException* malformed) {
        return nil;
    }
    return object != nil && madeOf(object, classes) ? object : nil;
}
@end

@implementation NSTask (GNUstepAdditions)
- (BOOL)launchAndReturnError:(NSError**)error {
    (void)error;
    @try {
        [self launch];
        return YES;
    } @catch (NSException* cannotStart) {
        return NO;
    }
}
@end

@implementation NSFileHandle (GNUstepAdditions)
- (NSData*)readDataToEndOfFileAndReturnError:(NSError**)error {
    (void)error;
    @try {
        return [self readDataToEndOfFile];
    } @catch (NSException* failedRead) {
        return nil;
    }
}
@end
