// The running system's version and the application framework's version number.
#pragma once

namespace tidra {

struct OperatingSystemVersion {
    int major = 0, minor = 0, patch = 0;
};

class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    virtual OperatingSystemVersion operatingSystemVersion() = 0;
    virtual double appKitVersionNumber() = 0;
};

}  // namespace tidra
