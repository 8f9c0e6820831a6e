#include "frontend/shortcut_commands.h"

#include <sstream>

#include "frontend/frontend.h"
#include "prefs/keys.h"
#include "shortcut/key_combo.h"
#include "sim/interface/shortcut_recorder.h"
#include "text/ascii.h"

namespace tidra::sim {

namespace {

constexpr const char* kComboUsage =
    "COMBO is modifiers and a key joined by +, as ctrl+option+cmd+D (cmd, ctrl, option, shift; "
    "a letter, a digit, F1-F12, space or escape)";

// "ctrl+option+cmd+D" as the key event it stands for.
KeyPress parseCombo(Frontend& f, const std::string& text) {
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

SimShortcutRecorder* openRecorder(Mac& mac) {
    for (SimWindow* w : mac.windows().onScreen()) {
        if (w->nibName() != "ShortcutWindow") continue;
        for (View* v : viewsIn(w->contentView()))
            if (auto* recorder = dynamic_cast<SimShortcutRecorder*>(v)) return recorder;
    }
    return nullptr;
}

}  // namespace

std::string shortcutText(Mac& mac) {
    if (!mac.tidraRunning()) return "";
    const auto held = mac.hotKeys().heldBy(mac.tidraPid());
    return held.empty() ? "" : describe(KeyCombo{held.front().first, held.front().second});
}

std::string storedShortcutText(Mac& mac) {
    const auto combo =
        comboFromStored(mac.prefs().domainSnapshot(prefs::kAppDomain)[Value(prefs::kHotKey)]);
    return combo ? describe(*combo) : "";
}

std::string shortcutSummary(Mac& mac) {
    const std::string held = shortcutText(mac), stored = storedShortcutText(mac);
    if (!held.empty()) return held;
    if (stored.empty() || !mac.tidraRunning()) return "";
    return "none in use (" + stored + " is stored but not registered; the log says why)";
}

void addShortcutCommands(Frontend& f) {
    Mac& mac = f.mac();
    f.add("key", "key COMBO (pressed anywhere)", [&f, &mac](const CommandLine& cl) {
        if (cl.words.size() != 2) f.usageError();
        const KeyPress press = parseCombo(f, cl.words[1]);
        const KeyCombo combo{press.keyCode, carbonModifiers(press.modifierFlags)};
        if (mac.hotKeys().press(combo.keyCode, combo.modifiers) == 0)
            f.out() << "no application holds " << describe(combo) << "\n";
    });
    f.add("shortcut", "shortcut record COMBO | shortcut clear", [&f, &mac](const CommandLine& cl) {
        const auto& w = cl.words;
        if (w.size() < 2 || (w[1] == "record" ? w.size() != 3 : w[1] != "clear" || w.size() != 2))
            f.usageError();
        SimShortcutRecorder* recorder = openRecorder(mac);
        if (!recorder)
            throw CommandError{
                "the Keyboard Shortcut window is not open (`menu Keyboard Shortcut...`)"};
        if (w[1] == "record") {
            const KeyPress press = parseCombo(f, w[2]);
            mac.intoTidra([&] { recorder->type(press); });
            return;
        }
        auto* window = recorder->superview();
        while (window && window->superview()) window = window->superview();
        SimButton* clear = buttonWithAction(window, "clearShortcut:");
        if (!clear) throw CommandError{"the Keyboard Shortcut window has no Clear button"};
        mac.intoTidra([&] { clear->performClick(); });
    });
    f.add("hotkey", "hotkey taken COMBO (another application holds it)",
          [&f, &mac](const CommandLine& cl) {
              if (cl.words.size() != 3 || cl.words[1] != "taken") f.usageError();
              const KeyPress press = parseCombo(f, cl.words[2]);
              mac.hotKeys().takeByOtherApplication(press.keyCode,
                                                   carbonModifiers(press.modifierFlags));
          });
    f.add("open-url", "open-url URL (as `open URL` in a shell)", [&f, &mac](const CommandLine& cl) {
        if (cl.words.size() != 2) f.usageError();
        if (auto refused = mac.openURLFromOutside(cl.words[1])) throw CommandError{*refused};
    });
    f.addStatus([&mac](nlohmann::json& s) {
        const std::string text = shortcutText(mac), stored = storedShortcutText(mac);
        s["shortcut"] = text.empty() ? nlohmann::json() : nlohmann::json(text);
        s["storedShortcut"] = stored.empty() ? nlohmann::json() : nlohmann::json(stored);
    });
}

}  // namespace tidra::sim
