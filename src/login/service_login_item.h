// Launch at login from macOS 13: the system's Service Management keeps Tidra's entry, so no
// System Events script (and no automation prompt) is needed. A System Events entry left from an
// older system is taken away once, when the user next changes the setting: reaching System Events
// at launch could prompt the user unasked, and until then the old entry still starts Tidra, so
// the setting keeps showing it as on.
#pragma once

#include <optional>

#include "login/login_items.h"
#include "platform/app_service.h"
#include "platform/console.h"
#include "platform/defaults.h"

namespace tidra {

class ServiceLoginItem {
  public:
    enum class Outcome {
        Done,
        // The user switched Tidra off in System Settings; only the user can switch it back.
        NeedsApproval,
        // The system refused; `lastError` says why.
        Failed,
        // System Events could not take the old entry away; nothing else was changed.
        OldItemStays,
    };

    ServiceLoginItem(AppService& service, LoginItems& oldItems, UserDefaults& defaults,
                     Console& console)
        : service_(service), oldItems_(oldItems), defaults_(defaults), console_(console) {}

    // At launch: notes whether an entry from an older system may still stand.
    void takeStock();
    // Whether Tidra starts at login: the service is enabled, or the old entry still stands.
    bool launches();
    Outcome change(bool wanted);
    const std::optional<Error>& lastError() const { return lastError_; }
    std::optional<long> oldItemErrorNumber() const { return oldItems_.lastErrorNumber(); }

  private:
    bool oldItemPending();
    Outcome enable();
    Outcome disable();

    AppService& service_;
    LoginItems& oldItems_;
    UserDefaults& defaults_;
    Console& console_;
    std::optional<Error> lastError_;
};

}  // namespace tidra
