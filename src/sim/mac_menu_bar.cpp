// The menu bar as the user meets it: clicks on Tidra's status item, routed as the running system
// routes them, the user's "Allow in the Menu Bar" switch (macOS 26 and later), and opening an
// application that already runs.
#include <filesystem>

#include "sim/case_fold.h"
#include "sim/mac.h"

namespace tidra::sim {

namespace {

// Where the simulated system keeps the applications the user keeps out of the menu bar.
constexpr const char* kMenuBarDomain = "com.apple.controlcenter";
constexpr const char* kDisallowedKey = "DisallowedInMenuBar";

std::vector<Event> eventsOf(StatusItemClick click, Point at) {
    const std::uint64_t flags =
        click == StatusItemClick::ControlLeft ? kEventModifierFlagControl : 0;
    if (click == StatusItemClick::Right)
        return {{EventType::RightMouseDown, flags, at}, {EventType::RightMouseUp, flags, at}};
    return {{EventType::LeftMouseDown, flags, at}, {EventType::LeftMouseUp, flags, at}};
}

bool isUp(EventType type) {
    return type == EventType::LeftMouseUp || type == EventType::RightMouseUp;
}

}  // namespace

std::optional<std::string> Mac::clickStatusItem(StatusItemClick click) {
    auto item = statusItem();
    if (!app_ || !item) return "Tidra has no status item";
    if (!item->isShownInMenuBar())
        return "Tidra's icon is not in the menu bar: the system hides it (System Settings › Menu "
               "Bar › Allow in the Menu Bar; `menu-bar allow Tidra` shows it again)";
    ui_.userInteractedOutsidePopovers();
    auto* button = dynamic_cast<SimStatusBarButton*>(item->button());
    // A click a little inside the icon's corner.
    const Rect frame = button ? button->frameOnScreen() : Rect{};
    const Point at{frame.origin.x + 4, frame.origin.y + 4};
    const bool secondary = click != StatusItemClick::Left;
    for (const Event& sent : eventsOf(click, at)) {
        bool done = false;
        intoTidra([&] {
            if (!app_) {
                done = true;
                return;
            }
            // The application sees its events first; what a monitor swallows goes no further.
            const std::optional<Event> event = app_->passThroughMonitors(sent);
            if (!event) {
                done = true;
                return;
            }
            // An item with a menu attached opens it as the button goes down, sending no action.
            if (Menu* attached = item->menu()) {
                item->popUpStatusItemMenu(attached);
                done = true;
                return;
            }
            // From macOS 27 a status item's button sends its action on left-mouse events only.
            if (!isUp(event->type) || !button || !button->target()) return;
            if (secondary && system_.version().isAtLeast(27)) return;
            const unsigned bit = eventMask(event->type);
            if (!(button->mask() & bit)) return;
            app_->setCurrentEvent(*event);
            struct Clear {
                Mac& mac;
                ~Clear() {
                    if (auto* a = mac.application()) a->setCurrentEvent(std::nullopt);
                }
            } clear{*this};
            button->target()->performAction(button->action(), button);
        });
        if (done || !app_) break;
    }
    return std::nullopt;
}

bool Mac::allowedInMenuBar(const std::string& bundleIdentifier) const {
    // Before macOS 26 every application's items are drawn; the switch came with 26.
    if (!system_.version().isAtLeast(26)) return true;
    const Value denied = prefs_->domainSnapshot(kMenuBarDomain)[Value(kDisallowedKey)];
    if (!denied.isArray()) return true;
    for (const Value& v : denied.array())
        if (v.isString() && v.string() == bundleIdentifier) return false;
    return true;
}

void Mac::setAllowedInMenuBar(const std::string& bundleIdentifier, bool allowed) {
    std::vector<Value> kept;
    const Value denied = prefs_->domainSnapshot(kMenuBarDomain)[Value(kDisallowedKey)];
    if (denied.isArray())
        for (const Value& v : denied.array())
            if (v.isString() && v.string() != bundleIdentifier) kept.push_back(v);
    if (!allowed) kept.emplace_back(bundleIdentifier);
    prefs_->writeFromOutside(kMenuBarDomain, kDisallowedKey, Value(kept));
    prefs_->flushAll();
}

std::optional<std::string> Mac::openApplicationNamed(const std::string& name) {
    const std::string wanted = foldCase(name);
    const bool tidra = wanted == foldCase("Tidra") || wanted == foldCase(kTidraBundleIdentifier);
    if (tidra) {
        if (!app_) return launchTidra() ? std::nullopt : std::optional(launchError_);
        intoTidra([&] { app_->reopen(); });
        return std::nullopt;
    }
    // Another application that runs takes the reopen event in ways that change nothing here.
    for (const auto& p : processes_.running())
        if (foldCase(p.name) == wanted || foldCase(p.bundleIdentifier) == wanted)
            return std::nullopt;
    const std::string path = "/Applications/" + name + ".app";
    std::error_code ec;
    if (name.find('/') != std::string::npos || !std::filesystem::is_directory(disk_.real(path), ec))
        return "there is no application named \"" + name + "\" running or in /Applications";
    processes_.spawn("", name, path);
    return std::nullopt;
}

}  // namespace tidra::sim
