// The simulated Mac's system version, chosen when the Mac is made.
#pragma once

#include "platform/system_info.h"

namespace tidra::sim {

// The application framework's version number that shipped with a system version: the platform's
// published NSAppKitVersionNumber constants (10.0 to 10.15, and 11.0 for every later system).
double appKitVersionFor(OperatingSystemVersion version);

class SimSystemInfo : public SystemInfo {
  public:
    // 10.15 and the application framework that shipped with it.
    SimSystemInfo() = default;
    SimSystemInfo(OperatingSystemVersion version, double appKitVersion)
        : version_(version), appKit_(appKitVersion) {}

    OperatingSystemVersion operatingSystemVersion() override { return version_; }
    double appKitVersionNumber() override { return appKit_; }
    // Sets the framework's version number along with it.
    void setOperatingSystemVersion(OperatingSystemVersion version) {
        version_ = version;
        appKit_ = appKitVersionFor(version);
    }
    void setAppKitVersionNumber(double number) { appKit_ = number; }

  private:
    OperatingSystemVersion version_{10, 15, 0};
    double appKit_ = 1894;
};

}  // namespace tidra::sim
