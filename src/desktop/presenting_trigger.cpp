#include "desktop/presenting_trigger.h"

#include <algorithm>

#include "prefs/keys.h"
#include "text/ascii.h"
#include "text/log_text.h"

namespace tidra {

const std::vector<std::string>& PresentingTrigger::defaultPresentingApps() {
    static const std::vector<std::string> apps = {"com.apple.iWork.Keynote",
                                                  "com.microsoft.Powerpoint", "us.zoom.xos",
                                                  "com.microsoft.teams2", "Cisco-Systems.Spark"};
    return apps;
}

std::vector<std::string> PresentingTrigger::presentingApps() {
    const Value stored = s_.defaults.objectForKey(prefs::kPresentingApps);
    if (stored.isNil()) return defaultPresentingApps();
    if (!stored.isArray()) {
        // Said once: the check runs at every application's launch.
        if (!reportedBadList_)
            s_.console.log(
                "presentingApps is not a list of bundle identifiers; Tidra uses its "
                "own list: " +
                loggableText(stored.description()));
        reportedBadList_ = true;
        return defaultPresentingApps();
    }
    std::vector<std::string> apps;
    for (const Value& entry : stored.array())
        if (entry.isString() && !entry.string().empty()) apps.push_back(entry.string());
    return apps;
}

bool PresentingTrigger::isPresentingApp(const std::string& bundleIdentifier) {
    if (bundleIdentifier.empty()) return false;
    // Launch Services matches bundle identifiers without regard to case.
    const std::string wanted = asciiLower(bundleIdentifier);
    const auto apps = presentingApps();
    return std::any_of(apps.begin(), apps.end(),
                       [&](const std::string& app) { return asciiLower(app) == wanted; });
}

bool PresentingTrigger::anyPresentingAppRunning() {
    for (const auto& app : s_.workspace.runningApplications())
        if (app && isPresentingApp(app->bundleIdentifier())) return true;
    return false;
}

bool PresentingTrigger::hiddenByTrigger() {
    return s_.defaults.boolForKey(prefs::kHiddenWhilePresenting);
}

void PresentingTrigger::setHiddenByTrigger(bool hidden) {
    if (hidden)
        s_.defaults.setBool(true, prefs::kHiddenWhilePresenting);
    else
        s_.defaults.removeObjectForKey(prefs::kHiddenWhilePresenting);
    s_.defaults.synchronize();
}

void PresentingTrigger::hideForPresenting() {
    // Hidden, or headed so: by the user (whose hide this is not to take for its own, nor undo
    // later), or by this trigger already. A show under way is let finish, and the desktop
    // hides once it is done.
    if (target_.headedClean()) return;
    if (target_.cleanDesktop(false)) setHiddenByTrigger(true);
}

void PresentingTrigger::showAfterPresenting() {
    if (!hiddenByTrigger()) return;
    setHiddenByTrigger(false);
    // Still marked means no refresh has seen the desktop shown since Tidra hid it: either it is
    // hidden, or the hide is under way or waits for a show to finish. Either way it is Tidra's
    // to bring back.
    target_.cleanDesktop(true);
}

void PresentingTrigger::applicationLaunched(const std::string& bundleIdentifier) {
    if (!s_.defaults.boolForKey(prefs::kHideWhilePresenting)) return;
    if (isPresentingApp(bundleIdentifier)) hideForPresenting();
}

void PresentingTrigger::applicationTerminated(const std::string& bundleIdentifier) {
    if (!isPresentingApp(bundleIdentifier) || anyPresentingAppRunning()) return;
    showAfterPresenting();
}

void PresentingTrigger::optionChanged(bool on) {
    if (!on) {
        // Turned off: whatever Tidra hid stays hidden, and is no longer Tidra's to show.
        if (hiddenByTrigger()) setHiddenByTrigger(false);
        return;
    }
    if (anyPresentingAppRunning()) hideForPresenting();
}

void PresentingTrigger::desktopRefreshed(bool clean) {
    // Shown on the way to Tidra's own hide (a show was under way when the application started)
    // is not shown by the user.
    if (!clean && !target_.headedClean() && hiddenByTrigger()) setHiddenByTrigger(false);
}

void PresentingTrigger::settleAtLaunch() {
    if (!hiddenByTrigger()) return;
    if (!s_.defaults.boolForKey(prefs::kHideWhilePresenting)) {
        setHiddenByTrigger(false);
        return;
    }
    if (!anyPresentingAppRunning()) showAfterPresenting();
}

}  // namespace tidra
