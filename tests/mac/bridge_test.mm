// Values through Foundation's objects and back, under GNUstep's runtime.
#include <gtest/gtest.h>

#include "mac/value_bridge.h"

namespace tidra::mac {
namespace {

Value roundTrip(const Value& v) {
    return fromFoundation(toFoundation(v));
}

TEST(MacBridge, EveryKindComesBackAsItWent) {
    @autoreleasepool {
        const Url picture = Url::fileURLWithPath("/Users/me/Pictures/Beach Day.jpg");
        const Value record(Dictionary{
            {Value(1), Value(picture)},
            {Value(std::int64_t(69732928)), Value(Url::fileURLWithPath("/Library/x.heic"))}});
        const Value options(
            Dictionary{{Value("NSWorkspaceDesktopImageScalingKey"), Value(3)},
                       {Value("NSWorkspaceDesktopImageAllowClippingKey"), Value(true)}});
        for (const Value& v :
             {Value(true), Value(false), Value(0), Value(1), Value(std::int64_t(1) << 40),
              Value(-7), Value(2.5), Value(""), Value("Grüße"), Value(Data{0, 1, 255}),
              Value::null(), Value(picture), Value(*Url::fromString("https://example.com/a?b=c")),
              Value(Array{Value(1), Value("x"), Value(Array{})}), record, options,
              Value(Dictionary{})}) {
            const Value back = roundTrip(v);
            EXPECT_EQ(back, v) << v.description();
            EXPECT_EQ(back.kind(), v.kind()) << v.description();
        }
        EXPECT_TRUE(roundTrip(record).isNumberKeyedDictionary());
        EXPECT_TRUE(fromFoundation(nil).isNil());
        EXPECT_EQ(toFoundation(Value()), nil);
    }
}

TEST(MacBridge, BooleansStayBooleansAndIntegersStayIntegers) {
    @autoreleasepool {
        EXPECT_EQ(fromFoundation([NSNumber numberWithBool:YES]).kind(), Value::Kind::Boolean);
        EXPECT_EQ(fromFoundation([NSNumber numberWithBool:NO]).kind(), Value::Kind::Boolean);
        for (NSNumber* n :
             {[NSNumber numberWithInt:1], [NSNumber numberWithInt:0], [NSNumber numberWithChar:1],
              [NSNumber numberWithUnsignedChar:1], [NSNumber numberWithLongLong:1]}) {
            EXPECT_EQ(fromFoundation(n).kind(), Value::Kind::Integer) << [n objCType];
        }
        EXPECT_EQ(fromFoundation([NSNumber numberWithDouble:1]).kind(), Value::Kind::Real);
        // A Boolean goes out as the shared Boolean number, which the platform's readers of
        // Booleans (boolForKey:, property lists) tell from an integer.
        EXPECT_EQ(toFoundation(Value(true)), [NSNumber numberWithBool:YES]);
        EXPECT_NE(toFoundation(Value(1)), [NSNumber numberWithBool:YES]);
    }
}

TEST(MacBridge, TextsKeepEveryByte) {
    @autoreleasepool {
        const std::string withNul("a\0b\0", 4);
        NSString* native = toNSString(withNul);
        EXPECT_EQ([native length], 4u);
        EXPECT_EQ(fromNSString(native), withNul);
        EXPECT_EQ(roundTrip(Value(withNul)).string(), withNul);

        // Bytes that are not UTF-8 each become U+FFFD; the rest of the text stays.
        EXPECT_EQ(fromNSString(toNSString("caf\xE9 ok")), "caf\xEF\xBF\xBD ok");
        EXPECT_EQ(fromNSString(toNSString("\xC3")), "\xEF\xBF\xBD");
        EXPECT_EQ(fromNSString(toNSString("\xED\xA0\x80!")),
                  "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD!");  // an encoded surrogate
        EXPECT_EQ(fromNSString(toNSString("\xF0\x9F\x99\x82")), "\xF0\x9F\x99\x82");
        EXPECT_EQ(fromNSString(nil), "");

        // A file URL's path survives spaces, percent signs and non-ASCII letters.
        const Url odd = Url::fileURLWithPath("/tmp/50% off/Grüße #1.png");
        EXPECT_EQ(fromNSURL(toNSURL(odd)), odd);
    }
}

TEST(MacBridge, ErrorsCarryDomainCodeAndDescription) {
    @autoreleasepool {
        NSError* error =
            [NSError errorWithDomain:@"NSCocoaErrorDomain"
                                code:516
                            userInfo:[NSDictionary dictionaryWithObject:@"“x” already exists."
                                                                 forKey:NSLocalizedDescriptionKey]];
        std::optional<Error> out;
        report(&out, error);
        ASSERT_TRUE(out.has_value());
        EXPECT_EQ(out->domain, "NSCocoaErrorDomain");
        EXPECT_EQ(out->code, 516);
        EXPECT_EQ(out->description(),
                  "Error Domain=NSCocoaErrorDomain Code=516 \"“x” already exists.\"");
        report(nullptr, error);  // no out-parameter: nothing to fill, no crash
    }
}

}  // namespace
}  // namespace tidra::mac
