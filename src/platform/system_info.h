// The running system's version and the application framework's version number.
#pragma once

namespace tidra {

struct OperatingSystemVersion {
    int major = 0, minor = 0, patch = 0;
    // Whether this is major.minor or later.
    bool isAtLeast(int atLeastMajor, int atLeastMinor = 0) const {
        return major > atLeastMajor || (major == atLeastMajor && minor >= atLeastMinor);
    }
};

class SystemInfo {
  public:
    virtual ~SystemInfo() = default;
    virtual OperatingSystemVersion operatingSystemVersion() = 0;
    virtual double appKitVersionNumber() = 0;
};

}  // namespace tidra
