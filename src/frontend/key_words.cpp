#include "frontend/key_words.h"

#include <sstream>

#include "frontend/frontend.h"
#include "shortcut/key_combo.h"
#include "text/ascii.h"

namespace tidra::sim {

namespace {

constexpr const char* kComboUsage =
    "COMBO is modifiers and a key joined by +, as ctrl+option+cmd+D (cmd, ctrl, option, shift; "
    "a letter, a digit, F1-F12, space or escape)";

}  // namespace

KeyPress parseKeyPress(Frontend& f, const std::string& text) {
    KeyPress press;
    std::optional<std::uint32_t> key;
    std::istringstream parts(text);
    std::string part;
    while (std::getline(parts, part, '+')) {
        const std::string word = asciiLower(part);
        if (word == "cmd" || word == "command") {
            press.modifierFlags |= kEventModifierFlagCommand;
        } else if (word == "ctrl" || word == "control") {
            press.modifierFlags |= kEventModifierFlagControl;
        } else if (word == "option" || word == "opt" || word == "alt") {
            press.modifierFlags |= kEventModifierFlagOption;
        } else if (word == "shift") {
            press.modifierFlags |= kEventModifierFlagShift;
        } else if (auto code = keyCodeNamed(part); code && !key) {
            key = code;
        } else {
            f.usageError(kComboUsage);
        }
    }
    if (!key || text.empty() || text.back() == '+') f.usageError(kComboUsage);
    press.keyCode = *key;
    return press;
}

}  // namespace tidra::sim
