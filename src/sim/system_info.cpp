#include "sim/system_info.h"

#include <charconv>
#include <iterator>

namespace tidra::sim {

namespace {

struct Published {
    int major;
    double numbers[8];  // by minor version; 0 past the last one published
};

// NSAppKitVersionNumber11_0 ... NSAppKitVersionNumber14_1. For 15, 26 and 27 no SDK constant is
// a run-time value; these are the bundle versions their AppKit reports (as crash reports show).
constexpr Published kLater[] = {
    {11, {2022, 2022.2, 2022.3, 2022.4, 2022.5, 2022.6}},
    {12, {2113, 2113.2, 2113.3, 2113.4, 2113.5, 2113.6}},
    {13, {2299, 2299.3, 2299.3, 2299.4, 2299.5, 2299.6, 2299.7}},
    {14, {2487, 2487.2}},
    {15, {2566}},
    {26, {2685}},
    {27, {2775}},
};

// The highest minor version a system from 11 on is taken with.
constexpr int kLastMinor = 9;

// A number of one or two digits without sign or leading blanks; nothing otherwise.
std::optional<int> smallNumber(std::string_view text) {
    if (text.empty() || text.size() > 2) return std::nullopt;
    for (char c : text)
        if (c < '0' || c > '9') return std::nullopt;
    int n = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return n;
}

}  // namespace

double appKitVersionFor(OperatingSystemVersion version) {
    // NSAppKitVersionNumber10_0 ... NSAppKitVersionNumber10_15, by minor version.
    static constexpr double kTen[] = {577,  620,  663,  743,  824,  949,  1038, 1138,
                                      1187, 1265, 1343, 1404, 1504, 1561, 1671, 1894};
    if (version.major < 10) return kTen[0];
    if (version.major == 10) {
        const int last = int(std::size(kTen)) - 1;
        return kTen[version.minor < 0 ? 0 : version.minor > last ? last : version.minor];
    }
    double number = kLater[0].numbers[0];
    for (const Published& p : kLater) {
        if (!version.isAtLeast(p.major)) break;
        for (int minor = 0; minor < int(std::size(p.numbers)) && p.numbers[minor] != 0; ++minor)
            if (version.isAtLeast(p.major, minor)) number = p.numbers[minor];
    }
    return number;
}

std::optional<OperatingSystemVersion> parseSystemVersion(const std::string& text) {
    const std::string_view all(text);
    const size_t dot = all.find('.');
    auto major = smallNumber(all.substr(0, dot));
    if (!major) return std::nullopt;
    std::optional<int> minor = 0;
    if (dot != std::string_view::npos) minor = smallNumber(all.substr(dot + 1));
    if (!minor) return std::nullopt;
    if (*major == 10) {
        if (dot == std::string_view::npos || *minor > 15) return std::nullopt;
    } else if (*major < 11 || (*major > 15 && *major < 26) || *major > 27) {
        return std::nullopt;
    } else if (*minor > kLastMinor) {
        // No system from 11 on has gone past .9: "15.99" is a typing slip, and kept with the Mac
        // it would refuse every real 15 after it as a step back.
        return std::nullopt;
    }
    return OperatingSystemVersion{*major, *minor, 0};
}

std::string systemVersionRefusal(const std::string& text) {
    std::string why = std::string("takes ") + kSystemVersionsTaken + ", not \"" + text + "\"";
    const size_t dot = text.find('.');
    const auto major = smallNumber(std::string_view(text).substr(0, dot));
    if (major && *major >= 16 && *major <= 25)
        why += ": there is no macOS " + std::to_string(*major) +
               ", as after 15 the versions are named for the year (26, then 27)";
    return why;
}

std::string systemVersionText(OperatingSystemVersion version) {
    std::string text = std::to_string(version.major);
    if (version.major == 10 || version.minor != 0) text += "." + std::to_string(version.minor);
    return text;
}

}  // namespace tidra::sim
