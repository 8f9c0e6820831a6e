#include "shortcut/keyboard_shortcut.h"

#include "prefs/keys.h"
#include "text/format.h"
#include "text/log_text.h"

namespace tidra {

namespace {
constexpr const char* kRegisterFailure = "Could not register the keyboard shortcut ";
}  // namespace

std::string KeyboardShortcut::text(const char* english, const char* comment) const {
    return localizedString(s_.bundle, english, comment);
}

std::string KeyboardShortcut::shown(const KeyCombo& combo) const {
    std::string out = describe(combo);
    // The one key written as a word; the log keeps it in English.
    constexpr std::string_view kSpace = "Space";
    if (out.size() >= kSpace.size() &&
        out.compare(out.size() - kSpace.size(), kSpace.size(), kSpace) == 0)
        out.replace(out.size() - kSpace.size(), kSpace.size(),
                    text("Space", "The space bar as a keyboard shortcut shows it, as in ⌃⌥Space"));
    return out;
}

std::optional<std::string> KeyboardShortcut::refusal(const KeyCombo& combo) {
    const auto name = keyName(combo.keyCode);
    if (!name)
        return text("That key cannot be part of a shortcut.",
                    "Settings window, shortcut: the key pressed cannot be used");
    if (combo.modifiers & (kCmdKey | kControlKey)) return std::nullopt;
    // The system would take it, but with only ⌥ or ⌥⇧ a key types a character (é, ©, ß): held
    // as a hot key, that character could no longer be typed in any application.
    if (combo.modifiers & kOptionKey)
        return formatText(text("%@ types a character with only ⌥ or ⌥⇧, which every app would "
                               "then lose. Add ⌘ or ⌃.",
                               "Settings window, shortcut: %@ is the combination typed, such as "
                               "⌥A"),
                          {shown(combo)});
    return text("A shortcut needs ⌘ or ⌃ with a key.",
                "Settings window, shortcut: a combination without ⌘ or ⌃");
}

std::optional<KeyCombo> KeyboardShortcut::current() const {
    if (!registration_) return std::nullopt;
    return registered_;
}

std::string KeyboardShortcut::currentText() const {
    const auto combo = current();
    return combo ? shown(*combo)
                 : localizedString(s_.bundle, "None",
                                   "Settings window: the keyboard shortcut field when no "
                                   "shortcut is set");
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
        unused_ = combo ? formatText(text("The stored shortcut %1$@ is not in use: %2$@",
                                          "Settings window, shortcut: %1$@ is the stored "
                                          "shortcut, %2$@ the sentence that tells why it cannot "
                                          "be used"),
                                     {shown(*combo), *refusal(*combo)})
                        : text("The stored shortcut is not in use: it is no key combination.",
                               "Settings window, shortcut: what is stored is no key combination "
                               "at all");
        return;
    }
    int status = kNoErr;
    registration_ = registerCombo(*combo, status);
    if (registration_) {
        registered_ = combo;
        return;
    }
    unused_ = status == kEventHotKeyExistsErr
                  ? formatText(text("The stored shortcut %@ is not in use: another application "
                                    "holds it.",
                                    "Settings window, shortcut: %@ is the stored shortcut"),
                               {shown(*combo)})
                  : formatText(text("The stored shortcut %1$@ is not in use: the system refused "
                                    "it (error %2$@).",
                                    "Settings window, shortcut: %1$@ is the stored shortcut, "
                                    "%2$@ the system's error number"),
                               {shown(*combo), std::to_string(status)});
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
        return Outcome{
            false,
            status == kEventHotKeyExistsErr
                ? formatText(text("%1$@ is used by another application; the shortcut stays %2$@.",
                                  "Settings window, shortcut: %1$@ is the combination typed, "
                                  "%2$@ the shortcut that stays"),
                             {shown(combo), kept})
                : formatText(text("%1$@ could not be registered (error %2$@); the shortcut stays "
                                  "%3$@.",
                                  "Settings window, shortcut: %1$@ is the combination typed, "
                                  "%2$@ the system's error number, %3$@ the shortcut that stays"),
                             {shown(combo), std::to_string(status), kept})};
    }
    // The new one first: the old one goes only once its successor is in place.
    registration_ = std::move(made);
    registered_ = combo;
    unused_.clear();
    s_.defaults.setObject(storedForm(combo), prefs::kHotKey);
    if (!s_.defaults.synchronize()) {
        s_.console.log("Could not store the keyboard shortcut " + describe(combo));
        return Outcome{false, formatText(text("%@ works now but could not be saved: it is gone "
                                              "after Tidra quits.",
                                              "Settings window, shortcut: %@ is the combination "
                                              "typed"),
                                         {shown(combo)})};
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
