#include "mac/value_bridge.h"

#include "mac/objc_memory.h"

namespace tidra::mac {

namespace {

// Length of the well-formed UTF-8 sequence at `i`, or 0 when the byte there starts none.
std::size_t utf8SequenceLength(const std::string& s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;  // no UTF-16 surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > s.size()) return 0;
    if (byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (std::size_t k = 2; k < length; ++k)
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
    return length;
}

std::string repairedUtf8(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t length = utf8SequenceLength(s, i);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(s, i, length);
            i += length;
        }
    }
    return out;
}

NSString* stringFromUtf8(const std::string& s) {
    return TIDRA_MADE([[NSString alloc] initWithBytes:s.data()
                                               length:s.size()
                                             encoding:NSUTF8StringEncoding]);
}

}  // namespace

NSString* toNSString(const std::string& text) {
    NSString* made = stringFromUtf8(text);
    return made != nil ? made : stringFromUtf8(repairedUtf8(text));
}

std::string fromNSString(NSString* text) {
    if (text == nil) return {};
    // Lossy only for a lone surrogate, which UTF-8 cannot hold.
    NSData* bytes = [text dataUsingEncoding:NSUTF8StringEncoding allowLossyConversion:YES];
    return std::string(static_cast<const char*>([bytes bytes]), [bytes length]);
}

NSURL* toNSURL(const Url& url) {
    if (url.isFileURL())
        if (auto path = url.path()) return [NSURL fileURLWithPath:toNSString(*path)];
    return [NSURL URLWithString:toNSString(url.absoluteString())];
}

std::optional<Url> fromNSURL(NSURL* url) {
    if (url == nil) return std::nullopt;
    if ([url isFileURL] && [url path] != nil) return Url::fileURLWithPath(fromNSString([url path]));
    return Url::fromString(fromNSString([url absoluteString]));
}

NSData* toNSData(const Data& data) {
    return [NSData dataWithBytes:data.data() length:data.size()];
}

Data fromNSData(NSData* data) {
    if (data == nil) return {};
    const auto* bytes = static_cast<const std::uint8_t*>([data bytes]);
    return Data(bytes, bytes + [data length]);
}

id toFoundation(const Value& value) {
    switch (value.kind()) {
        case Value::Kind::Absent:
            return nil;
        case Value::Kind::Null:
            return [NSNull null];
        case Value::Kind::Boolean:
            return [NSNumber numberWithBool:value.boolValue() ? YES : NO];
        case Value::Kind::Integer:
            if (value.isLargeUnsigned())
                return [NSNumber numberWithUnsignedLongLong:value.unsignedValue()];
            return [NSNumber numberWithLongLong:value.intValue()];
        case Value::Kind::Real:
            return [NSNumber numberWithDouble:value.realValue()];
        case Value::Kind::String:
            return toNSString(value.string());
        case Value::Kind::Data:
            return toNSData(value.data());
        case Value::Kind::Url:
            return toNSURL(value.url());
        case Value::Kind::Array: {
            NSMutableArray* array = [NSMutableArray arrayWithCapacity:value.array().size()];
            for (const Value& element : value.array())
                if (id object = toFoundation(element)) [array addObject:object];
            return array;
        }
        case Value::Kind::Dictionary:
            return toNSDictionary(value.dictionary());
        case Value::Kind::Date:
            return [NSDate dateWithTimeIntervalSinceReferenceDate:value.dateValue()];
        case Value::Kind::Uid:
            // Only keyed archives hold them, and Foundation makes them only inside its archiver.
            return nil;
    }
    return nil;
}

NSDictionary* toNSDictionary(const Dictionary& dictionary) {
    NSMutableDictionary* made = [NSMutableDictionary dictionaryWithCapacity:dictionary.size()];
    for (const auto& [key, entry] : dictionary) {
        id k = toFoundation(key);
        id v = toFoundation(entry);
        if (k != nil && v != nil) [made setObject:v forKey:k];
    }
    return made;
}

Value fromFoundation(id object) {
    if (object == nil) return Value();
    if ([object isKindOfClass:[NSString class]]) return Value(fromNSString(object));
    if ([object isKindOfClass:[NSNumber class]]) {
        NSNumber* number = object;
        // Booleans are the two shared Boolean numbers; their type code differs between
        // platforms, their identity does not.
        if (number == [NSNumber numberWithBool:YES]) return Value(true);
        if (number == [NSNumber numberWithBool:NO]) return Value(false);
        const char* type = [number objCType];
        if (type != nullptr && (type[0] == 'd' || type[0] == 'f'))
            return Value([number doubleValue]);
        if (type != nullptr && type[0] == 'Q')
            return Value::unsignedInteger([number unsignedLongLongValue]);
        return Value(static_cast<std::int64_t>([number longLongValue]));
    }
    if ([object isKindOfClass:[NSData class]]) return Value(fromNSData(object));
    if ([object isKindOfClass:[NSDate class]])
        return Value::date([(NSDate*)object timeIntervalSinceReferenceDate]);
    if ([object isKindOfClass:[NSURL class]]) {
        auto url = fromNSURL(object);
        return url ? Value(*url) : Value();
    }
    if ([object isKindOfClass:[NSNull class]]) return Value::null();
    if ([object isKindOfClass:[NSArray class]]) {
        Array array;
        for (id element in (NSArray*)object) {
            Value v = fromFoundation(element);
            if (!v.isNil()) array.push_back(std::move(v));
        }
        return Value(std::move(array));
    }
    if ([object isKindOfClass:[NSDictionary class]]) return Value(fromNSDictionary(object));
    return Value();
}

Dictionary fromNSDictionary(NSDictionary* dictionary) {
    Dictionary made;
    for (id key in dictionary) {
        Value k = fromFoundation(key);
        Value v = fromFoundation([dictionary objectForKey:key]);
        if (!k.isNil() && !v.isNil()) made.emplace(std::move(k), std::move(v));
    }
    return made;
}

Error fromNSError(NSError* error) {
    if (error == nil) return Error{"NSCocoaErrorDomain", 0, "An unknown error occurred."};
    return Error{fromNSString([error domain]), static_cast<long>([error code]),
                 fromNSString([error localizedDescription])};
}

void report(ErrorOut out, NSError* error) {
    if (out != nullptr) *out = fromNSError(error);
}

}  // namespace tidra::mac
