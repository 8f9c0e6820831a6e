#include "mac/descriptions.h"

#include "mac/value_bridge.h"

namespace tidra::mac {

NSDictionary* readDescription(const std::string& name) {
    NSString* path = [[NSBundle mainBundle] pathForResource:toNSString(name) ofType:@"json"];
    if (path == nil) return nil;
    return descriptionFromData([NSData dataWithContentsOfFile:path]);
}

NSDictionary* descriptionFromData(NSData* bytes) {
    if (bytes == nil) return nil;
    id parsed = [NSJSONSerialization JSONObjectWithData:bytes options:0 error:NULL];
    return [parsed isKindOfClass:[NSDictionary class]] ? parsed : nil;
}

NSString* stringIn(NSDictionary* node, NSString* key, NSString* fallback) {
    id value = [node objectForKey:key];
    return [value isKindOfClass:[NSString class]] ? value : fallback;
}

double numberIn(NSDictionary* node, NSString* key, double fallback) {
    id value = [node objectForKey:key];
    return [value isKindOfClass:[NSNumber class]] ? [value doubleValue] : fallback;
}

NSArray* arrayIn(NSDictionary* node, NSString* key) {
    id value = [node objectForKey:key];
    return [value isKindOfClass:[NSArray class]] ? value : [NSArray array];
}

NSDictionary* dictionaryIn(NSDictionary* node, NSString* key) {
    id value = [node objectForKey:key];
    return [value isKindOfClass:[NSDictionary class]] ? value : nil;
}

bool has(NSDictionary* node, NSString* key) {
    return [node objectForKey:key] != nil;
}

NSRect frameIn(NSDictionary* node) {
    NSArray* frame = arrayIn(node, @"frame");
    if ([frame count] != 4) return NSZeroRect;
    double values[4];
    for (NSUInteger i = 0; i < 4; ++i) {
        id value = [frame objectAtIndex:i];
        if (![value isKindOfClass:[NSNumber class]]) return NSZeroRect;
        values[i] = [value doubleValue];
    }
    return NSMakeRect(values[0], values[1], values[2], values[3]);
}

}  // namespace tidra::mac
