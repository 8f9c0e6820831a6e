// A picture of the simulated Mac as a person at it sees it, written as a PNG on the host.
#pragma once

#include <optional>
#include <string>

#include "sim/mac.h"

namespace tidra::sim {

struct ScreenshotSize {
    int width = 0, height = 0;
};

// Draws every screen side by side with what is shown on it. Answers the picture's size, or the
// reason the file could not be written.
struct ScreenshotResult {
    std::optional<ScreenshotSize> size;
    std::string error;
};
ScreenshotResult writeScreenshot(Mac& mac, const std::string& hostPath);

}  // namespace tidra::sim
