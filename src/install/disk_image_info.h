// Reading the output of "hdiutil info -plist": which mounted disk image a device belongs to.
#pragma once

#include <optional>
#include <string>

#include "platform/value.h"

namespace tidra {

// `device` when some image's system entities list it as their "dev-entry"; nothing when it is not
// there or when the output is not laid out as hdiutil lays it out (any value of an unexpected
// kind ends the search).
std::optional<std::string> diskImageDeviceIn(const Value& hdiutilInfo, const std::string& device);

}  // namespace tidra
