// Tidra's login item through Service Management (macOS 13 and later). Before 13 there is no such
// service: the logic uses System Events there and never reaches this one, which then answers as
// a service that is not found and refuses every change.
#import <Foundation/Foundation.h>
#import <ServiceManagement/ServiceManagement.h>

#include "mac/services.h"
#include "mac/value_bridge.h"

namespace tidra::mac {

namespace {

void unavailable(ErrorOut error) {
    if (error)
        *error = Error{kAppServiceErrorDomain, kAppServiceErrorInternalFailure,
                       "Login items through Service Management need macOS 13 or later."};
}

class NativeAppService : public AppService {
  public:
    AppServiceStatus status() override {
        if (@available(macOS 13.0, *)) {
            switch (SMAppService.mainAppService.status) {
                case SMAppServiceStatusNotRegistered:
                    return AppServiceStatus::NotRegistered;
                case SMAppServiceStatusEnabled:
                    return AppServiceStatus::Enabled;
                case SMAppServiceStatusRequiresApproval:
                    return AppServiceStatus::RequiresApproval;
                case SMAppServiceStatusNotFound:
                    return AppServiceStatus::NotFound;
            }
        }
        return AppServiceStatus::NotFound;
    }

    bool registerService(ErrorOut error) override {
        if (@available(macOS 13.0, *)) {
            NSError* failure = nil;
            if ([SMAppService.mainAppService registerAndReturnError:&failure]) return true;
            report(error, failure);
            return false;
        }
        unavailable(error);
        return false;
    }

    bool unregisterService(ErrorOut error) override {
        if (@available(macOS 13.0, *)) {
            NSError* failure = nil;
            if ([SMAppService.mainAppService unregisterAndReturnError:&failure]) return true;
            report(error, failure);
            return false;
        }
        unavailable(error);
        return false;
    }

    void openSystemSettingsLoginItems() override {
        if (@available(macOS 13.0, *)) [SMAppService openSystemSettingsLoginItems];
    }
};

}  // namespace

std::unique_ptr<AppService> makeAppService() {
    return std::make_unique<NativeAppService>();
}

}  // namespace tidra::mac
