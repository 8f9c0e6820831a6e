#include "mac/descriptions.h"

#include "mac/value_bridge.h"

namespace tidra::mac {

std::optional<Value> readDescription(const std::string& name) {
    NSString* path = [[NSBundle mainBundle] pathForResource:toNSString(name) ofType:@"json"];
    if (path == nil) return std::nullopt;
    return descriptionFromData([NSData dataWithContentsOfFile:path]);
}

InterfaceTexts interfaceTexts(const std::string& name) {
    return [table = toNSString(name)](const std::string& text) {
        return fromNSString([[NSBundle mainBundle] localizedStringForKey:toNSString(text)
                                                                   value:@""
                                                                   table:table]);
    };
}

std::optional<Value> descriptionFromData(NSData* bytes) {
    if (bytes == nil) return std::nullopt;
    id parsed = [NSJSONSerialization JSONObjectWithData:bytes options:0 error:NULL];
    if (![parsed isKindOfClass:[NSDictionary class]]) return std::nullopt;
    return fromFoundation(parsed);
}

}  // namespace tidra::mac
