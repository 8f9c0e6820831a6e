#include "desktop/presenting_trigger.h"

#include <algorithm>

#include "prefs/keys.h"

namespace tidra {

bool PresentingTrigger::isPresentingApp(const std::string& bundleIdentifier) {
    return apps_.contains(bundleIdentifier);
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

void PresentingTrigger::listChanged() {
    if (!s_.defaults.boolForKey(prefs::kHideWhilePresenting)) return;
    if (anyPresentingAppRunning())
        hideForPresenting();
    else
        showAfterPresenting();
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
