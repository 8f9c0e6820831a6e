#include "sim/app_service.h"

namespace tidra::sim {

namespace {
constexpr const char* kRegisteredKey = "registered";
constexpr const char* kAllowedKey = "allowed";
constexpr const char* kAnnouncedKey = "announced";
constexpr const char* kLostKey = "lost";
}  // namespace

bool SimAppService::flag(const char* key, bool absent) {
    const Value value = prefs_.domainSnapshot(kBackgroundItemsDomain)[Value(key)];
    return value.isBoolean() ? value.boolValue() : absent;
}

void SimAppService::setFlag(const char* key, bool value) {
    prefs_.writeFromOutside(kBackgroundItemsDomain, key, Value(value));
    prefs_.flushAll();
}

void SimAppService::fail(ErrorOut error, long code, const char* text) {
    if (error) *error = Error{kAppServiceErrorDomain, code, text};
}

AppServiceStatus SimAppService::status() {
    if (flag(kLostKey, false)) return AppServiceStatus::NotFound;
    if (!flag(kRegisteredKey, false))
        return system_.version().isAtLeast(26) ? AppServiceStatus::NotFound
                                               : AppServiceStatus::NotRegistered;
    return flag(kAllowedKey, true) ? AppServiceStatus::Enabled : AppServiceStatus::RequiresApproval;
}

bool SimAppService::registerService(ErrorOut error) {
    if (flag(kLostKey, false)) {
        fail(error, kAppServiceErrorPlistNotFound, "Can't find the service.");
        return false;
    }
    // The user's switch wins: the item is kept, but it stays off until the user allows it.
    if (!flag(kAllowedKey, true)) {
        setFlag(kRegisteredKey, true);
        fail(error, kAppServiceErrorDeniedByUser, "Operation not permitted");
        return false;
    }
    setFlag(kRegisteredKey, true);
    if (!flag(kAnnouncedKey, false)) {
        setFlag(kAnnouncedKey, true);
        notifications_.deliverFromSystem(
            {"Background item added",
             "\"Tidra\" added items that can run in the background. You can manage this in "
             "Login Items Settings.",
             false, false, "com.apple.btm.backgroundItemAdded"});
    }
    return true;
}

bool SimAppService::unregisterService(ErrorOut error) {
    if (flag(kLostKey, false)) {
        fail(error, kAppServiceErrorPlistNotFound, "Can't find the service.");
        return false;
    }
    if (!flag(kRegisteredKey, false)) {
        fail(error, kAppServiceErrorJobNotFound, "Operation not permitted");
        return false;
    }
    setFlag(kRegisteredKey, false);
    return true;
}

void SimAppService::setAllowed(bool allowed) {
    setFlag(kAllowedKey, allowed);
}

void SimAppService::setLost(bool lost) {
    setFlag(kLostKey, lost);
}

}  // namespace tidra::sim
