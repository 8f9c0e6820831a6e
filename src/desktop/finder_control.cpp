#include "desktop/finder_control.h"

#include "prefs/keys.h"

namespace tidra {

void FinderControl::restartFinder() {
    auto running =
        workspace_.runningApplicationsWithBundleIdentifier(prefs::kFinderBundleIdentifier);
    if (running.empty() || !running.front()) return;
    // Only the first: a second listed Finder is a leftover the system sorts out itself.
    running.front()->terminate();
}

void FinderControl::relaunchFinder() {
    workspace_.launchAppWithBundleIdentifier(prefs::kFinderBundleIdentifier, kWorkspaceLaunchAsync);
}

bool FinderControl::isAboutFinder(const Notification* note) {
    if (!note || !note->userInfo.isDictionary()) return false;
    if (!note->userInfo.isStringKeyedDictionary()) return false;
    Value identifier = note->userInfo[Value(kApplicationBundleIdentifierKey)];
    return identifier.isString() && identifier.string() == prefs::kFinderBundleIdentifier;
}

}  // namespace tidra
