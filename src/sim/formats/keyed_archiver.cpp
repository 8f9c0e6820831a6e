#include "sim/formats/keyed_archiver.h"

#include <map>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "sim/formats/plist_value.h"

namespace tidra::sim {

namespace {

constexpr int kMaxDepth = 200;
constexpr std::uint64_t kArchiveVersion = 100000;

class Encoder {
  public:
    Encoder() : objects_(plist_new_array()) {
        plist_array_append_item(objects_.get(), str("$null"));
    }

    // The UID of `v` in the object table; nothing when the tree is too deep.
    std::optional<std::uint64_t> encode(const Value& v, int depth) {
        if (depth > kMaxDepth) return std::nullopt;
        switch (v.kind()) {
            case Value::Kind::Absent:
                return 0;
            // Tidra's records hold neither; this archiver writes only the classes they use.
            case Value::Kind::Date:
            case Value::Kind::Uid:
                return std::nullopt;
            case Value::Kind::Boolean:
                return add(plist_new_bool(v.boolValue() ? 1 : 0));
            case Value::Kind::Integer:
                return add(plist_new_uint(static_cast<std::uint64_t>(v.intValue())));
            case Value::Kind::Real:
                return add(plist_new_real(v.realValue()));
            case Value::Kind::Data: {
                const Data& d = v.data();
                return add(plist_new_data(reinterpret_cast<const char*>(d.data()), d.size()));
            }
            case Value::Kind::String:
                return encodeString(v.string());
            case Value::Kind::Null: {
                std::uint64_t self = reserve();
                plist_t rec = plist_new_dict();
                plist_dict_set_item(rec, "$class", plist_new_uid(classRecord("NSNull", {})));
                fill(self, rec);
                return self;
            }
            case Value::Kind::Url: {
                std::uint64_t self = reserve();
                plist_t rec = plist_new_dict();
                plist_dict_set_item(rec, "NS.base", plist_new_uid(0));
                plist_dict_set_item(rec, "NS.relative",
                                    plist_new_uid(encodeString(v.url().absoluteString())));
                plist_dict_set_item(rec, "$class", plist_new_uid(classRecord("NSURL", {})));
                fill(self, rec);
                return self;
            }
            case Value::Kind::Array: {
                std::uint64_t self = reserve();
                PlistNode refs(plist_new_array());
                for (const Value& item : v.array()) {
                    auto uid = encode(item, depth + 1);
                    if (!uid) return std::nullopt;
                    plist_array_append_item(refs.get(), plist_new_uid(*uid));
                }
                plist_t rec = plist_new_dict();
                plist_dict_set_item(rec, "NS.objects", refs.release());
                plist_dict_set_item(rec, "$class", plist_new_uid(classRecord("NSArray", {})));
                fill(self, rec);
                return self;
            }
            case Value::Kind::Dictionary: {
                std::uint64_t self = reserve();
                PlistNode keys(plist_new_array()), values(plist_new_array());
                // Keys first, then objects, as the platform's archiver numbers them.
                for (const auto& [key, item] : v.dictionary()) {
                    auto uid = encode(key, depth + 1);
                    if (!uid) return std::nullopt;
                    plist_array_append_item(keys.get(), plist_new_uid(*uid));
                }
                for (const auto& [key, item] : v.dictionary()) {
                    auto uid = encode(item, depth + 1);
                    if (!uid) return std::nullopt;
                    plist_array_append_item(values.get(), plist_new_uid(*uid));
                }
                plist_t rec = plist_new_dict();
                plist_dict_set_item(rec, "NS.keys", keys.release());
                plist_dict_set_item(rec, "NS.objects", values.release());
                plist_dict_set_item(rec, "$class", plist_new_uid(classRecord("NSDictionary", {})));
                fill(self, rec);
                return self;
            }
        }
        return std::nullopt;
    }

    Data finish(std::uint64_t root) {
        PlistNode top(plist_new_dict());
        plist_dict_set_item(top.get(), "$version", plist_new_uint(kArchiveVersion));
        plist_dict_set_item(top.get(), "$archiver", str("NSKeyedArchiver"));
        plist_t rootDict = plist_new_dict();
        plist_dict_set_item(rootDict, "root", plist_new_uid(root));
        plist_dict_set_item(top.get(), "$top", rootDict);
        plist_dict_set_item(top.get(), "$objects", objects_.release());
        char* bytes = nullptr;
        std::uint32_t len = 0;
        plist_to_bin(top.get(), &bytes, &len);
        if (!bytes) return {};
        Data out(reinterpret_cast<std::uint8_t*>(bytes),
                 reinterpret_cast<std::uint8_t*>(bytes) + len);
        std::free(bytes);
        return out;
    }

  private:
    static plist_t str(const std::string& s) { return plist_new_string(s.c_str()); }

    std::uint64_t add(plist_t node) {
        plist_array_append_item(objects_.get(), node);
        return plist_array_get_size(objects_.get()) - 1;
    }
    // A slot numbered before the object's members, filled once they are encoded.
    std::uint64_t reserve() { return add(plist_new_bool(0)); }
    void fill(std::uint64_t slot, plist_t node) {
        plist_array_set_item(objects_.get(), node, static_cast<std::uint32_t>(slot));
    }

    std::uint64_t encodeString(const std::string& s) {
        auto it = strings_.find(s);
        if (it != strings_.end()) return it->second;
        std::uint64_t uid;
        if (s == "$null") {
            // A plain "$null" string would read back as nil: wrap it in a string object.
            uid = reserve();
            plist_t rec = plist_new_dict();
            plist_dict_set_item(rec, "NS.string", str(s));
            plist_dict_set_item(rec, "$class", plist_new_uid(classRecord("NSString", {})));
            fill(uid, rec);
        } else {
            uid = add(str(s));
        }
        strings_[s] = uid;
        return uid;
    }

    std::uint64_t classRecord(const std::string& name, const std::vector<std::string>& supers) {
        auto it = classes_.find(name);
        if (it != classes_.end()) return it->second;
        plist_t rec = plist_new_dict();
        plist_t chain = plist_new_array();
        plist_array_append_item(chain, str(name));
        for (const auto& s : supers) plist_array_append_item(chain, str(s));
        plist_array_append_item(chain, str("NSObject"));
        plist_dict_set_item(rec, "$classes", chain);
        plist_dict_set_item(rec, "$classname", str(name));
        std::uint64_t uid = add(rec);
        classes_[name] = uid;
        return uid;
    }

    PlistNode objects_;
    std::map<std::string, std::uint64_t> strings_;
    std::map<std::string, std::uint64_t> classes_;
};

// A reference to another object: a UID node in binary archives, and in XML archives a
// dictionary whose only key is "CF$UID" with an integer, which is how XML writes a UID.
std::optional<std::uint64_t> uidOf(plist_t node) {
    if (!node) return std::nullopt;
    std::uint64_t v = 0;
    if (plist_get_node_type(node) == PLIST_UID) {
        plist_get_uid_val(node, &v);
        return v;
    }
    if (plist_get_node_type(node) != PLIST_DICT || plist_dict_get_size(node) != 1)
        return std::nullopt;
    plist_t number = plist_dict_get_item(node, "CF$UID");
    if (!number || plist_get_node_type(number) != PLIST_UINT) return std::nullopt;
    plist_get_uint_val(number, &v);
    return v;
}

std::optional<std::string> stringOf(plist_t node) {
    if (!node || plist_get_node_type(node) != PLIST_STRING) return std::nullopt;
    std::uint64_t length = 0;
    const char* s = plist_get_string_ptr(node, &length);
    if (!s) return std::nullopt;
    std::string text(s, length);
    if (!isStorableText(text)) return std::nullopt;
    return text;
}

// A relative URL string read against its base; nothing for a base other than a file URL.
std::optional<Url> resolveUrl(const std::string& relative, const Value& base) {
    if (auto absolute = Url::fromString(relative)) return absolute;
    if (!base.isUrl() || !base.url().isFileURL()) return std::nullopt;
    auto rel = percentDecode(relative);
    auto basePath = base.url().path();
    if (!rel || !basePath) return std::nullopt;
    if (!rel->empty() && (*rel)[0] == '/')
        return Url::fileURLWithPath(paths::standardize(*rel, ""));
    bool baseIsDirectory = base.url().absoluteString().ends_with("/");
    std::string dir = baseIsDirectory ? *basePath : paths::deletingLastPathComponent(*basePath);
    return Url::fileURLWithPath(paths::standardize(paths::appendingPathComponent(dir, *rel), ""));
}

class Decoder {
  public:
    explicit Decoder(plist_t objects)
        : objects_(objects),
          count_(plist_array_get_size(objects)),
          state_(count_, State::Untouched),
          decoded_(count_) {}

    // Nothing marks failure; nil is a valid answer only for UID 0.
    std::optional<Value> decode(std::uint64_t uid, int depth) {
        if (uid >= count_ || depth > kMaxDepth) return std::nullopt;
        if (uid == 0) return Value();
        if (state_[uid] == State::Done) return decoded_[uid];
        if (state_[uid] == State::InProgress) return std::nullopt;  // a cycle
        state_[uid] = State::InProgress;
        auto v = decodeNode(plist_array_get_item(objects_, static_cast<std::uint32_t>(uid)), depth);
        if (!v) return std::nullopt;
        state_[uid] = State::Done;
        decoded_[uid] = *v;
        return v;
    }

  private:
    enum class State { Untouched, InProgress, Done };

    // A member that must be an object: a UID naming something other than nil.
    std::optional<Value> member(plist_t rec, const char* key, int depth) {
        auto uid = uidOf(plist_dict_get_item(rec, key));
        if (!uid) return std::nullopt;
        auto v = decode(*uid, depth + 1);
        if (!v || v->isNil()) return std::nullopt;
        return v;
    }

    std::optional<std::vector<Value>> members(plist_t rec, const char* key, int depth) {
        plist_t list = plist_dict_get_item(rec, key);
        if (!list || plist_get_node_type(list) != PLIST_ARRAY) return std::nullopt;
        std::vector<Value> out;
        std::uint32_t n = plist_array_get_size(list);
        if (n > count_) return std::nullopt;
        for (std::uint32_t i = 0; i < n; ++i) {
            auto uid = uidOf(plist_array_get_item(list, i));
            if (!uid) return std::nullopt;
            auto v = decode(*uid, depth + 1);
            if (!v || v->isNil()) return std::nullopt;  // collections hold no nil
            out.push_back(std::move(*v));
        }
        return out;
    }

    std::optional<std::string> className(plist_t rec) {
        auto uid = uidOf(plist_dict_get_item(rec, "$class"));
        if (!uid || *uid == 0 || *uid >= count_) return std::nullopt;
        plist_t cls = plist_array_get_item(objects_, static_cast<std::uint32_t>(*uid));
        if (!cls || plist_get_node_type(cls) != PLIST_DICT) return std::nullopt;
        return stringOf(plist_dict_get_item(cls, "$classname"));
    }

    std::optional<Value> decodeNode(plist_t node, int depth) {
        if (!node) return std::nullopt;
        switch (plist_get_node_type(node)) {
            case PLIST_BOOLEAN:
            case PLIST_UINT:
            case PLIST_REAL:
            case PLIST_STRING:
            case PLIST_DATA: {
                // Nothing (nil) when the scalar is damaged (a string that is not text).
                Value v = fromPlist(node);
                if (v.isNil()) return std::nullopt;
                return v;
            }
            case PLIST_DICT:
                return decodeRecord(node, depth);
            default:
                return std::nullopt;
        }
    }

    std::optional<Value> decodeRecord(plist_t rec, int depth) {
        auto name = className(rec);
        if (!name) return std::nullopt;
        if (*name == "NSDictionary" || *name == "NSMutableDictionary") {
            auto keys = members(rec, "NS.keys", depth);
            auto values = members(rec, "NS.objects", depth);
            if (!keys || !values || keys->size() != values->size()) return std::nullopt;
            Dictionary out;
            for (size_t i = 0; i < keys->size(); ++i) out[(*keys)[i]] = (*values)[i];
            return Value(std::move(out));
        }
        if (*name == "NSArray" || *name == "NSMutableArray") {
            auto items = members(rec, "NS.objects", depth);
            if (!items) return std::nullopt;
            return Value(Array(std::move(*items)));
        }
        if (*name == "NSString" || *name == "NSMutableString") {
            auto s = stringOf(plist_dict_get_item(rec, "NS.string"));
            if (!s) return std::nullopt;
            return Value(std::move(*s));
        }
        if (*name == "NSData" || *name == "NSMutableData") {
            plist_t d = plist_dict_get_item(rec, "NS.data");
            if (!d || plist_get_node_type(d) != PLIST_DATA) return std::nullopt;
            return fromPlist(d);
        }
        if (*name == "NSNull") return Value::null();
        if (*name == "NSURL") {
            auto baseUid = uidOf(plist_dict_get_item(rec, "NS.base"));
            auto relative = member(rec, "NS.relative", depth);
            if (!baseUid || !relative || !relative->isString()) return std::nullopt;
            auto base = decode(*baseUid, depth + 1);
            if (!base) return std::nullopt;
            auto url = resolveUrl(relative->string(), *base);
            if (!url || (!base->isNil() && !base->isUrl())) return std::nullopt;
            return Value(std::move(*url));
        }
        return std::nullopt;
    }

    plist_t objects_;
    std::uint64_t count_;
    std::vector<State> state_;
    std::vector<Value> decoded_;
};

}  // namespace

Data KeyedArchiver::archivedDataWithRootObject(const Value& root) {
    Encoder encoder;
    auto uid = encoder.encode(root, 0);
    if (!uid) return {};
    return encoder.finish(*uid);
}

Value KeyedArchiver::unarchiveObjectWithData(const Data& data) {
    PlistNode top = parsePlistNode(data);
    plist_t t = top.get();
    if (!t || plist_get_node_type(t) != PLIST_DICT) return {};
    if (stringOf(plist_dict_get_item(t, "$archiver")) != "NSKeyedArchiver") return {};
    plist_t version = plist_dict_get_item(t, "$version");
    if (!version || plist_get_node_type(version) != PLIST_UINT) return {};
    std::uint64_t v = 0;
    plist_get_uint_val(version, &v);
    if (v != kArchiveVersion) return {};
    plist_t topDict = plist_dict_get_item(t, "$top");
    if (!topDict || plist_get_node_type(topDict) != PLIST_DICT) return {};
    auto root = uidOf(plist_dict_get_item(topDict, "root"));
    plist_t objects = plist_dict_get_item(t, "$objects");
    if (!root || !objects || plist_get_node_type(objects) != PLIST_ARRAY) return {};
    if (plist_array_get_size(objects) == 0 || stringOf(plist_array_get_item(objects, 0)) != "$null")
        return {};
    Decoder decoder(objects);
    return decoder.decode(*root, 0).value_or(Value());
}

Value KeyedArchiver::propertyListWithData(const Data& data) {
    return parsePlist(data);
}

}  // namespace tidra::sim
