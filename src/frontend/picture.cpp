// The picture of the simulated Mac that the interactive front end draws after each command: the
// menu bar with Tidra's item, the desktop, the screens and whatever is open, one line each.
#include <functional>
#include <sstream>

#include "frontend/frontend.h"
#include "frontend/shortcut_commands.h"
#include "frontend/status_lines.h"
#include "frontend/wallpaper_commands.h"
#include "frontend/window_commands.h"

namespace tidra::sim {

std::string Frontend::picture() {
    std::ostringstream o;
    auto item = mac_.statusItem();
    std::string icon = "   ";
    if (item && item->image()) {
        const std::string& n = item->image()->name();
        icon = n == "statusIconClean" ? "[ ]" : n == "statusIconDirtyDark" ? "[#]" : "[*]";
    }
    // The item shows its icon; its title only when no icon could be shown.
    std::string face = !item ? "" : item->image() ? icon : item->title();
    o << "+-- menu bar " << std::string(face.size() < 43 ? 43 - face.size() : 1, '-') << " " << face
      << " --+\n";
    auto finders = mac_.finder().instances();
    if (finders.empty()) {
        o << "|  Finder is not running\n";
    } else {
        const auto& f = finders.front();
        if (!f.ready)
            o << "|  Finder is starting...\n";
        else if (!f.drawsDesktop)
            o << "|  desktop: clean\n";
        else {
            o << "|  desktop:";
            for (const auto& i : f.desktopIcons) o << " [" << i << "]";
            o << "\n";
        }
        if (!f.windows.empty()) {
            o << "|  Finder windows:";
            for (const auto& w : f.windows) o << " [" << w << "]";
            o << "\n";
        }
    }
    if (item && item->openMenu()) {
        std::function<void(const SimMenu&, int)> draw = [&](const SimMenu& m, int depth) {
            for (const auto& e : m.entries) {
                o << "|    " << std::string(depth * 4, ' ');
                if (e->isSeparator()) {
                    o << "-----\n";
                    continue;
                }
                o << (e->state() == kControlStateOn ? "✓ " : "  ") << e->title()
                  << (e->submenu() ? " >" : "") << "\n";
                if (e->submenu()) draw(*e->submenu(), depth + 1);
            }
        };
        o << "|  menu:\n";
        draw(*item->openMenu(), 0);
    }
    o << drawScreens(mac_);
    if (mac_.tidraRunning())
        o << "|  wallpaper when clean: " << replacementChoice(mac_, true) << "\n";
    std::string names;
    for (const auto& item : mac_.systemEvents().loginItems())
        names += (names.empty() ? "" : ", ") + item.name;
    o << "|  login items: " << (names.empty() ? "none" : names) << "\n";
    if (const std::string shortcut = shortcutText(mac_); !shortcut.empty())
        o << "|  shortcut: " << shortcut << "\n";
    for (const auto& line : notificationLines(mac_)) o << "|  notification: " << line << "\n";
    o << drawPopoverAndWindows(mac_);
    // A modal alert or the password dialog waits for its answer: show what it asks.
    for (const SimAlert* alert : mac_.alerts().open()) {
        o << "|  +- alert: " << alert->messageText() << "\n";
        if (!alert->informativeText().empty()) o << "|  | " << alert->informativeText() << "\n";
        o << "|  |";
        for (const auto& b : alert->buttons()) o << " <" << b->title() << ">";
        if (alert->buttons().empty()) o << " <OK>";
        o << "\n";
        if (alert->showsSuppressionButton())
            o << "|  | [" << (alert->suppression().state() ? "x" : " ") << "] "
              << alert->suppression().title() << "\n";
        o << "|  +- answer with `alert BUTTON-TITLE [--suppress]`\n";
    }
    if (mac_.simAuthorization().passwordDialogOpen())
        o << "|  +- password: " << mac_.simAuthorization().passwordDialogText()
          << "\n|  +- answer with `password ok|cancel`\n";
    if (!mac_.tidraRunning()) o << "|  Tidra is not running (`launch`)\n";
    return o.str();
}

}  // namespace tidra::sim
