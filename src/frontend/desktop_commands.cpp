// The front end's commands for the menu bar, the theme, Finder and other applications.
#include "frontend/frontend.h"
#include "frontend/menu_titles.h"

namespace tidra::sim {

namespace {
constexpr const char* kNotRunning = "Tidra is not running; `launch` starts it again";
}  // namespace

void Frontend::addDesktopCommands() {
    auto clickWith = [this](EventType type, unsigned maskBit) {
        if (!mac_.tidraRunning()) throw CommandError{kNotRunning};
        auto item = mac_.statusItem();
        if (!item) throw CommandError{"Tidra has no status item"};
        mac_.ui().userInteractedOutsidePopovers();
        auto* button = dynamic_cast<SimStatusBarButton*>(item->button());
        // As AppKit does: an item with a menu attached opens it on any click, sending no action.
        if (Menu* attached = item->menu()) {
            mac_.intoTidra([&] { item->popUpStatusItemMenu(attached); });
            return;
        }
        if (!button || !(button->mask() & maskBit) || !button->target()) return;
        SimApplication* app = mac_.application();
        mac_.intoTidra([&] {
            app->setCurrentEvent(Event{type});
            struct Clear {
                Mac& mac;
                ~Clear() {
                    if (auto* a = mac.application()) a->setCurrentEvent(std::nullopt);
                }
            } clear{mac_};
            button->target()->performAction(button->action(), button);
        });
    };
    add("click", "click", [this, clickWith](const CommandLine& cl) {
        if (cl.words.size() != 1) usageError();
        clickWith(EventType::LeftMouseUp, kEventMaskLeftMouseUp);
    });
    add("right-click", "right-click", [this, clickWith](const CommandLine& cl) {
        if (cl.words.size() != 1) usageError();
        clickWith(EventType::RightMouseUp, kEventMaskRightMouseUp);
    });
    auto chosenItem = [](const SimMenu& menu, const std::string& title) {
        MenuTitleMatch match = findMenuTitle(menu, title);
        if (!match.item) throw CommandError{match.error};
        return match.item;
    };
    add("choose", "choose TITLE (Parent > Child, or the title alone)",
        [this, chosenItem](const CommandLine& cl) {
            if (cl.words.size() < 2) usageError();
            SimMenu* menu = openMenu();
            if (!menu)
                throw CommandError{"no menu is open; `right-click` first, or use `menu TITLE`"};
            SimMenuItem* item = chosenItem(*menu, titleFrom(cl, 1));
            mac_.statusItem()->closeMenu(item);
        });
    add("dismiss", "dismiss", [this](const CommandLine& cl) {
        if (cl.words.size() != 1) usageError();
        if (!openMenu()) throw CommandError{"no menu is open"};
        mac_.statusItem()->closeMenu(nullptr);
    });
    add("menu", "menu TITLE (right-click, then choose)",
        [this, chosenItem, clickWith](const CommandLine& cl) {
            if (cl.words.size() < 2) usageError();
            if (!mac_.tidraRunning()) throw CommandError{kNotRunning};
            auto menu = mac_.statusMenu();
            if (!menu) throw CommandError{"Tidra has no status menu"};
            std::string title = titleFrom(cl, 1);
            chosenItem(*menu, title);  // a wrong title is refused before the menu opens
            pendingChoices_.push_back(title);
            clickWith(EventType::RightMouseUp, kEventMaskRightMouseUp);
            pendingChoices_.clear();
        });
    add("theme", "theme dark|light", [this](const CommandLine& cl) {
        if (cl.words.size() != 2 || (cl.words[1] != "dark" && cl.words[1] != "light")) usageError();
        mac_.setTheme(cl.words[1] == "dark");
    });
    add("finder",
        "finder quit|crash|spawn | finder refuse on|off | finder domain on|off | "
        "finder launch on|off | finder open WINDOW-TITLE",
        [this](const CommandLine& cl) {
            const auto& w = cl.words;
            if (w.size() < 2) usageError();
            auto finders = mac_.processes().withBundleIdentifier(kFinderBundleId);
            if (w[1] == "quit" && w.size() == 2) {
                if (finders.empty()) throw CommandError{"Finder is not running"};
                mac_.processes().requestQuit(finders.front().pid);
            } else if (w[1] == "crash" && w.size() == 2) {
                if (finders.empty()) throw CommandError{"Finder is not running"};
                mac_.processes().end(finders.front().pid, true);
            } else if (w[1] == "spawn" && w.size() == 2) {
                mac_.processes().spawn(kFinderBundleId, "Finder",
                                       "/System/Library/CoreServices/Finder.app");
            } else if (w[1] == "refuse" && w.size() == 3) {
                mac_.finder().setRefusesToQuit(onOff(w[2]));
            } else if (w[1] == "launch" && w.size() == 3) {
                mac_.workspace().setLaunchesLost(kFinderBundleId, !onOff(w[2]));
            } else if (w[1] == "domain" && w.size() == 3) {
                mac_.prefs().setSuiteAvailable(kFinderBundleId, onOff(w[2]));
            } else if (w[1] == "open" && w.size() >= 3) {
                if (finders.empty()) throw CommandError{"Finder is not running"};
                mac_.finder().openWindow(titleFrom(cl, 2));
            } else {
                usageError();
            }
        });
    add("app", "app launch BUNDLE-ID [NAME] | app quit BUNDLE-ID", [this](const CommandLine& cl) {
        const auto& w = cl.words;
        if (w.size() >= 3 && w[1] == "launch") {
            if (w[2].empty()) usageError("BUNDLE-ID is needed");
            if (w[2] == kTidraBundleIdentifier) throw CommandError{"use `launch` for Tidra itself"};
            const std::string name = w.size() > 3 ? titleFrom(cl, 3) : w[2];
            if (name.find('/') != std::string::npos) usageError("NAME is a name, not a path");
            mac_.processes().spawn(w[2], name, "/Applications/" + name + ".app");
            return;
        }
        if (w.size() != 3 || w[1] != "quit") usageError();
        auto apps = mac_.processes().withBundleIdentifier(w[2]);
        if (apps.empty())
            throw CommandError{"no running application has the bundle identifier " + w[2]};
        if (w[2] == kTidraBundleIdentifier) throw CommandError{"use `quit` for Tidra itself"};
        mac_.processes().end(apps.front().pid, false);
    });
}

}  // namespace tidra::sim
