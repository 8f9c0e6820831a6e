#include "shortcut/key_combo.h"

#include <array>
#include <utility>

#include "text/ascii.h"

namespace tidra {

namespace {

struct NamedKey {
    std::uint32_t code;
    const char* label;  // as shown
    const char* name;   // as typed, besides the label itself
};

// Positions of an ANSI keyboard (Events.h), labelled as the US layout prints them.
constexpr std::array kKeys = {
    NamedKey{0x00, "A", ""},
    NamedKey{0x0B, "B", ""},
    NamedKey{0x08, "C", ""},
    NamedKey{0x02, "D", ""},
    NamedKey{0x0E, "E", ""},
    NamedKey{0x03, "F", ""},
    NamedKey{0x05, "G", ""},
    NamedKey{0x04, "H", ""},
    NamedKey{0x22, "I", ""},
    NamedKey{0x26, "J", ""},
    NamedKey{0x28, "K", ""},
    NamedKey{0x25, "L", ""},
    NamedKey{0x2E, "M", ""},
    NamedKey{0x2D, "N", ""},
    NamedKey{0x1F, "O", ""},
    NamedKey{0x23, "P", ""},
    NamedKey{0x0C, "Q", ""},
    NamedKey{0x0F, "R", ""},
    NamedKey{0x01, "S", ""},
    NamedKey{0x11, "T", ""},
    NamedKey{0x20, "U", ""},
    NamedKey{0x09, "V", ""},
    NamedKey{0x0D, "W", ""},
    NamedKey{0x07, "X", ""},
    NamedKey{0x10, "Y", ""},
    NamedKey{0x06, "Z", ""},
    NamedKey{0x1D, "0", ""},
    NamedKey{0x12, "1", ""},
    NamedKey{0x13, "2", ""},
    NamedKey{0x14, "3", ""},
    NamedKey{0x15, "4", ""},
    NamedKey{0x17, "5", ""},
    NamedKey{0x16, "6", ""},
    NamedKey{0x1A, "7", ""},
    NamedKey{0x1C, "8", ""},
    NamedKey{0x19, "9", ""},
    NamedKey{0x7A, "F1", ""},
    NamedKey{0x78, "F2", ""},
    NamedKey{0x63, "F3", ""},
    NamedKey{0x76, "F4", ""},
    NamedKey{0x60, "F5", ""},
    NamedKey{0x61, "F6", ""},
    NamedKey{0x62, "F7", ""},
    NamedKey{0x64, "F8", ""},
    NamedKey{0x65, "F9", ""},
    NamedKey{0x6D, "F10", ""},
    NamedKey{0x67, "F11", ""},
    NamedKey{0x6F, "F12", ""},
    NamedKey{0x31, "Space", ""},
    NamedKey{0x24, "↩", "return"},
    NamedKey{0x30, "⇥", "tab"},
    NamedKey{0x33, "⌫", "delete"},
    NamedKey{0x75, "⌦", "forward-delete"},
    NamedKey{0x7B, "←", "left"},
    NamedKey{0x7C, "→", "right"},
    NamedKey{0x7D, "↓", "down"},
    NamedKey{0x7E, "↑", "up"},
    NamedKey{0x73, "↖", "home"},
    NamedKey{0x77, "↘", "end"},
    NamedKey{0x74, "⇞", "page-up"},
    NamedKey{0x79, "⇟", "page-down"},
    NamedKey{0x1B, "-", ""},
    NamedKey{0x18, "=", ""},
    NamedKey{0x21, "[", ""},
    NamedKey{0x1E, "]", ""},
    NamedKey{0x2A, "\\", ""},
    NamedKey{0x29, ";", ""},
    NamedKey{0x27, "'", ""},
    NamedKey{0x2B, ",", ""},
    NamedKey{0x2F, ".", ""},
    NamedKey{0x2C, "/", ""},
    NamedKey{0x32, "`", ""},
};

constexpr std::uint32_t kAllModifiers = kCmdKey | kShiftKey | kOptionKey | kControlKey;

}  // namespace

std::optional<std::string> keyName(std::uint32_t keyCode) {
    for (const NamedKey& k : kKeys)
        if (k.code == keyCode) return std::string(k.label);
    return std::nullopt;
}

std::optional<std::uint32_t> keyCodeNamed(const std::string& name) {
    const std::string wanted = asciiLower(name);
    if (wanted == "escape" || wanted == "esc") return kEscapeKeyCode;
    for (const NamedKey& k : kKeys)
        if (asciiLower(k.label) == wanted || (*k.name && wanted == k.name)) return k.code;
    return std::nullopt;
}

std::string describe(const KeyCombo& combo) {
    std::string out;
    if (combo.modifiers & kControlKey) out += "⌃";
    if (combo.modifiers & kOptionKey) out += "⌥";
    if (combo.modifiers & kShiftKey) out += "⇧";
    if (combo.modifiers & kCmdKey) out += "⌘";
    return out + keyName(combo.keyCode).value_or("?");
}

std::uint32_t carbonModifiers(std::uint64_t flags) {
    std::uint32_t out = 0;
    if (flags & kEventModifierFlagCommand) out |= kCmdKey;
    if (flags & kEventModifierFlagShift) out |= kShiftKey;
    if (flags & kEventModifierFlagOption) out |= kOptionKey;
    if (flags & kEventModifierFlagControl) out |= kControlKey;
    return out;
}

Value storedForm(const KeyCombo& combo) {
    return Value(Dictionary{{Value("keyCode"), Value(combo.keyCode)},
                            {Value("modifiers"), Value(combo.modifiers)}});
}

std::optional<KeyCombo> comboFromStored(const Value& stored) {
    if (!stored.isDictionary()) return std::nullopt;
    const Value code = stored[Value("keyCode")], modifiers = stored[Value("modifiers")];
    // Whole numbers only: a Boolean or a real would be a hand-made value that means nothing here.
    if (code.kind() != Value::Kind::Integer || modifiers.kind() != Value::Kind::Integer)
        return std::nullopt;
    // Checked before narrowing: a huge number would otherwise wrap round to a real key.
    if (code.intValue() < 0 || code.intValue() > 0xFFFF || modifiers.intValue() < 0 ||
        modifiers.intValue() > kAllModifiers)
        return std::nullopt;
    KeyCombo combo{static_cast<std::uint32_t>(code.intValue()),
                   static_cast<std::uint32_t>(modifiers.intValue())};
    if ((combo.modifiers & ~kAllModifiers) != 0 || !keyName(combo.keyCode)) return std::nullopt;
    return combo;
}

}  // namespace tidra
