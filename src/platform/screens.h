// Screens (NSScreen) and display reconfiguration (CGDisplayRegisterReconfigurationCallback).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/value.h"

namespace tidra {

class Screen {
  public:
    virtual ~Screen() = default;
    // String keys; "NSScreenNumber" holds the screen's number when it has one.
    virtual Dictionary deviceDescription() const = 0;
};

inline constexpr const char* kScreenNumberKey = "NSScreenNumber";

// Display change summary flags.
inline constexpr std::uint32_t kDisplayBeginConfigurationFlag = 1;
inline constexpr std::uint32_t kDisplayAddFlag = 16;
inline constexpr std::uint32_t kDisplayRemoveFlag = 32;

using DisplayReconfigurationCallback = void (*)(std::uint32_t display, std::uint32_t flags,
                                                void* userInfo);

class Screens {
  public:
    virtual ~Screens() = default;
    // The connected screens in the platform's order; nothing when the list is unavailable.
    virtual std::optional<std::vector<std::shared_ptr<Screen>>> screens() = 0;
    // Callbacks arrive on the main thread, one per changed display.
    virtual void registerReconfigurationCallback(DisplayReconfigurationCallback callback,
                                                 void* userInfo) = 0;
};

}  // namespace tidra
