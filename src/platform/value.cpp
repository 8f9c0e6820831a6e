#include "platform/value.h"

#include <cmath>
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
}  // namespace

Value Value::null() {
    Value v;
    v.kind_ = Kind::Null;
    return v;
}
Value::Value(bool b) : kind_(Kind::Boolean), b_(b), i_(b ? 1 : 0), d_(b ? 1 : 0) {}
Value::Value(std::int64_t i) : kind_(Kind::Integer), b_(i != 0), i_(i), d_(double(i)) {}
Value::Value(double d)
    : kind_(Kind::Real), b_(d != 0), i_(std::isfinite(d) ? std::int64_t(d) : 0), d_(d) {}
Value::Value(const char* s) : Value(std::string(s)) {}
Value::Value(std::string s) : kind_(Kind::String), s_(std::make_shared<std::string>(std::move(s))) {}
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
std::int64_t Value::intValue() const { return isNumber() ? i_ : 0; }
double Value::realValue() const { return isNumber() ? d_ : 0; }
const std::string& Value::string() const { return isString() ? *s_ : kEmptyString; }
const Data& Value::data() const { return isData() ? *data_ : kEmptyData; }
const Url& Value::url() const { return isUrl() ? *url_ : kEmptyUrl; }
const Array& Value::array() const { return isArray() ? *array_ : kEmptyArray; }
const Dictionary& Value::dictionary() const { return isDictionary() ? *dict_ : kEmptyDictionary; }

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
        case Value::Kind::Nil:
        case Value::Kind::Null:
            return false;
        case Value::Kind::Boolean:
        case Value::Kind::Integer:
        case Value::Kind::Real:
            if (a.kind() != Value::Kind::Real && b.kind() != Value::Kind::Real)
                return a.intValue() < b.intValue();
            return a.realValue() < b.realValue();
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
            return std::lexicographical_compare(
                a.dictionary().begin(), a.dictionary().end(), b.dictionary().begin(),
                b.dictionary().end(), [](const auto& x, const auto& y) {
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

std::string Value::description() const {
    std::ostringstream out;
    switch (kind_) {
        case Kind::Nil:
            return "(null)";
        case Kind::Null:
            return "<null>";
        case Kind::Boolean:
            return b_ ? "1" : "0";
        case Kind::Integer:
            return std::to_string(i_);
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
        case Kind::Array: {
            out << "(";
            bool first = true;
            for (const auto& v : *array_) {
                out << (first ? "\n    " : ",\n    ") << v.description();
                first = false;
            }
            out << (array_->empty() ? ")" : "\n)");
            return out.str();
        }
        case Kind::Dictionary: {
            out << "{";
            for (const auto& [k, v] : *dict_) out << "\n    " << k.description() << " = " << v.description() << ";";
            out << (dict_->empty() ? "}" : "\n}");
            return out.str();
        }
    }
    return {};
}

}  // namespace tidra
