// The running system's version and the application framework's version number.
#pragma once

namespace tidra {

struct OperatingSystemVersion {
    int major = 0, minor = 0, patch = 0;
};

// Whether `version` is major.minor or later.
inline bool isAtLeast(OperatingSystemVersion version, int major, int minor = 0) {
    return version.major > major || (version.major == major && version.minor >= minor);
}

class SystemInfo {
  public:
    virtual ~SystemInfo() = default;
    virtual OperatingSystemVersion operatingSystemVersion() = 0;
    virtual double appKitVersionNumber() = 0;
};

}  // namespace tidra
