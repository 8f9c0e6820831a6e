// Service Management's login items on the simulated Mac (macOS 13 and later). The system keeps
// whether Tidra is registered and whether the user allows it (System Settings › General › Login
// Items); both stay on the disk with the Mac. From macOS 26 a service that is not registered reads
// as not found. The first registration ever is announced by the
// system with its own "Background item added" notification, as a real Mac does.
#pragma once

#include <functional>

#include "platform/app_service.h"
#include "sim/preferences.h"
#include "sim/system_info.h"
#include "sim/user_notifications.h"

namespace tidra::sim {

// Where the simulated system keeps its background items.
inline constexpr const char* kBackgroundItemsDomain = "com.apple.backgroundtaskmanagement";

class SimAppService : public AppService {
  public:
    SimAppService(SimPreferences& prefs, SimUserNotificationCenter& notifications,
                  const SimSystemInfo& system)
        : prefs_(prefs), notifications_(notifications), system_(system) {}

    AppServiceStatus status() override;
    bool registerService(ErrorOut error) override;
    bool unregisterService(ErrorOut error) override;
    void openSystemSettingsLoginItems() override { ++settingsOpened_; }

    // The user's switch for Tidra under System Settings › General › Login Items.
    void setAllowed(bool allowed);
    // The system losing track of Tidra's service (a damaged background-items database): the
    // status says not found and every change fails until it is repaired.
    void setLost(bool lost);
    // How often Tidra opened System Settings at Login Items.
    int settingsOpened() const { return settingsOpened_; }

  private:
    bool flag(const char* key, bool absent);
    void setFlag(const char* key, bool value);
    void fail(ErrorOut error, long code, const char* text);

    SimPreferences& prefs_;
    SimUserNotificationCenter& notifications_;
    const SimSystemInfo& system_;
    int settingsOpened_ = 0;
};

}  // namespace tidra::sim
