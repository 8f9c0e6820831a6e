// The picture of the simulated Mac that the interactive front end draws after each command: the
// menu bar with Tidra's item, the desktop, the screens and whatever is open, one line each.
#include <sstream>

#include "frontend/frontend.h"
#include "frontend/shortcut_commands.h"
#include "frontend/status_lines.h"
#include "frontend/wallpaper_commands.h"
#include "frontend/window_commands.h"

namespace tidra::sim {

namespace {

// The top line: Tidra's status item as it shows in the menu bar.
std::string drawMenuBar(Mac& mac) {
    auto item = mac.statusItem();
    // The system draws no item of an application the user keeps out of the menu bar.
    if (item && !item->isShownInMenuBar()) item = nullptr;
    std::string icon = "   ";
    if (item && item->image()) {
        const std::string& n = item->image()->name();
        icon = n == "statusIconClean" ? "[ ]" : n == "statusIconDirtyDark" ? "[#]" : "[*]";
    }
    // The item shows its icon; its title only when no icon could be shown.
    std::string face = !item ? "" : item->image() ? icon : item->title();
    return "+-- menu bar " + std::string(face.size() < 43 ? 43 - face.size() : 1, '-') + " " +
           face + " --+\n";
}

// The desktop as Finder draws it, and Finder's windows.
std::string drawFinder(Mac& mac) {
    std::ostringstream o;
    auto finders = mac.finder().instances();
    if (finders.empty()) return "|  Finder is not running\n";
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
    return o.str();
}

void drawMenu(std::ostream& o, const SimMenu& m, int depth) {
    for (const auto& e : m.entries) {
        o << "|    " << std::string(depth * 4, ' ');
        if (e->isSeparator()) {
            o << "-----\n";
            continue;
        }
        o << (e->state() == kControlStateOn ? "✓ " : "  ") << e->title()
          << (e->keyEquivalentText().empty() ? "" : "   " + e->keyEquivalentText())
          << (e->submenu() ? " >" : "") << "\n";
        if (e->submenu()) drawMenu(o, *e->submenu(), depth + 1);
    }
}

// A modal alert or the password dialog waits for its answer: what it asks.
std::string drawModals(Mac& mac) {
    std::ostringstream o;
    for (const SimAlert* alert : mac.alerts().open()) {
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
    if (const auto prompt = mac.automationConsent().prompt()) {
        o << "|  +- automation: " << *prompt << "\n";
        if (const std::string why = mac.automationConsent().promptPurpose(); !why.empty())
            o << "|  | " << why << "\n";
        o << "|  | <Don’t Allow> <OK>\n|  +- answer with `system-events consent allow|deny`\n";
    }
    if (mac.simAuthorization().passwordDialogOpen())
        o << "|  +- password: " << mac.simAuthorization().passwordDialogText()
          << "\n|  +- answer with `password ok|cancel`\n";
    return o.str();
}

}  // namespace

std::string Frontend::picture() {
    std::ostringstream o;
    o << drawMenuBar(mac_) << drawFinder(mac_);
    auto item = mac_.statusItem();
    if (item && item->openMenu()) {
        o << "|  menu:\n";
        drawMenu(o, *item->openMenu(), 0);
    }
    o << drawScreens(mac_);
    if (mac_.tidraRunning())
        o << "|  wallpaper when clean: " << replacementChoice(mac_, true) << "\n";
    std::string names;
    for (const auto& login : mac_.systemEvents().loginItems())
        names += (names.empty() ? "" : ", ") + login.name;
    o << "|  login items: " << (names.empty() ? "none" : names) << "\n";
    if (const std::string shortcut = shortcutSummary(mac_); !shortcut.empty())
        o << "|  shortcut: " << shortcut << "\n";
    for (const auto& line : notificationLines(mac_)) o << "|  notification: " << line << "\n";
    // In front on a Mac (the mail program, System Settings), whether Tidra runs or not.
    for (const auto& line : openedLines(mac_)) o << "|  opened by Tidra: " << line << "\n";
    o << drawPopoverAndWindows(mac_) << drawModals(mac_);
    if (!mac_.tidraRunning()) o << "|  Tidra is not running (`launch`)\n";
    return o.str();
}

}  // namespace tidra::sim
