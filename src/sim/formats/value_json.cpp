#include "sim/formats/value_json.h"

namespace tidra::sim {

std::string base64(const Data& d) {
    static const char* t = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    size_t i = 0;
    for (; i + 2 < d.size(); i += 3) {
        unsigned v = (d[i] << 16) | (d[i + 1] << 8) | d[i + 2];
        out += {t[v >> 18], t[(v >> 12) & 63], t[(v >> 6) & 63], t[v & 63]};
    }
    if (i + 1 == d.size()) {
        unsigned v = d[i] << 16;
        out += {t[v >> 18], t[(v >> 12) & 63], '=', '='};
    } else if (i + 2 == d.size()) {
        unsigned v = (d[i] << 16) | (d[i + 1] << 8);
        out += {t[v >> 18], t[(v >> 12) & 63], t[(v >> 6) & 63], '='};
    }
    return out;
}

nlohmann::json valueToJson(const Value& v) {
    using nlohmann::json;
    switch (v.kind()) {
        case Value::Kind::Absent:
        case Value::Kind::Null:
            return nullptr;
        case Value::Kind::Boolean:
            return v.boolValue();
        case Value::Kind::Integer:
            if (v.isLargeUnsigned()) return v.unsignedValue();
            return v.intValue();
        case Value::Kind::Real:
            return v.realValue();
        case Value::Kind::String:
            return v.string();
        case Value::Kind::Data:
            return json{{"data", base64(v.data())}};
        case Value::Kind::Url:
            return v.url().absoluteString();
        case Value::Kind::Date:
            return json{{"date", v.description()}};
        case Value::Kind::Uid:
            return json{{"uid", v.unsignedValue()}};
        case Value::Kind::Array: {
            json a = json::array();
            for (const auto& e : v.array()) a.push_back(valueToJson(e));
            return a;
        }
        case Value::Kind::Dictionary: {
            json o = json::object();
            for (const auto& [k, e] : v.dictionary())
                o[k.isString() ? k.string() : k.description()] = valueToJson(e);
            return o;
        }
    }
    return nullptr;
}

}  // namespace tidra::sim
