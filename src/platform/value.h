// A property-list value: what the platform hands the logic as an object (NSNumber, NSString,
// NSData, NSNull, NSURL, NSArray, NSDictionary, NSDate), plus nil for "no object". Tidra's logic
// uses only some of them; the others (dates, the keyed archives' UIDs, unsigned numbers beyond the
// signed range) are held so that what other programs store passes through a rewrite unchanged.
#pragma once

#include <compare>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/url.h"

namespace tidra {

class Value;
using Data = std::vector<std::uint8_t>;
using Array = std::vector<Value>;

// Orders keys the way the logic needs them compared: numbers by value whatever their storage
// (1, 1.0 and YES are one key, as NSNumber's isEqual: has it), then by kind.
struct ValueLess {
    bool operator()(const Value& a, const Value& b) const;
};
using Dictionary = std::map<Value, Value, ValueLess>;

class Value {
  public:
    enum class Kind {
        Absent,
        Null,
        Boolean,
        Integer,
        Real,
        String,
        Data,
        Url,
        Array,
        Dictionary,
        Date,
        Uid
    };

    Value() = default;  // nil
    static Value null();
    Value(bool b);
    Value(int i) : Value(static_cast<std::int64_t>(i)) {}
    Value(std::int64_t i);
    Value(std::uint32_t i) : Value(static_cast<std::int64_t>(i)) {}
    Value(double d);
    Value(const char* s);
    Value(std::string s);
    Value(Data d);
    Value(Url u);
    Value(Array a);
    Value(Dictionary d);
    // An unsigned number: one beyond the signed range stays unsigned (2^64-1 is not -1).
    static Value unsignedInteger(std::uint64_t u);
    // A date, in seconds since 2001-01-01 00:00:00 UTC, as the platform counts them.
    static Value date(double secondsSince2001);
    // A keyed archive's object reference (32 bits in a property list).
    static Value uid(std::uint64_t u);

    Kind kind() const { return kind_; }
    bool isNil() const { return kind_ == Kind::Absent; }
    bool isNull() const { return kind_ == Kind::Null; }
    // The platform's Booleans are number objects: any number answers a Boolean query.
    bool isNumber() const;
    bool isBoolean() const { return isNumber(); }
    bool isString() const { return kind_ == Kind::String; }
    bool isData() const { return kind_ == Kind::Data; }
    bool isUrl() const { return kind_ == Kind::Url; }
    bool isArray() const { return kind_ == Kind::Array; }
    bool isDictionary() const { return kind_ == Kind::Dictionary; }
    bool isDate() const { return kind_ == Kind::Date; }
    bool isUid() const { return kind_ == Kind::Uid; }
    // An integer past the signed range, held as unsigned.
    bool isLargeUnsigned() const { return kind_ == Kind::Integer && unsigned_; }
    bool isStringKeyedDictionary() const;
    bool isNumberKeyedDictionary() const;

    // Accessors answer a neutral value for another kind (false, 0, empty), as the platform's
    // boolValue / integerValue do on nil.
    bool boolValue() const;
    std::int64_t intValue() const;
    double realValue() const;
    // An integer's bits as unsigned (as unsignedLongLongValue); a UID's number.
    std::uint64_t unsignedValue() const;
    // Seconds since 2001 for a date, 0 for anything else.
    double dateValue() const { return isDate() ? d_ : 0; }
    const std::string& string() const;
    const Data& data() const;
    const Url& url() const;
    const Array& array() const;
    const Dictionary& dictionary() const;
    Dictionary& mutableDictionary();
    Array& mutableArray();

    // Dictionary lookup; nil when absent or when this is not a dictionary.
    Value operator[](const Value& key) const;

    bool operator==(const Value& other) const;
    bool operator!=(const Value& other) const { return !(*this == other); }

    // A short human-readable rendering, close to the platform's description of the object.
    std::string description() const;

  private:
    Kind kind_ = Kind::Absent;
    bool b_ = false;
    bool unsigned_ = false;
    std::int64_t i_ = 0;
    double d_ = 0;
    // Larger payloads are shared between copies and cloned on the first mutation.
    std::shared_ptr<std::string> s_;
    std::shared_ptr<Data> data_;
    std::shared_ptr<Url> url_;
    std::shared_ptr<Array> array_;
    std::shared_ptr<Dictionary> dict_;
};

}  // namespace tidra
