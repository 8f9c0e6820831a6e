#include "sim/formats/plist_value.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "sim/formats/binary_plist_writer.h"

namespace tidra::sim {

bool isStorableText(const std::string& text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        std::uint32_t cp = 0;
        if (c == 0) return false;
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

// Checks the binary form's trailer, offset table and nesting depth, so that only structurally
// sound bytes reach libplist's reader.
bool binaryLooksSound(const Data& b) {
    if (b.size() < 8 + 1 + 32 || std::memcmp(b.data(), "bplist00", 8) != 0) return false;
    const std::uint8_t* t = b.data() + b.size() - 32;
    size_t offsetSize = t[6], refSize = t[7];
    std::uint64_t count = readBigEndian(t + 8, 8), top = readBigEndian(t + 16, 8),
                  table = readBigEndian(t + 24, 8);
    size_t end = b.size() - 32;
    if (offsetSize < 1 || offsetSize > 8 || refSize < 1 || refSize > 8) return false;
    if (count == 0 || top >= count || table < 8 || table > end) return false;
    if (count > (end - table) / offsetSize) return false;
    std::vector<std::uint64_t> offsets(count);
    for (std::uint64_t i = 0; i < count; ++i) {
        offsets[i] = readBigEndian(b.data() + table + i * offsetSize, offsetSize);
        if (offsets[i] < 8 || offsets[i] >= table) return false;
    }
    // The children of a container object, or nothing for a scalar; false when malformed.
    auto children = [&](std::uint64_t obj, std::vector<std::uint64_t>& out) {
        out.clear();
        size_t pos = offsets[obj];
        std::uint8_t marker = b[pos++];
        int type = marker >> 4;
        if (type != 0xA && type != 0xC && type != 0xD && type != 0x5 && type != 0x6) return true;
        std::uint64_t n = marker & 0xF;
        if (n == 0xF) {
            if (pos >= table || (b[pos] >> 4) != 1) return false;
            size_t len = size_t{1} << (b[pos] & 0xF);
            if (len > 8 || pos + 1 + len > table) return false;
            n = readBigEndian(b.data() + pos + 1, len);
            pos += 1 + len;
        }
        if (type == 0x5 || type == 0x6) {
            // A NUL inside a string: libplist asserts (and so aborts) when such a string is a
            // dictionary key, and could not write it back as a value.
            const std::uint64_t unit = type == 0x6 ? 2 : 1;
            if (n > (table - pos) / unit) return false;
            for (std::uint64_t i = 0; i < n; ++i) {
                bool nul = true;
                for (std::uint64_t k = 0; k < unit; ++k) nul = nul && b[pos + i * unit + k] == 0;
                if (nul) return false;
            }
            return true;
        }
        std::uint64_t refs = type == 0xD ? n * 2 : n;
        if (n > table || refs > (table - pos) / refSize) return false;
        for (std::uint64_t i = 0; i < refs; ++i) {
            std::uint64_t r = readBigEndian(b.data() + pos + i * refSize, refSize);
            if (r >= count) return false;
            out.push_back(r);
        }
        return true;
    };
    // Iterative depth-first walk; a reference back onto the current path is a cycle.
    struct Frame {
        std::uint64_t obj;
        std::vector<std::uint64_t> kids;
        size_t next = 0;
    };
    std::vector<char> onPath(count, 0), done(count, 0);
    std::vector<Frame> stack;
    stack.push_back({top, {}, 0});
    if (!children(top, stack.back().kids)) return false;
    onPath[top] = 1;
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
        if (!children(kid, child.kids)) return false;
        onPath[kid] = 1;
        stack.push_back(std::move(child));
    }
    return true;
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
            return PlistNode(plist_new_uint(static_cast<std::uint64_t>(v.intValue())));
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
            return Value(static_cast<std::int64_t>(u));
        }
        case PLIST_REAL: {
            double d = 0;
            plist_get_real_val(node, &d);
            return Value(d);
        }
        case PLIST_DATE: {
            std::int32_t sec = 0, usec = 0;
            plist_get_date_val(node, &sec, &usec);
            return Value(double(sec) + double(usec) / 1e6);
        }
        case PLIST_STRING: {
            // By pointer and length: a string holding a NUL byte (possible in binary lists)
            // trips an assertion in the copying accessor.
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
        case PLIST_DATA: {
            char* p = nullptr;
            std::uint64_t len = 0;
            plist_get_data_val(node, &p, &len);
            if (!p) return Value(Data{});
            Data out(reinterpret_cast<std::uint8_t*>(p), reinterpret_cast<std::uint8_t*>(p) + len);
            std::free(p);
            return Value(std::move(out));
        }
        case PLIST_ARRAY: {
            Array out;
            std::uint32_t n = plist_array_get_size(node);
            for (std::uint32_t i = 0; i < n && ok; ++i)
                out.push_back(fromPlistAt(plist_array_get_item(node, i), depth + 1, ok));
            return ok ? Value(std::move(out)) : Value();
        }
        case PLIST_DICT: {
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
        default:
            ok = false;
            return {};
    }
}

}  // namespace

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
    PlistNode node = parsePlistNode(bytes);
    return node ? fromPlist(static_cast<plist_t>(node.get())) : Value();
}

}  // namespace tidra::sim
