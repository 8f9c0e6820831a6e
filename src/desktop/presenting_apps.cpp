#include "desktop/presenting_apps.h"

#include <algorithm>

#include "prefs/keys.h"
#include "text/ascii.h"
#include "text/log_text.h"

namespace tidra {

const std::vector<std::string>& PresentingApps::builtIn() {
    static const std::vector<std::string> apps = {"com.apple.iWork.Keynote",
                                                  "com.microsoft.Powerpoint", "us.zoom.xos",
                                                  "com.microsoft.teams2", "Cisco-Systems.Spark"};
    return apps;
}

bool PresentingApps::counts(const Value& entry) {
    return entry.isString() && !entry.string().empty();
}

std::vector<std::string> PresentingApps::list() {
    const Value stored = s_.defaults.objectForKey(prefs::kPresentingApps);
    if (stored.isNil()) return builtIn();
    if (!stored.isArray()) {
        // Said once: the check runs at every application's launch.
        if (!reportedBadList_)
            s_.console.log(
                "presentingApps is not a list of bundle identifiers; Tidra uses its "
                "own list: " +
                loggableText(stored.description()));
        reportedBadList_ = true;
        return builtIn();
    }
    std::vector<std::string> apps;
    size_t usable = 0;
    for (const Value& entry : stored.array()) {
        if (!counts(entry)) continue;
        if (++usable <= kMostApps) apps.push_back(entry.string());
    }
    if (usable > kMostApps && !reportedLongList_) {
        s_.console.log("presentingApps holds " + std::to_string(usable) +
                       " bundle identifiers; Tidra looks at the first " +
                       std::to_string(kMostApps) + " only");
        reportedLongList_ = true;
    }
    return apps;
}

bool PresentingApps::contains(const std::string& bundleIdentifier) {
    if (bundleIdentifier.empty()) return false;
    // Launch Services matches bundle identifiers without regard to case.
    const std::string wanted = asciiLower(bundleIdentifier);
    const auto apps = list();
    return std::any_of(apps.begin(), apps.end(),
                       [&](const std::string& app) { return asciiLower(app) == wanted; });
}

bool PresentingApps::isBuiltIn() {
    const Value stored = s_.defaults.objectForKey(prefs::kPresentingApps);
    return !stored.isArray();
}

Array PresentingApps::editable() {
    const Value stored = s_.defaults.objectForKey(prefs::kPresentingApps);
    if (stored.isArray()) return stored.array();
    Array entries;
    for (const std::string& app : builtIn()) entries.push_back(Value(app));
    return entries;
}

void PresentingApps::store(const Array& entries) {
    s_.defaults.setObject(Value(entries), prefs::kPresentingApps);
    s_.defaults.synchronize();
}

PresentingApps::Added PresentingApps::add(const std::string& bundleIdentifier) {
    if (contains(bundleIdentifier)) return Added::AlreadyThere;
    Array entries = editable();
    const auto usable = std::count_if(entries.begin(), entries.end(), counts);
    if (static_cast<size_t>(usable) >= kMostApps) return Added::Full;
    entries.push_back(Value(bundleIdentifier));
    store(entries);
    return Added::Added;
}

bool PresentingApps::remove(size_t index) {
    if (index >= list().size()) return false;
    Array entries = editable();
    size_t seen = 0;
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        if (!counts(*it)) continue;
        if (seen++ != index) continue;
        entries.erase(it);
        store(entries);
        return true;
    }
    return false;
}

void PresentingApps::restoreDefaults() {
    s_.defaults.removeObjectForKey(prefs::kPresentingApps);
    s_.defaults.synchronize();
}

}  // namespace tidra
