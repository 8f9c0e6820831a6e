// A picture of the simulated Mac as a person at it sees it, written as a PNG on the host.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sim/mac.h"

namespace tidra::sim {

struct ScreenshotSize {
    int width = 0, height = 0;
    // The size it would have had, when it was scaled down to fit.
    struct Full {
        int width = 0, height = 0;
    };
    std::optional<Full> scaledFrom;
};

// Draws every screen side by side with what is shown on it. Answers the picture's size, or the
// reason the file could not be written (the file that was there, if any, stays as it was).
struct ScreenshotResult {
    std::optional<ScreenshotSize> size;
    std::string error;
    // Desktop pictures that could not be shown, each with the reason.
    std::vector<std::string> unshown = {};
    // Texts of windows and controls cut off by their frame, each with the room it needs.
    std::vector<std::string> cutOff = {};
};
ScreenshotResult writeScreenshot(Mac& mac, const std::string& hostPath);

}  // namespace tidra::sim
