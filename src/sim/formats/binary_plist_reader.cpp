#include "sim/formats/binary_plist_reader.h"

#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "sim/formats/binary_plist_format.h"
#include "text/utf8.h"

namespace tidra::sim {

namespace {

std::uint64_t readBigEndian(const std::uint8_t* p, size_t n) {
    std::uint64_t v = 0;
    for (size_t i = 0; i < n; ++i) v = (v << 8) | p[i];
    return v;
}

class Reader {
  public:
    Reader(const Data& b, int maxDepth) : b_(b), maxDepth_(maxDepth) {}

    Value read() {
        using namespace bplist;
        if (b_.size() < kHeaderSize + 1 + kTrailerSize ||
            std::memcmp(b_.data(), kHeader, kHeaderSize) != 0)
            return {};
        const std::uint8_t* t = b_.data() + b_.size() - kTrailerSize;
        offsetSize_ = t[kTrailerOffsetSize];
        refSize_ = t[kTrailerRefSize];
        const std::uint64_t count = readBigEndian(t + kTrailerObjectCount, 8);
        const std::uint64_t top = readBigEndian(t + kTrailerTopObject, 8);
        table_ = readBigEndian(t + kTrailerOffsetTable, 8);
        const std::uint64_t end = b_.size() - kTrailerSize;
        if (offsetSize_ < 1 || offsetSize_ > 8 || refSize_ < 1 || refSize_ > 8) return {};
        if (count == 0 || top >= count || table_ < kHeaderSize || table_ > end) return {};
        if (count > (end - table_) / offsetSize_) return {};
        offsets_.resize(count);
        for (std::uint64_t i = 0; i < count; ++i) {
            offsets_[i] = readBigEndian(b_.data() + table_ + i * offsetSize_, offsetSize_);
            if (offsets_[i] < kHeaderSize || offsets_[i] >= table_) return {};
        }
        state_.assign(count, State::Unread);
        values_.resize(count);
        return object(top, 0).value_or(Value());
    }

  private:
    enum class State : std::uint8_t { Unread, Reading, Read };

    // Each object once, however often it is referred to: shared objects cost nothing more, and a
    // reference back onto the path being read is a loop.
    std::optional<Value> object(std::uint64_t index, int depth) {
        if (state_[index] == State::Read) return values_[index];
        if (state_[index] == State::Reading || depth > maxDepth_) return std::nullopt;
        state_[index] = State::Reading;
        auto v = parse(offsets_[index], depth);
        if (!v) return std::nullopt;
        state_[index] = State::Read;
        values_[index] = *v;
        return v;
    }

    // Whether `n` bytes from `pos` lie among the objects.
    bool fits(std::uint64_t pos, std::uint64_t n) const {
        return pos <= table_ && n <= table_ - pos;
    }

    // The count in the marker's low nibble, or in the integer object after it.
    bool count(std::uint8_t marker, std::uint64_t& pos, std::uint64_t& n) const {
        using namespace bplist;
        n = marker & kSizeMask;
        if (n != kCountFollows) return true;
        if (!fits(pos, 1) || (b_[pos] & kTypeMask) != kInteger) return false;
        const std::uint64_t len = std::uint64_t{1} << (b_[pos] & kSizeMask);
        if (len > 8 || !fits(pos + 1, len)) return false;
        n = readBigEndian(b_.data() + pos + 1, len);
        pos += 1 + len;
        return true;
    }

    std::optional<Value> integer(std::uint8_t marker, std::uint64_t pos) const {
        const std::uint64_t len = std::uint64_t{1} << (marker & bplist::kSizeMask);
        if (len > 16 || !fits(pos, len)) return std::nullopt;
        if (len < 8) return Value(std::int64_t(readBigEndian(b_.data() + pos, len)));
        if (len == 8) return Value(std::int64_t(readBigEndian(b_.data() + pos, 8)));
        // Sixteen bytes: how an unsigned number past the signed range is written, and how some
        // writers write a negative one. Anything wider than 64 bits has no number to go to.
        const std::uint64_t high = readBigEndian(b_.data() + pos, 8);
        const std::uint64_t low = readBigEndian(b_.data() + pos + 8, 8);
        if (high == 0) return Value::unsignedInteger(low);
        if (high == std::numeric_limits<std::uint64_t>::max() && (low >> 63) != 0)
            return Value(static_cast<std::int64_t>(low));
        return std::nullopt;
    }

    std::optional<Value> real(std::uint8_t marker, std::uint64_t pos, bool date) const {
        const std::uint64_t len = std::uint64_t{1} << (marker & bplist::kSizeMask);
        if ((len != 4 && len != 8) || (date && len != 8) || !fits(pos, len)) return std::nullopt;
        double d = 0;
        if (len == 4) {
            const auto bits = std::uint32_t(readBigEndian(b_.data() + pos, 4));
            float f = 0;
            std::memcpy(&f, &bits, sizeof f);
            d = f;
        } else {
            const std::uint64_t bits = readBigEndian(b_.data() + pos, 8);
            std::memcpy(&d, &bits, sizeof d);
        }
        return date ? Value::date(d) : Value(d);
    }

    std::optional<std::string> ascii(std::uint64_t pos, std::uint64_t n) const {
        if (!fits(pos, n)) return std::nullopt;
        std::string out(reinterpret_cast<const char*>(b_.data() + pos), n);
        for (unsigned char c : out)
            if (c >= 0x80) return std::nullopt;
        return out;
    }

    std::optional<std::string> utf16(std::uint64_t pos, std::uint64_t n) const {
        if (n > table_ / 2 || !fits(pos, n * 2)) return std::nullopt;
        std::string out;
        out.reserve(n * 3);
        for (std::uint64_t i = 0; i < n; ++i) {
            std::uint32_t unit = std::uint32_t(readBigEndian(b_.data() + pos + 2 * i, 2));
            if (unit >= 0xDC00 && unit <= 0xDFFF) return std::nullopt;
            if (unit >= 0xD800 && unit <= 0xDBFF) {
                if (i + 1 == n) return std::nullopt;
                const auto low = std::uint32_t(readBigEndian(b_.data() + pos + 2 * (i + 1), 2));
                if (low < 0xDC00 || low > 0xDFFF) return std::nullopt;
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
            appendUtf8(out, unit);
        }
        return out;
    }

    std::optional<std::vector<std::uint64_t>> refs(std::uint64_t pos, std::uint64_t n) const {
        if (n > table_ / refSize_ || !fits(pos, n * refSize_)) return std::nullopt;
        std::vector<std::uint64_t> out;
        out.reserve(n);
        for (std::uint64_t i = 0; i < n; ++i) {
            const std::uint64_t r = readBigEndian(b_.data() + pos + i * refSize_, refSize_);
            if (r >= offsets_.size()) return std::nullopt;
            out.push_back(r);
        }
        return out;
    }

    std::optional<Value> parse(std::uint64_t pos, int depth) {
        using namespace bplist;
        const std::uint8_t marker = b_[pos++];
        const std::uint8_t type = marker & kTypeMask;
        switch (type) {
            case 0x00:
                if (marker == kFalse || marker == kTrue) return Value(marker == kTrue);
                return std::nullopt;  // null and fill bytes hold no value of a list
            case kInteger:
                return integer(marker, pos);
            case kReal:
                return real(marker, pos, false);
            case kDate:
                if (marker != kDate64) return std::nullopt;
                return real(kReal64, pos, true);
            case kUid: {
                // Thirty-two bits at most, as the platform's keyed archives number objects.
                const std::uint64_t len = (marker & kSizeMask) + 1u;
                if (len > 8 || !fits(pos, len)) return std::nullopt;
                const std::uint64_t uid = readBigEndian(b_.data() + pos, len);
                if (uid > 0xFFFFFFFFu) return std::nullopt;
                return Value::uid(uid);
            }
            default:
                break;
        }
        std::uint64_t n = 0;
        if (!count(marker, pos, n)) return std::nullopt;
        switch (type) {
            case kData:
                if (!fits(pos, n)) return std::nullopt;
                return Value(
                    Data(b_.begin() + std::ptrdiff_t(pos), b_.begin() + std::ptrdiff_t(pos + n)));
            case kAsciiString:
            case kUtf16String: {
                auto text = type == kAsciiString ? ascii(pos, n) : utf16(pos, n);
                if (!text) return std::nullopt;
                return Value(std::move(*text));
            }
            case kArray:
            case kSet: {
                auto members = refs(pos, n);
                if (!members) return std::nullopt;
                Array out;
                out.reserve(n);
                for (std::uint64_t r : *members) {
                    auto v = object(r, depth + 1);
                    if (!v) return std::nullopt;
                    out.push_back(std::move(*v));
                }
                return Value(std::move(out));
            }
            case kDictionary: {
                if (n > table_) return std::nullopt;
                auto members = refs(pos, n * 2);
                if (!members) return std::nullopt;
                Dictionary out;
                for (std::uint64_t i = 0; i < n; ++i) {
                    auto key = object((*members)[i], depth + 1);
                    if (!key || !key->isString()) return std::nullopt;
                    auto v = object((*members)[n + i], depth + 1);
                    if (!v) return std::nullopt;
                    out[std::move(*key)] = std::move(*v);
                }
                return Value(std::move(out));
            }
            default:
                return std::nullopt;
        }
    }

    const Data& b_;
    int maxDepth_;
    std::uint64_t offsetSize_ = 0, refSize_ = 0, table_ = 0;
    std::vector<std::uint64_t> offsets_;
    std::vector<State> state_;
    std::vector<Value> values_;
};

}  // namespace

Value readBinaryPlist(const Data& bytes, int maxDepth) {
    return Reader(bytes, maxDepth).read();
}

}  // namespace tidra::sim
