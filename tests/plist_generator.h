// Random property lists holding every kind of value a list can hold, for the round-trip checks
// and the fuzzers' seeds: integers across the signed and unsigned 64-bit range, reals, dates,
// data, UIDs, text with any code point (NUL and characters past the BMP included), nested arrays
// and dictionaries.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "platform/value.h"
#include "text/utf8.h"

namespace tidra::testing {

class PlistGenerator {
  public:
    // `nul`: whether text may hold NUL (libplist's reader ends text at the first one).
    explicit PlistGenerator(std::uint64_t seed, bool nul = true) : random_(seed), nul_(nul) {}

    // A dictionary at the top, as a preference domain is.
    Value domain(int depth = 4) {
        Dictionary d;
        const int n = below(12) + 1;
        for (int i = 0; i < n; ++i) d[Value(text(nul_))] = value(depth);
        return Value(std::move(d));
    }

    Value value(int depth) {
        switch (below(depth > 0 ? 12 : 10)) {
            case 0:
                return Value(below(2) == 1);
            case 1:
                return Value(signedInteger());
            case 2:
                return Value::unsignedInteger(unsignedInteger());
            case 3:
                return Value(real());
            case 4:
                return Value::date(date());
            case 5: {
                Data d(std::size_t(below(40)));
                for (auto& b : d) b = std::uint8_t(below(256));
                return Value(std::move(d));
            }
            case 6:
                // A UID is 32 bits wide.
                return Value::uid(unsignedInteger() >> 32);
            case 7:
            case 8:
            case 9:
                return Value(text(nul_));
            case 10: {
                Array a;
                const int n = below(6);
                for (int i = 0; i < n; ++i) a.push_back(value(depth - 1));
                return Value(std::move(a));
            }
            default:
                return domain(depth - 1);
        }
    }

    // Text of random code points: ASCII, NUL, Latin, the rest of the BMP (no surrogates) and
    // beyond it, as UTF-8.
    std::string text(bool nul) {
        std::string out;
        const int n = below(20);
        for (int i = 0; i < n; ++i) {
            std::uint32_t cp = 0;
            switch (below(6)) {
                case 0:
                    cp = nul ? 0 : 'x';
                    break;
                case 1:
                case 2:
                    cp = std::uint32_t(0x20 + below(0x5F));
                    break;
                case 3:
                    cp = std::uint32_t(0x80 + below(0x780));
                    break;
                case 4:
                    cp = std::uint32_t(0x800 + below(0xD800 - 0x800));
                    if (below(2)) cp = std::uint32_t(0xE000 + below(0x10000 - 0xE000));
                    break;
                default:
                    cp = std::uint32_t(0x10000 + below(0x100000));
                    break;
            }
            append(out, cp);
        }
        return out;
    }

  private:
    int below(int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(random_)); }

    std::int64_t signedInteger() {
        constexpr std::int64_t kEdges[] = {0,
                                           1,
                                           -1,
                                           255,
                                           256,
                                           65535,
                                           65536,
                                           4294967295,
                                           4294967296,
                                           std::numeric_limits<std::int64_t>::max(),
                                           std::numeric_limits<std::int64_t>::min()};
        if (below(3) == 0) return kEdges[below(std::size(kEdges))];
        return std::int64_t(random_()) >> below(64);
    }

    std::uint64_t unsignedInteger() {
        constexpr std::uint64_t kEdges[] = {0, 1, 9223372036854775807u, 9223372036854775808u,
                                            std::numeric_limits<std::uint64_t>::max()};
        if (below(3) == 0) return kEdges[below(std::size(kEdges))];
        return std::uint64_t(random_()) >> below(64);
    }

    double real() {
        constexpr double kEdges[] = {0.0,
                                     -0.0,
                                     0.1,
                                     -1e300,
                                     1e-310,
                                     std::numeric_limits<double>::infinity(),
                                     -std::numeric_limits<double>::infinity(),
                                     std::numeric_limits<double>::max()};
        if (below(3) == 0) return kEdges[below(std::size(kEdges))];
        std::uint64_t bits = random_();
        double d = 0;
        std::memcpy(&d, &bits, sizeof d);
        return std::isnan(d) ? 0.5 : d;
    }

    // From 1933 to 2069, to the microsecond: libplist hands dates out in 32-bit seconds.
    double date() {
        if (below(4) == 0) return 599616000.0;  // 2020-01-01 00:00:00 UTC
        const std::int64_t seconds = std::int64_t(random_() % 4294000000u) - 2147000000;
        return double(seconds) + double(below(1000000)) / 1e6;
    }

    static void append(std::string& out, std::uint32_t cp) { appendUtf8(out, cp); }

    std::mt19937_64 random_;
    bool nul_;
};

}  // namespace tidra::testing
