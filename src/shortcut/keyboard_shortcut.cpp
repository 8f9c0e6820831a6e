#include "shortcut/keyboard_shortcut.h"

#include "prefs/keys.h"
#include "text/log_text.h"

namespace tidra {

namespace {
constexpr const char* kRegisterFailure = "Could not register the keyboard shortcut ";
}  // namespace

std::optional<std::string> KeyboardShortcut::refusal(const KeyCombo& combo) {
    const auto name = keyName(combo.keyCode);
    if (!name) return "That key cannot be part of a shortcut.";
    if (combo.modifiers & (kCmdKey | kControlKey)) return std::nullopt;
    // The system would take it, but with only ⌥ or ⌥⇧ a key types a character (é, ©, ß): held
    // as a hot key, that character could no longer be typed in any application.
    if (combo.modifiers & kOptionKey)
        return describe(combo) +
               " types a character with only ⌥ or ⌥⇧, which every app would then lose. "
               "Add ⌘ or ⌃.";
    return "A shortcut needs ⌘ or ⌃ with a key.";
}

std::optional<KeyCombo> KeyboardShortcut::current() const {
    if (!registration_) return std::nullopt;
    return registered_;
}

std::string KeyboardShortcut::currentText() const {
    const auto combo = current();
    return combo ? describe(*combo) : "None";
}

std::unique_ptr<HotKey> KeyboardShortcut::registerCombo(const KeyCombo& combo, int& status) {
    status = kNoErr;
    auto made = s_.hotKeys.registerHotKey(combo.keyCode, combo.modifiers, pressed_, status);
    if (!made) s_.console.log(registrationFailure(combo, status));
    return made;
}

std::string KeyboardShortcut::registrationFailure(const KeyCombo& combo, int status) {
    return kRegisterFailure + describe(combo) +
           (status == kEventHotKeyExistsErr ? ": another application holds it"
                                            : ": error " + std::to_string(status));
}

void KeyboardShortcut::registerStored() {
    const Value value = s_.defaults.objectForKey(prefs::kHotKey);
    if (value.isNil()) return;
    const auto combo = comboFromStored(value);
    if (!combo || refusal(*combo)) {
        s_.console.log(
            "The stored keyboard shortcut (hotKey) is no key combination Tidra can "
            "use; it stays stored but unused: " +
            loggableText(value.description()));
        unused_ = "The stored shortcut" + (combo ? " " + describe(*combo) : std::string()) +
                  " is not in use: " + (combo ? *refusal(*combo) : "it is no key combination.");
        return;
    }
    int status = kNoErr;
    registration_ = registerCombo(*combo, status);
    if (registration_) {
        registered_ = combo;
        return;
    }
    unused_ = "The stored shortcut " + describe(*combo) + " is not in use: " +
              (status == kEventHotKeyExistsErr
                   ? "another application holds it."
                   : "the system refused it (error " + std::to_string(status) + ").");
}

KeyboardShortcut::Outcome KeyboardShortcut::record(const KeyPress& press) {
    if (press.keyCode == kEscapeKeyCode) return Outcome{true, ""};
    const KeyCombo combo{press.keyCode, carbonModifiers(press.modifierFlags)};
    if (auto why = refusal(combo)) return Outcome{false, *why};
    if (registration_ && registered_ == combo) return Outcome{};
    int status = kNoErr;
    auto made = registerCombo(combo, status);
    if (!made) {
        const std::string kept = currentText();
        return Outcome{false, (status == kEventHotKeyExistsErr
                                   ? describe(combo) + " is used by another application"
                                   : describe(combo) + " could not be registered (error " +
                                         std::to_string(status) + ")") +
                                  "; the shortcut stays " + kept + "."};
    }
    // The new one first: the old one goes only once its successor is in place.
    registration_ = std::move(made);
    registered_ = combo;
    unused_.clear();
    s_.defaults.setObject(storedForm(combo), prefs::kHotKey);
    if (!s_.defaults.synchronize()) {
        s_.console.log("Could not store the keyboard shortcut " + describe(combo));
        return Outcome{false, describe(combo) +
                                  " works now but could not be saved: it is gone after Tidra "
                                  "quits."};
    }
    return Outcome{};
}

void KeyboardShortcut::clear() {
    registration_.reset();
    registered_.reset();
    unused_.clear();
    s_.defaults.removeObjectForKey(prefs::kHotKey);
    s_.defaults.synchronize();
}

}  // namespace tidra
