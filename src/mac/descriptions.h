// Interface descriptions (resources/<name>.json in the main bundle), read with
// NSJSONSerialization. The simulated Mac reads the same files, so both backends show one
// interface.
#pragma once

#import <Foundation/Foundation.h>

#include <string>

namespace tidra::mac {

// The description's top-level object; nil when the bundle lacks it or it is not a JSON object.
NSDictionary* readDescription(const std::string& name);
// The same from the file's bytes.
NSDictionary* descriptionFromData(NSData* bytes);

// Typed reads that answer the fallback for a missing key or a value of another kind.
NSString* stringIn(NSDictionary* node, NSString* key, NSString* fallback);
double numberIn(NSDictionary* node, NSString* key, double fallback);
NSArray* arrayIn(NSDictionary* node, NSString* key);
NSDictionary* dictionaryIn(NSDictionary* node, NSString* key);
bool has(NSDictionary* node, NSString* key);
// "frame": [x, y, width, height]; NSZeroRect when absent or misshapen.
NSRect frameIn(NSDictionary* node);

}  // namespace tidra::mac
