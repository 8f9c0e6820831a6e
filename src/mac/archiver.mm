// NSKeyedArchiver, NSKeyedUnarchiver and NSPropertyListSerialization for the values Tidra keeps.
#include "mac/services.h"
#include "mac/value_bridge.h"

namespace tidra::mac {
namespace {

class MacArchiver final : public Archiver {
  public:
    Data archivedDataWithRootObject(const Value& root) override {
        id object = toFoundation(root);
        if (object == nil) return {};
// Deprecated since macOS 10.14 and still there: the stored records are written by it.
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
        NSData* archived = [NSKeyedArchiver archivedDataWithRootObject:object];
#pragma clang diagnostic pop
        return fromNSData(archived);
    }

    Value unarchiveObjectWithData(const Data& data) override {
        NSData* bytes = toNSData(data);
        @try {
            // The stored records are outside input: only the classes a record is made of may be
            // decoded.
            NSSet* classes =
                [NSSet setWithObjects:[NSDictionary class], [NSArray class], [NSString class],
                                      [NSNumber class], [NSURL class], [NSData class],
                                      [NSNull class], nil];
            return fromFoundation([NSKeyedUnarchiver unarchivedObjectOfClasses:classes
                                                                      fromData:bytes
                                                                         error:NULL]);
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
