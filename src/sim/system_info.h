// The simulated Mac's system version, chosen when the Mac is made and raised by system updates.
#pragma once

#include <optional>
#include <string>

#include "platform/system_info.h"

namespace tidra::sim {

// The application framework's version number that a system version reports at run time: the
// platform's published NSAppKitVersionNumber constants up to 14.1 (minor versions included), then
// the numbers the frameworks of 15, 26 and 27 report.
double appKitVersionFor(OperatingSystemVersion version);

// The versions a simulated Mac can run: "10.0" to "10.15", and "11" to "15", "26" and "27" with an
// optional minor version ("14", "14.2"). Nothing for anything else.
std::optional<OperatingSystemVersion> parseSystemVersion(const std::string& text);
// What parseSystemVersion takes, for a refusal.
inline constexpr const char* kSystemVersionsTaken =
    "10.0 to 10.15, or 11, 12, 13, 14, 15, 26 or 27 with an optional minor version from 0 to 9 "
    "(14.2)";
// Why `text` is no version, for a refusal: what exists, and for 16 to 25 that macOS went from 15
// straight to 26.
std::string systemVersionRefusal(const std::string& text);
// "10.15", "14", "14.2": the form parseSystemVersion reads back.
std::string systemVersionText(OperatingSystemVersion version);

class SimSystemInfo : public SystemInfo {
  public:
    // 10.15 and the application framework that shipped with it.
    SimSystemInfo() = default;
    SimSystemInfo(OperatingSystemVersion version, double appKitVersion)
        : version_(version), appKit_(appKitVersion) {}

    OperatingSystemVersion operatingSystemVersion() override { return version_; }
    OperatingSystemVersion version() const { return version_; }
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
