// Opening a URL on the simulated Mac, as Launch Services does for a scheme an application's
// bundle registers.
#include <fstream>
#include <iterator>

#include "sim/formats/plist_value.h"
#include "sim/mac.h"
#include "text/ascii.h"

namespace tidra::sim {

namespace {

// The schemes the bundle's Info.plist registers, lower-cased.
std::vector<std::string> registeredSchemes(const Disk& disk, const std::string& bundle) {
    std::ifstream in(disk.real(bundle + "/Contents/Info.plist"), std::ios::binary);
    const Value info = parsePlist(Data((std::istreambuf_iterator<char>(in)), {}));
    std::vector<std::string> schemes;
    const Value types = info[Value("CFBundleURLTypes")];
    if (!types.isArray()) return schemes;
    for (const Value& type : types.array()) {
        const Value list = type[Value("CFBundleURLSchemes")];
        if (!list.isArray()) continue;
        for (const Value& scheme : list.array())
            if (scheme.isString()) schemes.push_back(asciiLower(scheme.string()));
    }
    return schemes;
}

}  // namespace

std::optional<std::string> Mac::openURLFromOutside(const std::string& url) {
    const size_t colon = url.find(':');
    const std::string scheme = colon == std::string::npos ? "" : asciiLower(url.substr(0, colon));
    bool valid = !scheme.empty();
    for (char c : scheme)
        valid = valid && ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
                          c == '-' || c == '.');
    if (!valid) return "not a URL: it needs a scheme, as in tidra://hide";
    bool registered = false;
    for (const auto& s : registeredSchemes(disk_, bundlePath_))
        registered = registered || s == scheme;
    if (!registered) return "no application is registered for the scheme \"" + scheme + "\"";
    // Launch Services starts the application first, then hands it the URL.
    if (!app_ && !launchTidra()) return "Tidra did not start: " + launchError_;
    if (app_) urlEvents_.deliver(url);
    return std::nullopt;
}

}  // namespace tidra::sim
