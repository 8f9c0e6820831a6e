// System-wide keyboard shortcuts (Carbon's RegisterEventHotKey), which need no Accessibility
// permission, and the key presses a shortcut recorder hands over.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "platform/events.h"
#include "platform/views.h"

namespace tidra {

// Carbon's modifier bits (Events.h), the form RegisterEventHotKey takes.
inline constexpr std::uint32_t kCmdKey = 1u << 8;
inline constexpr std::uint32_t kShiftKey = 1u << 9;
inline constexpr std::uint32_t kOptionKey = 1u << 11;
inline constexpr std::uint32_t kControlKey = 1u << 12;

// AppKit's modifier flags (kEventModifierFlag…) are the events'.

// OSStatus values of RegisterEventHotKey.
inline constexpr int kNoErr = 0;
inline constexpr int kEventHotKeyExistsErr = -9878;

// One registered hot key; destroying it unregisters it (UnregisterEventHotKey).
class HotKey {
  public:
    virtual ~HotKey() = default;
};

class HotKeys {
  public:
    virtual ~HotKeys() = default;
    // Registers the combination for this process alone (exclusive), so that a combination
    // another application holds is refused with kEventHotKeyExistsErr. `pressed` runs on the
    // main thread at each press. Nothing, with the OSStatus in `status`, when refused.
    virtual std::unique_ptr<HotKey> registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                                   std::function<void()> pressed, int& status) = 0;
};

// A key typed into a shortcut recorder: the virtual key code (kVK_…) and the event's flags.
struct KeyPress {
    std::uint32_t keyCode = 0;
    std::uint64_t modifierFlags = 0;
};

// A view that takes the key combinations typed while its window is key and sends its action to
// its target for each; the sender is the view, which answers the combination.
class ShortcutRecorderView : public View {
  public:
    virtual std::optional<KeyPress> lastKeyPress() const = 0;
};

}  // namespace tidra
