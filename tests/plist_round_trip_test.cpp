// Every value a property list can hold comes back unchanged from the simulated Mac's writer, as
// its own reader, libplist and Python's plistlib read it, and from a rewrite of another program's
// domain on the simulated Mac.
#include <gtest/gtest.h>
#include <plist/plist.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "plist_generator.h"
#include "sim/formats/binary_plist_format.h"
#include "sim/formats/plist_value.h"
#include "sim_world.h"
#include "test_files.h"
#include "test_folder.h"

namespace tidra::sim {
namespace {

using testing::PlistGenerator;

std::uint64_t bitsOf(double d) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &d, sizeof bits);
    return bits;
}

// Equal kind for kind and bit for bit: Value's own == takes 1, 1.0 and YES for one number.
::testing::AssertionResult same(const Value& got, const Value& want, const std::string& where) {
    auto differ = [&] {
        return ::testing::AssertionFailure()
               << where << ": read " << got.description() << ", wrote " << want.description();
    };
    if (got.kind() != want.kind() || got.isLargeUnsigned() != want.isLargeUnsigned())
        return differ();
    switch (want.kind()) {
        case Value::Kind::Real:
            if (bitsOf(got.realValue()) != bitsOf(want.realValue())) return differ();
            break;
        case Value::Kind::Date:
            if (bitsOf(got.dateValue()) != bitsOf(want.dateValue())) return differ();
            break;
        case Value::Kind::Array:
            if (got.array().size() != want.array().size()) return differ();
            for (std::size_t i = 0; i < want.array().size(); ++i)
                if (auto r = same(got.array()[i], want.array()[i],
                                  where + "[" + std::to_string(i) + "]");
                    !r)
                    return r;
            break;
        case Value::Kind::Dictionary:
            if (got.dictionary().size() != want.dictionary().size()) return differ();
            for (const auto& [key, item] : want.dictionary()) {
                auto it = got.dictionary().find(key);
                if (it == got.dictionary().end() || it->first.string() != key.string())
                    return differ();
                if (auto r = same(it->second, item, where + "." + key.string()); !r) return r;
            }
            break;
        default:
            if (got != want) return differ();
    }
    return ::testing::AssertionSuccess();
}

// Whether libplist holds the integer as unsigned: only its binary writer tells.
bool libplistUnsigned(plist_t node) {
    plist_t copy = plist_copy(node);
    char* bin = nullptr;
    std::uint32_t length = 0;
    plist_to_bin(copy, &bin, &length);
    const bool wide = bin && length > bplist::kHeaderSize &&
                      static_cast<std::uint8_t>(bin[bplist::kHeaderSize]) == bplist::kInteger128;
    std::free(bin);
    plist_free(copy);
    return wide;
}

// A node libplist read, compared with the value written, through libplist's own accessors.
::testing::AssertionResult sameNode(plist_t node, const Value& want, const std::string& where) {
    auto differ = [&](const std::string& what) {
        return ::testing::AssertionFailure()
               << where << ": libplist read " << what << ", wrote " << want.description();
    };
    const plist_type type = plist_get_node_type(node);
    switch (want.kind()) {
        case Value::Kind::Boolean: {
            std::uint8_t b = 2;
            if (type == PLIST_BOOLEAN) plist_get_bool_val(node, &b);
            if (b != (want.boolValue() ? 1 : 0)) return differ("another Boolean");
            break;
        }
        case Value::Kind::Integer: {
            std::uint64_t u = 0;
            if (type == PLIST_UINT) plist_get_uint_val(node, &u);
            if (type != PLIST_UINT || u != want.unsignedValue() ||
                (u > std::uint64_t(INT64_MAX) && libplistUnsigned(node) != want.isLargeUnsigned()))
                return differ("another integer");
            break;
        }
        case Value::Kind::Real: {
            double d = 0;
            if (type == PLIST_REAL) plist_get_real_val(node, &d);
            if (type != PLIST_REAL || bitsOf(d) != bitsOf(want.realValue()))
                return differ("another real");
            break;
        }
        case Value::Kind::Date: {
            // libplist hands dates out to the microsecond only, the fraction without its sign.
            std::int32_t sec = 0, usec = 0;
            if (type == PLIST_DATE) plist_get_date_val(node, &sec, &usec);
            const bool before = sec < 0 || (sec == 0 && want.dateValue() < 0);
            const double got = double(sec) + (before ? -1 : 1) * std::fabs(double(usec)) / 1e6;
            if (type != PLIST_DATE || std::fabs(got - want.dateValue()) > 2e-6)
                return differ("another date");
            break;
        }
        case Value::Kind::Data: {
            char* p = nullptr;
            std::uint64_t n = 0;
            if (type == PLIST_DATA) plist_get_data_val(node, &p, &n);
            const bool equal = type == PLIST_DATA && n == want.data().size() &&
                               (n == 0 || std::memcmp(p, want.data().data(), n) == 0);
            std::free(p);
            if (!equal) return differ("other data");
            break;
        }
        case Value::Kind::Uid: {
            std::uint64_t u = 0;
            if (type == PLIST_UID) plist_get_uid_val(node, &u);
            if (type != PLIST_UID || u != want.unsignedValue()) return differ("another UID");
            break;
        }
        case Value::Kind::String: {
            std::uint64_t n = 0;
            const char* p = type == PLIST_STRING ? plist_get_string_ptr(node, &n) : nullptr;
            if (!p || std::string(p, n) != want.string()) return differ("other text");
            break;
        }
        case Value::Kind::Array:
            if (type != PLIST_ARRAY || plist_array_get_size(node) != want.array().size())
                return differ("another array");
            for (std::uint32_t i = 0; i < want.array().size(); ++i)
                if (auto r = sameNode(plist_array_get_item(node, i), want.array()[i],
                                      where + "[" + std::to_string(i) + "]");
                    !r)
                    return r;
            break;
        case Value::Kind::Dictionary:
            if (type != PLIST_DICT || plist_dict_get_size(node) != want.dictionary().size())
                return differ("another dictionary");
            for (const auto& [key, item] : want.dictionary()) {
                plist_t child = plist_dict_get_item(node, key.string().c_str());
                if (!child) return differ("no key " + key.string());
                if (auto r = sameNode(child, item, where + "." + key.string()); !r) return r;
            }
            break;
        default:
            return differ("a value no list holds");
    }
    return ::testing::AssertionSuccess();
}

std::string hex(const std::uint8_t* p, std::size_t n) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < n; ++i) out += {digits[p[i] >> 4], digits[p[i] & 15]};
    return out;
}

std::string bitsHex(double d) {
    std::uint8_t bytes[8];
    const std::uint64_t bits = bitsOf(d);
    for (int i = 0; i < 8; ++i) bytes[i] = std::uint8_t(bits >> (56 - 8 * i));
    return hex(bytes, 8);
}

// The typed form tests/plist_check.py compares plistlib's reading with.
nlohmann::json typed(const Value& v) {
    using nlohmann::json;
    switch (v.kind()) {
        case Value::Kind::Boolean:
            return {{"b", v.boolValue()}};
        case Value::Kind::Integer:
            return {{"i", v.isLargeUnsigned() ? std::to_string(v.unsignedValue())
                                              : std::to_string(v.intValue())}};
        case Value::Kind::Real:
            return {{"r", bitsHex(v.realValue())}};
        case Value::Kind::Date:
            return {{"d", bitsHex(v.dateValue())}};
        case Value::Kind::Data:
            return {{"x", hex(v.data().data(), v.data().size())}};
        case Value::Kind::Uid:
            return {{"u", std::to_string(v.unsignedValue())}};
        case Value::Kind::String:
            return {{"s", v.string()}};
        case Value::Kind::Array: {
            json a = json::array();
            for (const auto& e : v.array()) a.push_back(typed(e));
            return {{"a", a}};
        }
        case Value::Kind::Dictionary: {
            json o = json::array();
            for (const auto& [k, e] : v.dictionary())
                o.push_back(json::array({k.string(), typed(e)}));
            return {{"o", o}};
        }
        default:
            return {{"none", nullptr}};
    }
}

TEST(PlistRoundTrip, EveryValueComesBackAsTheSimulatedMacLibplistAndPlistlibReadIt) {
    const auto dir = testing::freshTestFolder("plist-round-trip");
    nlohmann::json cases = nlohmann::json::array();
    for (std::uint64_t seed = 1; seed <= 300; ++seed) {
        // libplist's reader ends text at a NUL, so half the lists hold none.
        const bool nul = seed % 2 == 0;
        PlistGenerator generate(seed, nul);
        const Value domain = generate.domain();
        const auto bytes = toBinaryPlist(domain);
        ASSERT_TRUE(bytes) << "seed " << seed;
        EXPECT_TRUE(same(parsePlist(*bytes), domain, "seed " + std::to_string(seed)));
        if (!nul) {
            plist_t node = nullptr;
            plist_from_bin(reinterpret_cast<const char*>(bytes->data()),
                           std::uint32_t(bytes->size()), &node);
            ASSERT_NE(node, nullptr) << "seed " << seed;
            EXPECT_TRUE(sameNode(node, domain, "seed " + std::to_string(seed)));
            plist_free(node);
        }
        const auto file = dir / ("seed-" + std::to_string(seed) + ".plist");
        testing::writeBytes(file, std::string(bytes->begin(), bytes->end()));
        cases.push_back({{"file", file.string()}, {"expected", typed(domain)}});
    }
    // Python comes with the project's dependencies; its reader is written apart from both.
    const auto casesFile = dir / "cases.json";
    testing::writeBytes(casesFile, cases.dump());
    const auto report = dir / "plistlib.txt";
    const std::string command = std::string(TIDRA_PYTHON) + " '" + TIDRA_SOURCE_DIR +
                                "/tests/plist_check.py' '" + casesFile.string() + "' > '" +
                                report.string() + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << testing::readBytes(report);
}

// Values no program of Tidra's writes, in the domains the simulated Mac rewrites when Tidra hides
// the desktop: Finder's and the window manager's.
Dictionary othersValues() {
    return {{Value("FXLastSearchDate"), Value::date(599616000.0)},  // 2020-01-01
            {Value("FXPreciseDate"), Value::date(-123456.654321)},
            {Value("Biggest"), Value::unsignedInteger(18446744073709551615u)},
            {Value("Smallest"), Value(std::numeric_limits<std::int64_t>::min())},
            {Value("Minus one"), Value(-1)},
            {Value("Ratio"), Value(0.1)},
            {Value("With NUL"), Value(std::string("a\0b", 3))},
            {Value(std::string("key\0NUL", 7)), Value("kept")},
            {Value("Clef 𝄞"), Value("𝄞 and ✓")},
            {Value("Reference"), Value::uid(7)},
            {Value("Blob"), Value(Data{0, 1, 2, 255})},
            {Value("Nested"),
             Value(Array{Value(Dictionary{{Value("when"), Value::date(1.5)}}), Value::uid(0)})}};
}

TEST(PlistRoundTrip, OtherProgramsValuesSurviveTheSimulatedMacRewritingTheirDomains) {
    // The two files lie on the disk before the Mac first starts, as other programs left them.
    sim::MacOptions options;
    options.systemVersion = OperatingSystemVersion{14, 0, 0};
    options.root = testing::freshTestFolder("others-values").string();
    const std::string finder = "/Users/me/Library/Preferences/com.apple.finder.plist";
    const std::string windowManager = "/Users/me/Library/Preferences/com.apple.WindowManager.plist";
    Dictionary finderValues = othersValues();
    finderValues[Value("ShowPathbar")] = Value(true);
    Dictionary windowManagerValues = othersValues();
    windowManagerValues[Value("StandardHideWidgets")] = Value(false);
    for (const auto& [file, values] :
         {std::pair{finder, finderValues}, std::pair{windowManager, windowManagerValues}}) {
        const auto bytes = toBinaryPlist(Value(values));
        ASSERT_TRUE(bytes);
        testing::writeBytes(options.root + file, *bytes);
    }
    testing::SimWorld w(options, false);
    w.launch("");
    RUN_OK(w, "click\nwait 3\n");
    ASSERT_EQ(w.status()["clean"], true);

    // Both domains were written again (Tidra's changes are in), the rest as it was.
    Value finderNow = parsePlist(testing::readBytes<Data>(w.mac().disk().real(finder)));
    EXPECT_EQ(finderNow["CreateDesktop"], Value(false));
    Value windowManagerNow =
        parsePlist(testing::readBytes<Data>(w.mac().disk().real(windowManager)));
    EXPECT_EQ(windowManagerNow["StandardHideWidgets"], Value(1));
    for (auto* now : {&finderNow, &windowManagerNow}) {
        for (const auto& [key, value] : othersValues())
            EXPECT_TRUE(same((*now)[key], value, key.string()));
    }
    EXPECT_FALSE(w.exists(finder + ".corrupt-1"));
    EXPECT_FALSE(w.exists(windowManager + ".corrupt-1"));

    RUN_OK(w, "click\nwait 3\n");
    windowManagerNow = parsePlist(testing::readBytes<Data>(w.mac().disk().real(windowManager)));
    EXPECT_TRUE(same(Value(windowManagerNow.dictionary()), Value(windowManagerValues), "shown"));
}

// Writes the generator's lists as the preference-file fuzzer's seeds: run on demand with
// --gtest_also_run_disabled_tests and TIDRA_SEED_DIR set to fuzz/corpus/preference_file.
TEST(PlistRoundTrip, DISABLED_WriteFuzzSeeds) {
    const char* dir = std::getenv("TIDRA_SEED_DIR");
    ASSERT_TRUE(dir) << "TIDRA_SEED_DIR names the folder the seeds go to";
    for (std::uint64_t seed = 1; seed <= 12; ++seed) {
        const auto bytes = toBinaryPlist(PlistGenerator(seed).domain(3));
        ASSERT_TRUE(bytes);
        char name[32];
        std::snprintf(name, sizeof name, "generated-%02d.plist", int(seed));
        testing::writeBytes(std::filesystem::path(dir) / name, *bytes);
    }
}

}  // namespace
}  // namespace tidra::sim
