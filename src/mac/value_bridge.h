// Values, URLs, texts and errors between Tidra's types and Foundation's objects.
#pragma once

#import <Foundation/Foundation.h>

#include <optional>
#include <string>

#include "platform/error.h"
#include "platform/url.h"
#include "platform/value.h"

namespace tidra::mac {

// Every byte is kept: NUL characters stay inside the text, and a byte sequence that is not UTF-8
// becomes U+FFFD for each bad byte instead of no string at all.
NSString* toNSString(const std::string& text);
std::string fromNSString(NSString* text);

NSURL* toNSURL(const Url& url);
std::optional<Url> fromNSURL(NSURL* url);

NSData* toNSData(const Data& data);
Data fromNSData(NSData* data);

// nil for an absent value. A Boolean becomes the shared Boolean number, never an integer one.
id toFoundation(const Value& value);
NSDictionary* toNSDictionary(const Dictionary& dictionary);
// Kinds Tidra has no value for (dates, colours, ...) read as absent; a dictionary or array
// leaves such entries out.
Value fromFoundation(id object);
Dictionary fromNSDictionary(NSDictionary* dictionary);

Error fromNSError(NSError* error);
// Fills the caller's error out-parameter, when it has one, from a platform error.
void report(ErrorOut out, NSError* error);

}  // namespace tidra::mac
