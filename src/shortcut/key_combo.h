// A keyboard shortcut as Tidra stores and shows it: a virtual key code and Carbon modifier bits,
// written "⌃⌥⌘D" in the order the Mac's menus use.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/hot_keys.h"
#include "platform/value.h"

namespace tidra {

struct KeyCombo {
    std::uint32_t keyCode = 0;    // kVK_… of the key's position on an ANSI keyboard
    std::uint32_t modifiers = 0;  // cmdKey, shiftKey, optionKey, controlKey
    bool operator==(const KeyCombo&) const = default;
};

inline constexpr std::uint32_t kEscapeKeyCode = 0x35;

// The key's label ("D", "5", "F1", "Space", "←"); nothing for a key Tidra does not offer.
std::optional<std::string> keyName(std::uint32_t keyCode);
// The key code of a label, letters and names in any case ("d", "F12", "space", "escape").
std::optional<std::uint32_t> keyCodeNamed(const std::string& name);
// "⌃⌥⇧⌘D"; "?" stands for a key without a label.
std::string describe(const KeyCombo& combo);
// AppKit's flags of a key event as Carbon's modifier bits; other flags are dropped.
std::uint32_t carbonModifiers(std::uint64_t modifierFlags);

// The stored form, a dictionary {keyCode: integer, modifiers: integer}.
Value storedForm(const KeyCombo& combo);
// Nothing for anything that is not such a dictionary with a key Tidra offers and modifier bits
// of its own only.
std::optional<KeyCombo> comboFromStored(const Value& stored);

}  // namespace tidra
