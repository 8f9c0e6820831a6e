// Keys typed into Tidra's windows.
#include "sim/interface/shortcut_recorder.h"
#include "sim/interface/views.h"
#include "sim/mac.h"

namespace tidra::sim {

std::optional<std::string> Mac::typeKey(const KeyPress& press) {
    if (!app_) return "Tidra is not running";
    SimWindow* key = windows_.keyWindow();
    if (!key || !key->isVisible()) return "no window of Tidra's is in front to type into";
    Event event;
    event.type = EventType::KeyDown;
    event.modifierFlags = press.modifierFlags;
    event.keyCode = static_cast<std::uint16_t>(press.keyCode);
    intoTidra([&] {
        if (!app_) return;
        // The application sees its events first; what a monitor swallows goes no further.
        if (!app_->passThroughMonitors(event)) return;
        // The window's first responder: its recorder takes every key while it has one.
        for (View* v : shownViewsIn(key->contentView()))
            if (auto* recorder = dynamic_cast<SimShortcutRecorder*>(v)) {
                recorder->type(press);
                return;
            }
    });
    return std::nullopt;
}

}  // namespace tidra::sim
