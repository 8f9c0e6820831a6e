#include "login/launch_at_login.h"

#include "prefs/keys.h"

namespace tidra {

LaunchAtLogin::LaunchAtLogin(Services services)
    : s_(services),
      loginItems_(services.appleScript, services.dispatch, services.mainBundle, services.console),
      serviceLoginItem_(services.appService, loginItems_, services.defaults, services.console) {}

bool LaunchAtLogin::usesLoginService() {
    return s_.system.operatingSystemVersion().isAtLeast(13);
}

bool LaunchAtLogin::isLoginItem() {
    if (usesLoginService()) {
        serviceLoginItem_.takeStock();
        known_ = serviceLoginItem_.launches();
        s_.defaults.setBool(known_, prefs::kLaunchAtLogin);
        s_.defaults.synchronize();
        return known_;
    }
    const auto present = loginItems_.lookUp();
    // A System Events that cannot say is no sign that the entry went: the last known state stays.
    known_ = present.value_or(s_.defaults.boolForKey(prefs::kLaunchAtLogin));
    if (!present) return known_;
    s_.defaults.setBool(*present, prefs::kLaunchAtLogin);
    s_.defaults.synchronize();
    return *present;
}

void LaunchAtLogin::takeStockAtLaunch() {
    // The service's entry follows the bundle wherever it is moved; a System Events one does not.
    if (isLoginItem() && !usesLoginService()) repointStaleLoginItem();
}

void LaunchAtLogin::preferenceChanged(const Value& newValue) {
    if (!newValue.isBoolean() || settling_) return;
    change(newValue.boolValue(), true);
}

void LaunchAtLogin::change(bool wanted, bool byUser) {
    if (usesLoginService()) {
        changeServiceLoginItem(wanted, byUser);
        return;
    }
    if (wanted ? loginItems_.add() : loginItems_.remove()) {
        known_ = wanted;
        s_.notices.succeeded(FailureTopic::LaunchAtLogin);
        return;
    }
    const auto refusal = loginItems_.lastErrorNumber();
    settle();
    if (byUser) s_.notices.launchAtLoginRefused(refusal);
}

void LaunchAtLogin::changeServiceLoginItem(bool wanted, bool byUser) {
    using Outcome = ServiceLoginItem::Outcome;
    const Outcome outcome = serviceLoginItem_.change(wanted);
    // The tick shows what will happen at the next login, whatever was asked.
    settle(serviceLoginItem_.launches());
    if (outcome == Outcome::Done) {
        s_.notices.succeeded(FailureTopic::LaunchAtLogin);
        return;
    }
    if (!byUser) return;
    switch (outcome) {
        case Outcome::NeedsApproval:
            s_.notices.launchAtLoginNeedsApproval();
            s_.appService.openSystemSettingsLoginItems();
            break;
        case Outcome::Failed:
            if (serviceLoginItem_.lastError())
                s_.notices.launchAtLoginServiceFailed(*serviceLoginItem_.lastError());
            break;
        case Outcome::OldItemStays:
            s_.notices.launchAtLoginRefused(serviceLoginItem_.oldItemErrorNumber());
            break;
        case Outcome::Done:
            break;
    }
}

void LaunchAtLogin::followSystem() {
    // Only Service Management answers at no cost; asking System Events could prompt the user.
    if (usesLoginService()) settle(serviceLoginItem_.launches());
}

bool LaunchAtLogin::needsApproval() {
    return usesLoginService() && s_.appService.status() == AppServiceStatus::RequiresApproval;
}

void LaunchAtLogin::openLoginItemsSettings() {
    if (usesLoginService()) s_.appService.openSystemSettingsLoginItems();
}

void LaunchAtLogin::settle() {
    settle(loginItems_.lookUp().value_or(known_));
}

void LaunchAtLogin::settle(bool present) {
    known_ = present;
    if (s_.defaults.boolForKey(prefs::kLaunchAtLogin) == present) return;
    // This write reaches the preference's observer, which must not try again: a system that
    // keeps refusing would otherwise be asked to add and remove for ever.
    settling_ = true;
    s_.defaults.setBool(present, prefs::kLaunchAtLogin);
    s_.defaults.synchronize();
    settling_ = false;
}

void LaunchAtLogin::repointStaleLoginItem() {
    const auto path = loginItems_.itemPath();
    // An entry that opens another copy still in place is the user's choice.
    if (!path || path->empty() || s_.fileManager.fileExistsAtPath(*path)) return;
    change(true, false);
}

}  // namespace tidra
