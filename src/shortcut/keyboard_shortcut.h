// Tidra's keyboard shortcut: the combination stored under `hotKey`, registered system-wide at
// launch and whenever it changes, and what the recorder window may change it to.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/bundle.h"
#include "platform/console.h"
#include "platform/defaults.h"
#include "platform/hot_keys.h"
#include "shortcut/key_combo.h"

namespace tidra {

class KeyboardShortcut {
  public:
    struct Services {
        UserDefaults& defaults;
        HotKeys& hotKeys;
        Bundle& bundle;  // the texts the recorder shows, in the user's language
        Console& console;
    };
    // `pressed` runs at each press of the registered combination.
    KeyboardShortcut(Services services, std::function<void()> pressed)
        : s_(services), pressed_(std::move(pressed)) {}

    // At launch: registers the stored combination. One that is no usable shortcut, or that
    // another application holds, is logged and left stored as it is.
    void registerStored();
    // What a typed combination did, for the recorder to show.
    struct Outcome {
        bool cancelled = false;  // Escape: nothing changes
        std::string message;     // empty when the combination was taken
    };
    Outcome record(const KeyPress& press);
    void clear();
    // Before quitting: the system would drop it too, but not before the process has gone.
    void unregister() { registration_.reset(); }

    // The combination in force: the one registered with the system, if any.
    std::optional<KeyCombo> current() const;
    bool isRegistered() const { return registration_ != nullptr; }
    // "⌃⌥⌘D", or "None".
    std::string currentText() const;
    // Why the stored combination is not in force, when it is stored but could not be
    // registered at launch; empty otherwise.
    const std::string& unusedReason() const { return unused_; }

    // Why a combination cannot be a shortcut, or nothing when it can.
    std::optional<std::string> refusal(const KeyCombo& combo);
    std::string text(const char* english, const char* comment) const;
    // A combination as the user reads it, in the user's language.
    std::string shown(const KeyCombo& combo) const;

  private:
    std::unique_ptr<HotKey> registerCombo(const KeyCombo& combo, int& status);
    static std::string registrationFailure(const KeyCombo& combo, int status);

    Services s_;
    std::function<void()> pressed_;
    std::unique_ptr<HotKey> registration_;
    std::optional<KeyCombo> registered_;
    std::string unused_;
};

}  // namespace tidra
