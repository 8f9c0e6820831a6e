#include "sim/system_info.h"

#include <iterator>

namespace tidra::sim {

double appKitVersionFor(OperatingSystemVersion version) {
    // NSAppKitVersionNumber10_0 ... NSAppKitVersionNumber10_15, by minor version.
    static constexpr double kTen[] = {577,  620,  663,  743,  824,  949,  1038, 1138,
                                      1187, 1265, 1343, 1404, 1504, 1561, 1671, 1894};
    constexpr double kEleven = 2022;  // NSAppKitVersionNumber11_0
    if (version.major < 10) return kTen[0];
    if (version.major == 10) {
        const int last = int(std::size(kTen)) - 1;
        return kTen[version.minor < 0 ? 0 : version.minor > last ? last : version.minor];
    }
    // Later systems only raise the number, and nothing Tidra reads tells them apart.
    return kEleven;
}

}  // namespace tidra::sim
