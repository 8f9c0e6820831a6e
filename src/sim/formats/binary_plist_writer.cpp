#include "sim/formats/binary_plist_writer.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "sim/formats/binary_plist_format.h"

namespace tidra::sim {

namespace {

// One object of the list: a value, or the string of a dictionary key.
struct Object {
    const Value* value = nullptr;
    const std::string* key = nullptr;
    std::vector<std::uint64_t> refs;  // a container's members (a dictionary's keys, then values)
};

void putBigEndian(Data& out, std::uint64_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(std::uint8_t(v >> (8 * i)));
}

int bytesFor(std::uint64_t v) {
    return v <= 0xff ? 1 : v <= 0xffff ? 2 : v <= 0xffffffffu ? 4 : 8;
}

// An integer's marker: its byte count (1, 2, 4 or 8) as a power of two.
std::uint8_t integerMarker(int bytes) {
    return std::uint8_t(bplist::kInteger | (bytes == 1 ? 0 : bytes == 2 ? 1 : bytes == 4 ? 2 : 3));
}

// A marker with its count: in its low nibble, or as an integer object after it.
void putMarker(Data& out, std::uint8_t type, std::uint64_t count) {
    if (count < 15) {
        out.push_back(std::uint8_t(type | count));
        return;
    }
    out.push_back(std::uint8_t(type | bplist::kCountFollows));
    const int n = bytesFor(count);
    out.push_back(integerMarker(n));
    putBigEndian(out, count, n);
}

// The code point of the UTF-8 sequence at `i` and its length, or nothing when there is none.
bool decodeUtf8(std::string_view s, size_t i, std::uint32_t& cp, size_t& length) {
    const auto c = static_cast<unsigned char>(s[i]);
    const size_t extra = c < 0x80                 ? 0
                         : c >= 0xC2 && c <= 0xDF ? 1
                         : c >= 0xE0 && c <= 0xEF ? 2
                         : c >= 0xF0 && c <= 0xF4 ? 3
                                                  : 4;
    if (extra == 4 || i + extra >= s.size()) return false;
    cp = extra == 0 ? c : extra == 1 ? c & 0x1F : extra == 2 ? c & 0x0F : c & 0x07;
    for (size_t k = 1; k <= extra; ++k) {
        const auto d = static_cast<unsigned char>(s[i + k]);
        if ((d & 0xC0) != 0x80) return false;
        cp = cp << 6 | (d & 0x3F);
    }
    length = extra + 1;
    return !((extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000) ||
             (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF);
}

// ASCII as it is; anything else as UTF-16 (big-endian), as the format wants. A byte that is not
// part of UTF-8 becomes U+FFFD, as it would be shown.
void putString(Data& out, std::string_view s) {
    bool ascii = true;
    for (unsigned char c : s) ascii = ascii && c < 0x80;
    if (ascii) {
        putMarker(out, bplist::kAsciiString, s.size());
        out.insert(out.end(), s.begin(), s.end());
        return;
    }
    std::vector<std::uint16_t> units;
    units.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        std::uint32_t cp = 0;
        size_t length = 1;
        if (!decodeUtf8(s, i, cp, length)) {
            cp = 0xFFFD;
            length = 1;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            units.push_back(std::uint16_t(0xD800 | cp >> 10));
            units.push_back(std::uint16_t(0xDC00 | (cp & 0x3FF)));
        } else {
            units.push_back(std::uint16_t(cp));
        }
        i += length;
    }
    putMarker(out, bplist::kUtf16String, units.size());
    for (std::uint16_t u : units) putBigEndian(out, u, 2);
}

class Flattener {
  public:
    explicit Flattener(int maxDepth) : maxDepth_(maxDepth) {}

    // Answers the object's number, its members numbered after it; false when it cannot be
    // written.
    bool add(const Value& v, int depth, std::uint64_t& index) {
        if (depth > maxDepth_) return false;
        index = objects_.size();
        switch (v.kind()) {
            case Value::Kind::Absent:
            case Value::Kind::Null:
                return false;
            case Value::Kind::Array: {
                objects_.push_back({&v, nullptr, {}});
                std::vector<std::uint64_t> refs;
                refs.reserve(v.array().size());
                for (const Value& item : v.array()) {
                    std::uint64_t child = 0;
                    if (!add(item, depth + 1, child)) return false;
                    refs.push_back(child);
                }
                objects_[index].refs = std::move(refs);
                return true;
            }
            case Value::Kind::Dictionary: {
                objects_.push_back({&v, nullptr, {}});
                const Dictionary& d = v.dictionary();
                std::vector<std::uint64_t> keys, values;
                keys.reserve(d.size());
                values.reserve(d.size());
                for (const auto& [key, item] : d) {
                    if (!key.isString()) return false;
                    keys.push_back(objects_.size());
                    objects_.push_back({nullptr, &key.string(), {}});
                    std::uint64_t child = 0;
                    if (!add(item, depth + 1, child)) return false;
                    values.push_back(child);
                }
                keys.insert(keys.end(), values.begin(), values.end());
                objects_[index].refs = std::move(keys);
                return true;
            }
            default:
                objects_.push_back({&v, nullptr, {}});
                return true;
        }
    }

    std::vector<Object>& objects() { return objects_; }

  private:
    int maxDepth_;
    std::vector<Object> objects_;
};

bool putObject(Data& out, const Object& o, int refSize) {
    if (o.key) {
        putString(out, *o.key);
        return true;
    }
    const Value& v = *o.value;
    switch (v.kind()) {
        case Value::Kind::Boolean:
            out.push_back(v.boolValue() ? bplist::kTrue : bplist::kFalse);
            return true;
        case Value::Kind::Integer: {
            if (v.isLargeUnsigned()) {
                out.push_back(bplist::kInteger128);
                putBigEndian(out, 0, 8);
                putBigEndian(out, v.unsignedValue(), 8);
                return true;
            }
            const std::int64_t n = v.intValue();
            // Negative numbers take eight bytes, as the format has it.
            const int bytes = n < 0 ? 8 : bytesFor(std::uint64_t(n));
            out.push_back(integerMarker(bytes));
            putBigEndian(out, std::uint64_t(n), bytes);
            return true;
        }
        case Value::Kind::Real:
        case Value::Kind::Date: {
            const double d = v.isDate() ? v.dateValue() : v.realValue();
            std::uint64_t bits = 0;
            std::memcpy(&bits, &d, sizeof bits);
            out.push_back(v.isDate() ? bplist::kDate64 : bplist::kReal64);
            putBigEndian(out, bits, 8);
            return true;
        }
        case Value::Kind::Uid: {
            if (v.unsignedValue() > 0xFFFFFFFFu) return false;
            const int bytes = bytesFor(v.unsignedValue());
            out.push_back(std::uint8_t(bplist::kUid | (bytes - 1)));
            putBigEndian(out, v.unsignedValue(), bytes);
            return true;
        }
        case Value::Kind::String:
            putString(out, v.string());
            return true;
        case Value::Kind::Url: {
            const std::string text = v.url().absoluteString();
            putString(out, text);
            return true;
        }
        case Value::Kind::Data:
            putMarker(out, bplist::kData, v.data().size());
            out.insert(out.end(), v.data().begin(), v.data().end());
            return true;
        case Value::Kind::Array:
            putMarker(out, bplist::kArray, o.refs.size());
            for (std::uint64_t r : o.refs) putBigEndian(out, r, refSize);
            return true;
        case Value::Kind::Dictionary:
            putMarker(out, bplist::kDictionary, o.refs.size() / 2);
            for (std::uint64_t r : o.refs) putBigEndian(out, r, refSize);
            return true;
        default:
            return false;
    }
}

}  // namespace

std::optional<Data> writeBinaryPlist(const Value& value, int maxDepth) {
    Flattener flat(maxDepth);
    std::uint64_t top = 0;
    if (!flat.add(value, 0, top)) return std::nullopt;
    const auto& objects = flat.objects();
    const int refSize = bytesFor(objects.size());
    Data out(bplist::kHeader, bplist::kHeader + bplist::kHeaderSize);
    std::vector<std::uint64_t> offsets;
    offsets.reserve(objects.size());
    for (const Object& o : objects) {
        offsets.push_back(out.size());
        if (!putObject(out, o, refSize)) return std::nullopt;
    }
    const std::uint64_t table = out.size();
    const int offsetSize = bytesFor(table);
    for (std::uint64_t offset : offsets) putBigEndian(out, offset, offsetSize);
    out.insert(out.end(), bplist::kTrailerUnusedSize, 0);
    out.push_back(std::uint8_t(offsetSize));
    out.push_back(std::uint8_t(refSize));
    putBigEndian(out, objects.size(), 8);
    putBigEndian(out, top, 8);
    putBigEndian(out, table, 8);
    return out;
}

}  // namespace tidra::sim
