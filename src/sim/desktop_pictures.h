// The desktop picture each system version ships with and shows on a new Mac and on every
// display plugged in for the first time.
#pragma once

#include <string>
#include <vector>

#include "platform/system_info.h"

namespace tidra::sim {

inline constexpr const char* kDesktopPicturesFolder = "/Library/Desktop Pictures";

// The Mac path of the version's default picture, named as that system names it.
std::string defaultDesktopPicture(OperatingSystemVersion version);

// The file names of every version's default picture, oldest first, each once.
std::vector<std::string> defaultDesktopPictureNames();

}  // namespace tidra::sim
