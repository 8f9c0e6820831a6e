#include "sim/formats/plist_value.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "sim/formats/binary_plist_format.h"
#include "sim/formats/binary_plist_reader.h"
#include "sim/formats/binary_plist_writer.h"

namespace tidra::sim {

bool isStorableText(const std::string& text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        std::uint32_t cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1, cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2, cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3, cp = c & 0x07;
        } else {
            return false;
        }
        if (n - i <= extra) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto d = static_cast<unsigned char>(text[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        // Overlong forms, UTF-16 surrogates and values past the last code point.
        if ((extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000) ||
            (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
            return false;
        i += extra + 1;
    }
    return true;
}

namespace {

// Deeper trees than this are refused before libplist sees them: its readers recurse.
constexpr int kMaxDepth = 200;
constexpr size_t kMaxBytes = 64u << 20;

std::uint64_t readBigEndian(const std::uint8_t* p, size_t n) {
    std::uint64_t v = 0;
    for (size_t i = 0; i < n; ++i) v = (v << 8) | p[i];
    return v;
}

// The trailer's figures: where the offset table lies, how wide its entries and the object
// references are, how many objects there are and which one is on top.
struct Trailer {
    size_t offsetSize = 0, refSize = 0;
    std::uint64_t count = 0, top = 0, table = 0;
};

std::optional<Trailer> readTrailer(const Data& b) {
    using namespace bplist;
    if (b.size() < kHeaderSize + 1 + kTrailerSize ||
        std::memcmp(b.data(), kHeader, kHeaderSize) != 0)
        return std::nullopt;
    const std::uint8_t* t = b.data() + b.size() - kTrailerSize;
    Trailer trailer{
        t[kTrailerOffsetSize], t[kTrailerRefSize], readBigEndian(t + kTrailerObjectCount, 8),
        readBigEndian(t + kTrailerTopObject, 8), readBigEndian(t + kTrailerOffsetTable, 8)};
    const size_t end = b.size() - kTrailerSize;
    if (trailer.offsetSize < 1 || trailer.offsetSize > 8 || trailer.refSize < 1 ||
        trailer.refSize > 8)
        return std::nullopt;
    if (trailer.count == 0 || trailer.top >= trailer.count || trailer.table < kHeaderSize ||
        trailer.table > end)
        return std::nullopt;
    if (trailer.count > (end - trailer.table) / trailer.offsetSize) return std::nullopt;
    return trailer;
}

// The objects of a binary list that the trailer describes, each read only after its bounds are
// checked.
class BinaryObjects {
  public:
    BinaryObjects(const Data& b, const Trailer& t) : b_(b), t_(t) {}

    // False when an offset points outside the objects.
    bool readOffsets() {
        offsets_.resize(t_.count);
        for (std::uint64_t i = 0; i < t_.count; ++i) {
            offsets_[i] = readBigEndian(b_.data() + t_.table + i * t_.offsetSize, t_.offsetSize);
            if (offsets_[i] < bplist::kHeaderSize || offsets_[i] >= t_.table) return false;
        }
        return true;
    }

    // The children of a container object, or nothing for a scalar; false when malformed.
    bool children(std::uint64_t obj, std::vector<std::uint64_t>& out) const {
        using namespace bplist;
        out.clear();
        size_t pos = offsets_[obj];
        const std::uint8_t marker = b_[pos++];
        const std::uint8_t type = marker & kTypeMask;
        const bool string = type == kAsciiString || type == kUtf16String;
        if (type != kArray && type != kSet && type != kDictionary && !string) return true;
        std::uint64_t n = 0;
        if (!readCount(marker, pos, n)) return false;
        if (string) return stringHasNoNul(pos, n, type == kUtf16String ? 2 : 1);
        const std::uint64_t refs = type == kDictionary ? n * 2 : n;
        if (n > t_.table || refs > (t_.table - pos) / t_.refSize) return false;
        for (std::uint64_t i = 0; i < refs; ++i) {
            const std::uint64_t r = readBigEndian(b_.data() + pos + i * t_.refSize, t_.refSize);
            if (r >= t_.count) return false;
            out.push_back(r);
        }
        return true;
    }

  private:
    // The count in the marker's low nibble, or in the integer object after it; `pos` moves past
    // what was read.
    bool readCount(std::uint8_t marker, size_t& pos, std::uint64_t& n) const {
        using namespace bplist;
        n = marker & kSizeMask;
        if (n != kCountFollows) return true;
        if (pos >= t_.table || (b_[pos] & kTypeMask) != kInteger) return false;
        const size_t len = size_t{1} << (b_[pos] & kSizeMask);
        if (len > 8 || pos + 1 + len > t_.table) return false;
        n = readBigEndian(b_.data() + pos + 1, len);
        pos += 1 + len;
        return true;
    }

    // A NUL inside a string: libplist asserts (and so aborts) when such a string is a
    // dictionary key, and could not write it back as a value.
    bool stringHasNoNul(size_t pos, std::uint64_t n, std::uint64_t unit) const {
        if (n > (t_.table - pos) / unit) return false;
        for (std::uint64_t i = 0; i < n; ++i) {
            bool nul = true;
            for (std::uint64_t k = 0; k < unit; ++k) nul = nul && b_[pos + i * unit + k] == 0;
            if (nul) return false;
        }
        return true;
    }

    const Data& b_;
    const Trailer& t_;
    std::vector<std::uint64_t> offsets_;
};

// Iterative depth-first walk from the top object; a reference back onto the current path is a
// cycle.
bool treeIsSound(const BinaryObjects& objects, const Trailer& t) {
    struct Frame {
        std::uint64_t obj;
        std::vector<std::uint64_t> kids;
        size_t next = 0;
    };
    std::vector<char> onPath(t.count, 0), done(t.count, 0);
    std::vector<Frame> stack;
    stack.push_back({t.top, {}, 0});
    if (!objects.children(t.top, stack.back().kids)) return false;
    onPath[t.top] = 1;
    while (!stack.empty()) {
        Frame& f = stack.back();
        if (f.next == f.kids.size()) {
            onPath[f.obj] = 0;
            done[f.obj] = 1;
            stack.pop_back();
            continue;
        }
        std::uint64_t kid = f.kids[f.next++];
        if (onPath[kid]) return false;
        if (done[kid]) continue;
        if (stack.size() >= kMaxDepth) return false;
        Frame child{kid, {}, 0};
        if (!objects.children(kid, child.kids)) return false;
        onPath[kid] = 1;
        stack.push_back(std::move(child));
    }
    return true;
}

// Checks the binary form's trailer, offset table and nesting depth, so that only structurally
// sound bytes reach libplist's reader.
bool binaryLooksSound(const Data& b) {
    const auto trailer = readTrailer(b);
    if (!trailer) return false;
    BinaryObjects objects(b, *trailer);
    return objects.readOffsets() && treeIsSound(objects, *trailer);
}

// A rough tag scan of the XML form: refuses nesting deeper than libplist should recurse.
bool xmlDepthSound(const Data& b) {
    int depth = 0;
    for (size_t i = 0; i < b.size(); ++i) {
        if (b[i] != '<') continue;
        size_t j = i + 1;
        bool closing = j < b.size() && b[j] == '/';
        if (closing) ++j;
        auto startsWith = [&](const char* name) {
            size_t n = std::strlen(name);
            return j + n <= b.size() && std::memcmp(b.data() + j, name, n) == 0;
        };
        if (!startsWith("dict") && !startsWith("array")) continue;
        size_t close = i;
        while (close < b.size() && b[close] != '>') ++close;
        bool selfClosing = close < b.size() && close > 0 && b[close - 1] == '/';
        if (closing) {
            --depth;
        } else if (!selfClosing && ++depth > kMaxDepth) {
            return false;
        }
    }
    return true;
}

PlistNode toPlistAt(const Value& v, int depth) {
    if (depth > kMaxDepth) return nullptr;
    switch (v.kind()) {
        case Value::Kind::Absent:
        case Value::Kind::Null:
            return nullptr;
        case Value::Kind::Boolean:
            return PlistNode(plist_new_bool(v.boolValue() ? 1 : 0));
        case Value::Kind::Integer:
            return PlistNode(plist_new_uint(v.unsignedValue()));
        case Value::Kind::Real:
            return PlistNode(plist_new_real(v.realValue()));
        case Value::Kind::String:
            return PlistNode(plist_new_string(v.string().c_str()));
        case Value::Kind::Data: {
            const Data& d = v.data();
            return PlistNode(plist_new_data(reinterpret_cast<const char*>(d.data()), d.size()));
        }
        case Value::Kind::Url:
            return PlistNode(plist_new_string(v.url().absoluteString().c_str()));
        case Value::Kind::Date: {
            // libplist keeps whole seconds in 32 bits: a date it cannot hold is not written.
            const double whole = std::floor(v.dateValue());
            if (!(whole >= -2147483648.0 && whole <= 2147483647.0)) return nullptr;
            return PlistNode(
                plist_new_date(std::int32_t(whole), std::int32_t((v.dateValue() - whole) * 1e6)));
        }
        case Value::Kind::Uid:
            return PlistNode(plist_new_uid(v.unsignedValue()));
        case Value::Kind::Array: {
            PlistNode out(plist_new_array());
            for (const Value& item : v.array()) {
                PlistNode child = toPlistAt(item, depth + 1);
                if (!child) return nullptr;
                plist_array_append_item(out.get(), child.release());
            }
            return out;
        }
        case Value::Kind::Dictionary: {
            PlistNode out(plist_new_dict());
            for (const auto& [key, item] : v.dictionary()) {
                if (!key.isString()) return nullptr;
                PlistNode child = toPlistAt(item, depth + 1);
                if (!child) return nullptr;
                plist_dict_set_item(out.get(), key.string().c_str(), child.release());
            }
            return out;
        }
    }
    return nullptr;
}

Value fromPlistAt(plist_t node, int depth, bool& ok);

// Whether libplist holds an integer past the signed range as unsigned rather than negative: its
// accessors give both as the same bits, its binary writer tells them apart.
bool heldUnsigned(plist_t node) {
    PlistNode copy(plist_copy(node));
    char* bin = nullptr;
    std::uint32_t length = 0;
    plist_to_bin(static_cast<plist_t>(copy.get()), &bin, &length);
    if (!bin) return false;
    const bool wide = length > bplist::kHeaderSize &&
                      static_cast<std::uint8_t>(bin[bplist::kHeaderSize]) == bplist::kInteger128;
    std::free(bin);
    return wide;
}

Value stringFrom(plist_t node, bool& ok) {
    // By pointer and length: a string holding a NUL byte (possible in binary lists) trips an
    // assertion in the copying accessor.
    std::uint64_t length = 0;
    const char* s = plist_get_string_ptr(node, &length);
    if (!s) {
        ok = false;
        return {};
    }
    std::string text(s, length);
    if (!isStorableText(text)) {
        ok = false;
        return {};
    }
    return Value(std::move(text));
}

Value dataFrom(plist_t node) {
    char* p = nullptr;
    std::uint64_t len = 0;
    plist_get_data_val(node, &p, &len);
    if (!p) return Value(Data{});
    Data out(reinterpret_cast<std::uint8_t*>(p), reinterpret_cast<std::uint8_t*>(p) + len);
    std::free(p);
    return Value(std::move(out));
}

Value arrayFrom(plist_t node, int depth, bool& ok) {
    Array out;
    std::uint32_t n = plist_array_get_size(node);
    for (std::uint32_t i = 0; i < n && ok; ++i)
        out.push_back(fromPlistAt(plist_array_get_item(node, i), depth + 1, ok));
    return ok ? Value(std::move(out)) : Value();
}

Value dictionaryFrom(plist_t node, int depth, bool& ok) {
    Dictionary out;
    plist_dict_iter it = nullptr;
    plist_dict_new_iter(node, &it);
    while (it && ok) {
        char* key = nullptr;
        plist_t item = nullptr;
        plist_dict_next_item(node, it, &key, &item);
        if (!key) break;
        std::string k(key);
        std::free(key);
        if (!isStorableText(k)) {
            ok = false;
            break;
        }
        out[Value(std::move(k))] = fromPlistAt(item, depth + 1, ok);
    }
    std::free(it);
    return ok ? Value(std::move(out)) : Value();
}

Value fromPlistAt(plist_t node, int depth, bool& ok) {
    if (!node || depth > kMaxDepth) {
        ok = false;
        return {};
    }
    switch (plist_get_node_type(node)) {
        case PLIST_BOOLEAN: {
            std::uint8_t b = 0;
            plist_get_bool_val(node, &b);
            return Value(b != 0);
        }
        case PLIST_UINT: {
            std::uint64_t u = 0;
            plist_get_uint_val(node, &u);
            if (u > std::uint64_t(INT64_MAX) && heldUnsigned(node))
                return Value::unsignedInteger(u);
            return Value(static_cast<std::int64_t>(u));
        }
        case PLIST_UID: {
            std::uint64_t u = 0;
            plist_get_uid_val(node, &u);
            return Value::uid(u);
        }
        case PLIST_REAL: {
            double d = 0;
            plist_get_real_val(node, &d);
            return Value(d);
        }
        case PLIST_DATE: {
            std::int32_t sec = 0, usec = 0;
            plist_get_date_val(node, &sec, &usec);
            return Value::date(double(sec) + double(usec) / 1e6);
        }
        case PLIST_STRING:
            return stringFrom(node, ok);
        case PLIST_DATA:
            return dataFrom(node);
        case PLIST_ARRAY:
            return arrayFrom(node, depth, ok);
        case PLIST_DICT:
            return dictionaryFrom(node, depth, ok);
        default:
            ok = false;
            return {};
    }
}

}  // namespace

bool isPropertyList(const Value& value, int depth) {
    if (depth > kMaxDepth) return false;
    switch (value.kind()) {
        case Value::Kind::Absent:
        case Value::Kind::Null:
            return false;
        case Value::Kind::Array:
            for (const Value& item : value.array())
                if (!isPropertyList(item, depth + 1)) return false;
            return true;
        case Value::Kind::Dictionary:
            for (const auto& [key, item] : value.dictionary())
                if (!key.isString() || !isPropertyList(item, depth + 1)) return false;
            return true;
        case Value::Kind::Uid:
            return value.unsignedValue() <= 0xFFFFFFFFu;
        default:
            return true;
    }
}

PlistNode toPlist(const Value& value) {
    return toPlistAt(value, 0);
}

Value fromPlist(plist_t node) {
    bool ok = true;
    Value v = fromPlistAt(node, 0, ok);
    return ok ? v : Value();
}

std::optional<Data> toBinaryPlist(const Value& value) {
    // Not through libplist's writer: it looks up every object it writes in a table of fixed
    // size, which makes a preference file of a few hundred thousand keys take minutes.
    return writeBinaryPlist(value, kMaxDepth);
}

PlistNode parsePlistNode(const Data& bytes) {
    if (bytes.empty() || bytes.size() > kMaxBytes) return nullptr;
    plist_t node = nullptr;
    const char* p = reinterpret_cast<const char*>(bytes.data());
    auto len = static_cast<std::uint32_t>(bytes.size());
    if (bytes.size() >= 6 && std::memcmp(bytes.data(), "bplist", 6) == 0) {
        if (!binaryLooksSound(bytes)) return nullptr;
        plist_from_bin(p, len, &node);
    } else {
        if (!xmlDepthSound(bytes)) return nullptr;
        plist_from_xml(p, len, &node);
    }
    return PlistNode(node);
}

Value parsePlist(const Data& bytes) {
    if (bytes.size() > kMaxBytes) return {};
    if (bytes.size() >= 6 && std::memcmp(bytes.data(), "bplist", 6) == 0)
        return readBinaryPlist(bytes, kMaxDepth);
    PlistNode node = parsePlistNode(bytes);
    return node ? fromPlist(static_cast<plist_t>(node.get())) : Value();
}

}  // namespace tidra::sim
