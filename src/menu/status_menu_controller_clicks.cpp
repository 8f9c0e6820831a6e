// The status item's clicks: a plain click toggles the desktop, a secondary click (right click, or
// a click with ⌃ held, as trackpad users make it) opens the menu. From macOS 27 a status item's
// button no longer sends its action for secondary clicks, so there the application's own event
// monitor catches them on the way in.
#include "menu/status_menu_controller.h"

namespace tidra {

namespace {

// The name under which the system keeps the icon's place and whether it is shown.
constexpr const char* kStatusItemAutosaveName = "TidraStatusItem";

bool isSecondaryClick(const Event& event) {
    if (event.type == EventType::RightMouseDown || event.type == EventType::RightMouseUp)
        return true;
    return (event.modifierFlags & kEventModifierFlagControl) != 0;
}

bool contains(const Rect& r, Point p) {
    return p.x >= r.origin.x && p.x < r.origin.x + r.size.width && p.y >= r.origin.y &&
           p.y < r.origin.y + r.size.height;
}

}  // namespace

void StatusMenuController::configureStatusButton() {
    statusItem_->setAutosaveName(kStatusItemAutosaveName);
    StatusBarButton* button = statusItem_->button();
    if (!button) return;
    button->setTarget(this);
    button->setAction("itemClicked:");
    button->sendActionOn(kEventMaskLeftMouseUp | kEventMaskRightMouseUp);
    if (!platform_.system.operatingSystemVersion().isAtLeast(27)) return;
    // Caught as the button goes down, as menus open, and swallowed: the button never sees the
    // click, so it cannot open the menu a second time.
    secondaryClickMonitor_ = platform_.application.addLocalMonitorForEvents(
        eventMask(EventType::RightMouseDown) | eventMask(EventType::LeftMouseDown),
        [this](const Event& event) -> std::optional<Event> {
            StatusBarButton* b = statusItem_->button();
            if (!isSecondaryClick(event) || !b ||
                !contains(b->frameOnScreen(), event.locationOnScreen))
                return event;
            openStatusMenu();
            return std::nullopt;
        });
}

void StatusMenuController::itemClicked(Object*) {
    auto event = platform_.application.currentEvent();
    if (!event) return;
    if (isSecondaryClick(*event)) {
        openStatusMenu();
        return;
    }
    toggleDesktop();
}

void StatusMenuController::openStatusMenu() {
    // One menu at a time: a click that reaches Tidra twice must not open it over itself.
    if (menuOpen_ || !statusMenu_) return;
    menuOpen_ = true;
    struct Closed {
        bool& open;
        ~Closed() { open = false; }
    } closed{menuOpen_};
    launchAtLogin_.followSystem();
    statusItem_->setMenu(statusMenu_);
    StatusBarButton* button = statusItem_->button();
    if (button) {
        // Returns once the menu has closed.
        button->performClick(this);
    } else {
        statusItem_->popUpStatusItemMenu(statusMenu_);
    }
    // Detached again so that the next click reaches the action instead of opening the menu.
    statusItem_->setMenu(nullptr);
    if ((button = statusItem_->button())) {
        button->setTarget(this);
        button->setAction("itemClicked:");
    }
}

void StatusMenuController::applicationReopened() {
    // The Settings window reads the login state afresh, and says where the icon went when the
    // menu bar hides it.
    settingsWindow_->showWindow(this);
}

}  // namespace tidra
