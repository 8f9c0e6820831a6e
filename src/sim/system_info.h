// The simulated Mac's system version, chosen when the Mac is made.
#pragma once

#include "platform/system_info.h"

namespace tidra::sim {

class SimSystemInfo : public SystemInfo {
  public:
    // 10.15 and the application framework that shipped with it.
    SimSystemInfo() = default;
    SimSystemInfo(OperatingSystemVersion version, double appKitVersion)
        : version_(version), appKit_(appKitVersion) {}

    OperatingSystemVersion operatingSystemVersion() override { return version_; }
    double appKitVersionNumber() override { return appKit_; }
    void setOperatingSystemVersion(OperatingSystemVersion version) { version_ = version; }
    void setAppKitVersionNumber(double number) { appKit_ = number; }

  private:
    OperatingSystemVersion version_{10, 15, 0};
    double appKit_ = 1894;
};

}  // namespace tidra::sim
