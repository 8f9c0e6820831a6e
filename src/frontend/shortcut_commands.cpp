#include "frontend/shortcut_commands.h"

#include <sstream>

#include "frontend/frontend.h"
#include "frontend/key_words.h"
#include "prefs/keys.h"
#include "shortcut/key_combo.h"
#include "sim/interface/shortcut_recorder.h"
#include "text/ascii.h"

namespace tidra::sim {

namespace {

// The recorder of an open window, with the window it is in.
std::pair<SimWindow*, SimShortcutRecorder*> openRecorder(Mac& mac) {
    for (SimWindow* w : mac.windows().onScreen())
        for (View* v : shownViewsIn(w->contentView()))
            if (auto* recorder = dynamic_cast<SimShortcutRecorder*>(v)) return {w, recorder};
    return {nullptr, nullptr};
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
        const KeyPress press = parseKeyPress(f, cl.words[1]);
        const KeyCombo combo{press.keyCode, carbonModifiers(press.modifierFlags)};
        if (mac.hotKeys().press(combo.keyCode, combo.modifiers) == 0)
            f.out() << "no application holds " << describe(combo) << "\n";
    });
    f.add("shortcut", "shortcut record COMBO | shortcut clear", [&f, &mac](const CommandLine& cl) {
        const auto& w = cl.words;
        if (w.size() < 2 || (w[1] == "record" ? w.size() != 3 : w[1] != "clear" || w.size() != 2))
            f.usageError();
        auto [window, recorder] = openRecorder(mac);
        if (!recorder)
            throw CommandError{
                "the Settings window is not open (`menu Settings...`; `menu Preferences...` before "
                "macOS 13)"};
        // A click into the field makes its window the key window; the keys then go there.
        window->makeKeyAndOrderFront(nullptr);
        if (w[1] == "record") {
            if (auto refused = mac.typeKey(parseKeyPress(f, w[2]))) throw CommandError{*refused};
            return;
        }
        SimButton* clear = buttonWithAction(window->contentView(), "clearShortcut:");
        if (!clear) throw CommandError{"the Settings window has no Clear button"};
        mac.intoTidra([&] { clear->performClick(); });
    });
    f.add("hotkey", "hotkey taken COMBO (another application holds it)",
          [&f, &mac](const CommandLine& cl) {
              if (cl.words.size() != 3 || cl.words[1] != "taken") f.usageError();
              const KeyPress press = parseKeyPress(f, cl.words[2]);
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
