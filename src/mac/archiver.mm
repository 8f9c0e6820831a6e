// NSKeyedArchiver, NSKeyedUnarchiver and NSPropertyListSerialization for the values Tidra keeps.
// The archiver's plain class methods are deprecated since macOS 10.14 (below the arm64 slice's
// minimum, 11) and still there; the stored records are written by them, and read back through the
// class-checked call where there is one: the warning is off in this file only.
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
#include "mac/services.h"
#include "mac/value_bridge.h"

namespace tidra::mac {
namespace {

class MacArchiver final : public Archiver {
  public:
    Data archivedDataWithRootObject(const Value& root) override {
        id object = toFoundation(root);
        if (object == nil) return {};
        return fromNSData([NSKeyedArchiver archivedDataWithRootObject:object]);
    }

    Value unarchiveObjectWithData(const Data& data) override {
        NSData* bytes = toNSData(data);
        @try {
            // The stored records are outside input: where the platform can, only the classes
            // a record is made of may be decoded.
            if ([NSKeyedUnarchiver
                    respondsToSelector:@selector(unarchivedObjectOfClasses:fromData:error:)]) {
                NSSet* classes =
                    [NSSet setWithObjects:[NSDictionary class], [NSArray class], [NSString class],
                                          [NSNumber class], [NSURL class], [NSData class],
                                          [NSNull class], nil];
                return fromFoundation([NSKeyedUnarchiver unarchivedObjectOfClasses:classes
                                                                          fromData:bytes
                                                                             error:NULL]);
            }
            return fromFoundation([NSKeyedUnarchiver unarchiveObjectWithData:bytes]);
        } @catch (NSException* malformed) {
            return Value();
        }
    }

    Value propertyListWithData(const Data& data) override {
        @try {
            return fromFoundation([NSPropertyListSerialization
                propertyListWithData:toNSData(data)
                             options:NSPropertyListImmutable
                              format:NULL
                               error:NULL]);
        } @catch (NSException* malformed) {
            return Value();
        }
    }
};

}  // namespace

std::unique_ptr<Archiver> makeArchiver() {
    return std::make_unique<MacArchiver>();
}

}  // namespace tidra::mac
