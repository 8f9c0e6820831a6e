#include "platform/app_service.h"

namespace tidra {

const char* appServiceStatusName(AppServiceStatus status) {
    switch (status) {
        case AppServiceStatus::NotRegistered:
            return "notRegistered";
        case AppServiceStatus::Enabled:
            return "enabled";
        case AppServiceStatus::RequiresApproval:
            return "requiresApproval";
        case AppServiceStatus::NotFound:
            return "notFound";
    }
    return "notFound";
}

}  // namespace tidra
