#include "platform/value.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <sstream>

namespace tidra {

namespace {
const std::string kEmptyString;
const Data kEmptyData;
const Url kEmptyUrl;
const Array kEmptyArray;
const Dictionary kEmptyDictionary;

int kindRank(Value::Kind k) {
    switch (k) {
        case Value::Kind::Boolean:
        case Value::Kind::Integer:
        case Value::Kind::Real:
            return 2;  // numbers form one family
        default:
            return static_cast<int>(k) + 10;
    }
}

// A real read from a file may lie beyond any integer; converting it directly is undefined.
std::int64_t saturatedInteger(double d) {
    if (!std::isfinite(d)) return 0;
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (d >= kTwoTo63) return std::numeric_limits<std::int64_t>::max();
    if (d < -kTwoTo63) return std::numeric_limits<std::int64_t>::min();
    return std::int64_t(d);
}

}  // namespace

Value Value::null() {
    Value v;
    v.kind_ = Kind::Null;
    return v;
}
Value Value::unsignedInteger(std::uint64_t u) {
    if (u <= std::uint64_t(std::numeric_limits<std::int64_t>::max())) return Value(std::int64_t(u));
    Value v(static_cast<std::int64_t>(u));
    v.unsigned_ = true;
    v.d_ = double(u);
    return v;
}

Value Value::date(double secondsSince2001) {
    Value v;
    v.kind_ = Kind::Date;
    v.d_ = secondsSince2001;
    return v;
}

Value Value::uid(std::uint64_t u) {
    Value v;
    v.kind_ = Kind::Uid;
    v.i_ = static_cast<std::int64_t>(u);
    return v;
}

Value::Value(bool b) : kind_(Kind::Boolean), b_(b), i_(b ? 1 : 0), d_(b ? 1 : 0) {}
Value::Value(std::int64_t i) : kind_(Kind::Integer), b_(i != 0), i_(i), d_(double(i)) {}
Value::Value(double d) : kind_(Kind::Real), b_(d != 0), i_(saturatedInteger(d)), d_(d) {}
Value::Value(const char* s) : Value(std::string(s)) {}
Value::Value(std::string s)
    : kind_(Kind::String), s_(std::make_shared<std::string>(std::move(s))) {}
Value::Value(Data d) : kind_(Kind::Data), data_(std::make_shared<Data>(std::move(d))) {}
Value::Value(Url u) : kind_(Kind::Url), url_(std::make_shared<Url>(std::move(u))) {}
Value::Value(Array a) : kind_(Kind::Array), array_(std::make_shared<Array>(std::move(a))) {}
Value::Value(Dictionary d)
    : kind_(Kind::Dictionary), dict_(std::make_shared<Dictionary>(std::move(d))) {}

bool Value::isNumber() const {
    return kind_ == Kind::Boolean || kind_ == Kind::Integer || kind_ == Kind::Real;
}

bool Value::isStringKeyedDictionary() const {
    if (!isDictionary()) return false;
    for (const auto& [k, v] : *dict_)
        if (!k.isString()) return false;
    return true;
}

bool Value::isNumberKeyedDictionary() const {
    if (!isDictionary()) return false;
    for (const auto& [k, v] : *dict_)
        if (!k.isNumber()) return false;
    return true;
}

bool Value::boolValue() const {
    if (isNumber()) return b_;
    if (isString()) {  // as NSString's boolValue: "YES", "true", or a non-zero number
        const std::string& s = *s_;
        size_t i = s.find_first_not_of(" \t");
        if (i == std::string::npos) return false;
        char c = s[i];
        return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
    }
    return false;
}
std::int64_t Value::intValue() const {
    return isNumber() ? i_ : 0;
}
double Value::realValue() const {
    return isNumber() ? d_ : 0;
}
std::uint64_t Value::unsignedValue() const {
    return isNumber() || isUid() ? static_cast<std::uint64_t>(i_) : 0;
}
const std::string& Value::string() const {
    return isString() ? *s_ : kEmptyString;
}
const Data& Value::data() const {
    return isData() ? *data_ : kEmptyData;
}
const Url& Value::url() const {
    return isUrl() ? *url_ : kEmptyUrl;
}
const Array& Value::array() const {
    return isArray() ? *array_ : kEmptyArray;
}
const Dictionary& Value::dictionary() const {
    return isDictionary() ? *dict_ : kEmptyDictionary;
}

Dictionary& Value::mutableDictionary() {
    if (!isDictionary()) *this = Value(Dictionary{});
    if (dict_.use_count() > 1) dict_ = std::make_shared<Dictionary>(*dict_);
    return *dict_;
}

Array& Value::mutableArray() {
    if (!isArray()) *this = Value(Array{});
    if (array_.use_count() > 1) array_ = std::make_shared<Array>(*array_);
    return *array_;
}

Value Value::operator[](const Value& key) const {
    if (!isDictionary()) return {};
    auto it = dict_->find(key);
    return it == dict_->end() ? Value{} : it->second;
}

bool ValueLess::operator()(const Value& a, const Value& b) const {
    int ra = kindRank(a.kind()), rb = kindRank(b.kind());
    if (ra != rb) return ra < rb;
    switch (a.kind()) {
        case Value::Kind::Absent:
        case Value::Kind::Null:
            return false;
        case Value::Kind::Boolean:
        case Value::Kind::Integer:
        case Value::Kind::Real:
            if (a.kind() == Value::Kind::Real || b.kind() == Value::Kind::Real)
                return a.realValue() < b.realValue();
            // An unsigned number past the signed range is above every signed one.
            if (a.isLargeUnsigned() != b.isLargeUnsigned()) return b.isLargeUnsigned();
            if (a.isLargeUnsigned()) return a.unsignedValue() < b.unsignedValue();
            return a.intValue() < b.intValue();
        case Value::Kind::Date:
            return a.dateValue() < b.dateValue();
        case Value::Kind::Uid:
            return a.unsignedValue() < b.unsignedValue();
        case Value::Kind::String:
            return a.string() < b.string();
        case Value::Kind::Data:
            return a.data() < b.data();
        case Value::Kind::Url:
            return a.url().absoluteString() < b.url().absoluteString();
        case Value::Kind::Array:
            return std::lexicographical_compare(a.array().begin(), a.array().end(),
                                                b.array().begin(), b.array().end(), ValueLess{});
        case Value::Kind::Dictionary:
            return std::lexicographical_compare(a.dictionary().begin(), a.dictionary().end(),
                                                b.dictionary().begin(), b.dictionary().end(),
                                                [](const auto& x, const auto& y) {
                                                    ValueLess less;
                                                    if (less(x.first, y.first)) return true;
                                                    if (less(y.first, x.first)) return false;
                                                    return less(x.second, y.second);
                                                });
    }
    return false;
}

bool Value::operator==(const Value& o) const {
    ValueLess less;
    return !less(*this, o) && !less(o, *this);
}

namespace {

void appendUtf16Escape(std::string& out, unsigned unit) {
    static const char* hex = "0123456789abcdef";
    out += "\\U";
    for (int shift = 12; shift >= 0; shift -= 4) out += hex[(unit >> shift) & 15];
}

// Inside a collection the platform writes texts as old-style property-list strings: bare when
// they are plain words, otherwise quoted with escapes and non-ASCII characters as \Uxxxx.
std::string quotedIfNeeded(const std::string& s) {
    bool bare = !s.empty();
    for (unsigned char c : s) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
              c == '_' || c == '$'))
            bare = false;
    }
    if (bare) return s;
    std::string out = "\"";
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x80) {
            if (c < 0x20 || c == 0x7f) {
                appendUtf16Escape(out, c);
            } else {
                out += char(c);
            }
        } else {
            const int n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            unsigned cp = n == 1 ? 0xFFFD : c & (0x7F >> n);
            for (int k = 1; k < n; ++k) {
                if (i + std::size_t(k) >= s.size()) break;
                cp = (cp << 6) | (static_cast<unsigned char>(s[i + std::size_t(k)]) & 0x3F);
            }
            if (cp >= 0x10000) {
                cp -= 0x10000;
                appendUtf16Escape(out, 0xD800 + (cp >> 10));
                appendUtf16Escape(out, 0xDC00 + (cp & 0x3FF));
            } else {
                appendUtf16Escape(out, cp);
            }
            i += std::size_t(n);
            continue;
        }
        ++i;
    }
    return out + "\"";
}

// As the platform describes a date: "2020-01-01 00:00:00 +0000".
std::string dateDescription(double secondsSince2001) {
    constexpr double kSecondsFrom1970To2001 = 978307200;
    const double sinceEpoch = std::floor(secondsSince2001 + kSecondsFrom1970To2001);
    if (!std::isfinite(sinceEpoch) || std::fabs(sinceEpoch) > 1e15)
        return std::to_string(secondsSince2001);
    // Days since 1970 to a civil date (proleptic Gregorian).
    auto days = static_cast<std::int64_t>(std::floor(sinceEpoch / 86400));
    const auto secs = static_cast<std::int64_t>(sinceEpoch - double(days) * 86400);
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t doe = days - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t day = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    char text[160];
    std::snprintf(text, sizeof text, "%04lld-%02lld-%02lld %02lld:%02lld:%02lld +0000",
                  static_cast<long long>(year), static_cast<long long>(month),
                  static_cast<long long>(day), static_cast<long long>(secs / 3600),
                  static_cast<long long>(secs / 60 % 60), static_cast<long long>(secs % 60));
    return text;
}

std::string nestedDescription(const Value& v, int level) {
    const std::string pad(std::size_t(4 * (level + 1)), ' ');
    const std::string closePad(std::size_t(4 * level), ' ');
    // Nested collections start one indentation further in, as the platform prints them.
    auto element = [&](const Value& e) {
        if (e.isArray() || e.isDictionary()) return pad + nestedDescription(e, level + 1);
        if (e.isData()) return e.description();
        return quotedIfNeeded(e.description());
    };
    std::string out;
    if (v.isArray()) {
        if (v.array().empty()) return "()";
        out = "(";
        bool first = true;
        for (const auto& e : v.array()) {
            out += (first ? "\n" : ",\n") + pad + element(e);
            first = false;
        }
        return out + "\n" + closePad + ")";
    }
    if (v.dictionary().empty()) return "{}";
    out = "{";
    for (const auto& [k, e] : v.dictionary())
        out += "\n" + pad + quotedIfNeeded(k.description()) + " = " + element(e) + ";";
    return out + "\n" + closePad + "}";
}

}  // namespace

std::string Value::description() const {
    std::ostringstream out;
    switch (kind_) {
        case Kind::Absent:
            return "(null)";
        case Kind::Null:
            return "<null>";
        case Kind::Boolean:
            return b_ ? "1" : "0";
        case Kind::Integer:
            return unsigned_ ? std::to_string(static_cast<std::uint64_t>(i_)) : std::to_string(i_);
        case Kind::Real:
            out << d_;
            return out.str();
        case Kind::String:
            return *s_;
        case Kind::Data: {
            static const char* hex = "0123456789abcdef";
            out << "{length = " << data_->size() << ", bytes = 0x";
            for (size_t i = 0; i < data_->size() && i < 32; ++i)
                out << hex[(*data_)[i] >> 4] << hex[(*data_)[i] & 15];
            out << (data_->size() > 32 ? "... }" : " }");
            return out.str();
        }
        case Kind::Url:
            return url_->absoluteString();
        case Kind::Array:
        case Kind::Dictionary:
            return nestedDescription(*this, 0);
        case Kind::Date:
            return dateDescription(d_);
        case Kind::Uid:
            return "<CFKeyedArchiverUID>{value = " + std::to_string(unsignedValue()) + "}";
    }
    return {};
}

}  // namespace tidra
