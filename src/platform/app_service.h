// Tidra registered as a login item with the system's Service Management (macOS 13 and later):
// the system, not a script, keeps the entry, and the user switches it in System Settings.
#pragma once

#include "platform/error.h"

namespace tidra {

// SMAppServiceStatus, with its raw values.
enum class AppServiceStatus { NotRegistered = 0, Enabled = 1, RequiresApproval = 2, NotFound = 3 };

// SMAppServiceErrorDomain and the codes Tidra tells apart.
inline constexpr const char* kAppServiceErrorDomain = "SMAppServiceErrorDomain";
inline constexpr long kAppServiceErrorInternalFailure = 2;  // kSMErrorInternalFailure
inline constexpr long kAppServiceErrorJobNotFound = 6;      // kSMErrorJobNotFound
inline constexpr long kAppServiceErrorPlistNotFound = 8;    // kSMErrorJobPlistNotFound
inline constexpr long kAppServiceErrorDeniedByUser = 11;    // kSMErrorLaunchDeniedByUser

// SMAppService.mainAppService. Only to be used on macOS 13 and later.
class AppService {
  public:
    virtual ~AppService() = default;
    virtual AppServiceStatus status() = 0;
    // `register` / `unregister`: false, with `error` filled, when the system refused.
    virtual bool registerService(ErrorOut error) = 0;
    virtual bool unregisterService(ErrorOut error) = 0;
    // Opens System Settings at General › Login Items, where the user allows Tidra.
    virtual void openSystemSettingsLoginItems() = 0;
};

const char* appServiceStatusName(AppServiceStatus status);

}  // namespace tidra
