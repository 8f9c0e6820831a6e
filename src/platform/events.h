// Mouse and key events as the application receives them (NSEvent), and monitors that see them
// first.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "platform/geometry.h"

namespace tidra {

enum class EventType {
    LeftMouseDown = 1,
    LeftMouseUp = 2,
    RightMouseDown = 3,
    RightMouseUp = 4,
    KeyDown = 10
};

// AppKit's modifier flags (NSEventModifierFlags), as events carry them.
inline constexpr std::uint64_t kEventModifierFlagShift = 1ull << 17;
inline constexpr std::uint64_t kEventModifierFlagControl = 1ull << 18;
inline constexpr std::uint64_t kEventModifierFlagOption = 1ull << 19;
inline constexpr std::uint64_t kEventModifierFlagCommand = 1ull << 20;

struct Event {
    EventType type = EventType::LeftMouseUp;
    std::uint64_t modifierFlags = 0;
    // Where the mouse was, in screen coordinates (the main screen's bottom-left corner is 0, 0).
    Point locationOnScreen{};
    // A key event's virtual key code (kVK_…).
    std::uint16_t keyCode = 0;
};

// NSEventMaskFromType.
constexpr unsigned eventMask(EventType type) {
    return 1u << static_cast<unsigned>(type);
}

// What an event monitor answers: the event to dispatch on, or nothing to swallow it.
using EventMonitorHandler = std::function<std::optional<Event>(const Event&)>;

}  // namespace tidra
