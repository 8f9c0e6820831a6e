#include "login/service_login_item.h"

#include "prefs/keys.h"

namespace tidra {

void ServiceLoginItem::takeStock() {
    if (!defaults_.objectForKey(prefs::kOldLoginItemRemoved).isNil()) return;
    // `launchAtLogin` still holds what System Events last said on the older system: without it
    // there is no old entry to take away.
    if (defaults_.boolForKey(prefs::kLaunchAtLogin)) return;
    defaults_.setBool(true, prefs::kOldLoginItemRemoved);
    defaults_.synchronize();
}

bool ServiceLoginItem::oldItemPending() {
    return defaults_.objectForKey(prefs::kOldLoginItemRemoved).isNil();
}

bool ServiceLoginItem::launches() {
    return oldItemPending() || service_.status() == AppServiceStatus::Enabled;
}

ServiceLoginItem::Outcome ServiceLoginItem::change(bool wanted) {
    lastError_.reset();
    if (oldItemPending()) {
        // Left standing beside the service's entry, it would start Tidra a second time.
        if (!oldItems_.remove()) return Outcome::OldItemStays;
        defaults_.setBool(true, prefs::kOldLoginItemRemoved);
        defaults_.synchronize();
    }
    return wanted ? enable() : disable();
}

ServiceLoginItem::Outcome ServiceLoginItem::enable() {
    const AppServiceStatus before = service_.status();
    if (before == AppServiceStatus::Enabled) return Outcome::Done;
    std::optional<Error> error;
    // Registering again while the user's switch is off changes nothing: only the user can.
    const bool registered =
        before != AppServiceStatus::RequiresApproval && service_.registerService(&error);
    const AppServiceStatus after = service_.status();
    if (after == AppServiceStatus::RequiresApproval ||
        (error && error->code == kAppServiceErrorDeniedByUser)) {
        console_.log("Launch at login waits for the user's approval in Login Items");
        return Outcome::NeedsApproval;
    }
    if (registered && after == AppServiceStatus::Enabled) return Outcome::Done;
    lastError_ =
        error.value_or(Error{kAppServiceErrorDomain, kAppServiceErrorInternalFailure,
                             std::string("The login item is ") + appServiceStatusName(after)});
    console_.log("Error when registering the login item: " + lastError_->description());
    return Outcome::Failed;
}

namespace {
// Nothing that could start Tidra at login: from macOS 26 an application that never registered
// reads as not found, not as not registered.
bool absent(AppServiceStatus status) {
    return status == AppServiceStatus::NotRegistered || status == AppServiceStatus::NotFound;
}
}  // namespace

ServiceLoginItem::Outcome ServiceLoginItem::disable() {
    if (absent(service_.status())) return Outcome::Done;
    std::optional<Error> error;
    if (service_.unregisterService(&error)) return Outcome::Done;
    // Gone already, whatever the error says: what the user asked for holds.
    if (absent(service_.status())) return Outcome::Done;
    lastError_ = error.value_or(Error{kAppServiceErrorDomain, kAppServiceErrorInternalFailure,
                                      "The login item could not be removed."});
    console_.log("Error when unregistering the login item: " + lastError_->description());
    return Outcome::Failed;
}

}  // namespace tidra
