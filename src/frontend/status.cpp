// What the front end shows of the simulated Mac: `status`, `status --json` and the picture.
#include <sstream>

#include "frontend/frontend.h"
#include "frontend/wallpaper_commands.h"
#include "frontend/window_commands.h"
#include "menu/status_menu_controller.h"
#include "sim/authorization.h"
#include "sim/formats/value_json.h"
#include "sim/interface/alert.h"

namespace tidra::sim {

using nlohmann::json;

namespace {

json menuJson(const SimMenu& menu) {
    json items = json::array();
    for (const auto& e : menu.entries) {
        if (e->separator) {
            items.push_back({{"separator", true}});
            continue;
        }
        json item{{"title", e->title()}, {"tag", e->tag()}, {"state", e->state()}};
        if (e->submenu_) item["submenu"] = menuJson(*e->submenu_);
        items.push_back(item);
    }
    return items;
}

}  // namespace

json Frontend::statusJson() {
    json s;
    s["app"] = {{"running", mac_.tidraRunning()},
                {"launches", mac_.tidraLaunches()},
                {"bundlePath", mac_.bundlePath()}};
    s["clock"] = mac_.loop().now();
    json defaults;
    for (const char* domain : {"xq.morv.Tidra", "com.apple.finder", "NSGlobalDomain"})
        defaults[domain] = valueToJson(mac_.prefs().domainSnapshot(domain));
    s["defaults"] = defaults;
    s["log"] = mac_.console().lines();
    StatusMenuController* c = mac_.controller();
    s["clean"] = c ? json(c->clean()) : json(nullptr);
    if (auto item = mac_.statusItem()) {
        s["statusItem"] = {{"image", item->image() ? json(item->image()->name()) : json(nullptr)},
                           {"template", item->image() && item->image()->isTemplate()},
                           {"title", item->title()},
                           {"length", item->length()},
                           {"menuAttached", item->menu() != nullptr},
                           {"menuOpen", item->openMenu() != nullptr}};
    } else {
        s["statusItem"] = nullptr;
    }
    auto menu = mac_.statusMenu();
    s["menu"] = menu ? menuJson(*menu) : json(nullptr);
    json instances = json::array();
    for (const auto& f : mac_.finder().instances())
        instances.push_back({{"pid", f.pid},
                             {"ready", f.ready},
                             {"desktopIcons", f.desktopIcons},
                             {"windows", f.windows}});
    s["finder"] = {{"instances", instances},
                   {"launches", mac_.finder().launches()},
                   {"savedWindows", mac_.finder().savedWindows()},
                   {"refusesToQuit", mac_.finder().refusesToQuit()}};
    json apps = json::array();
    for (const auto& p : mac_.processes().running())
        apps.push_back(
            {{"pid", p.pid}, {"bundleIdentifier", p.bundleIdentifier}, {"name", p.name}});
    s["runningApplications"] = apps;
    s["devMate"] = mac_.devMate().calls();
    s["openedURLs"] = mac_.workspace().openedURLs();
    for (const auto& part : statusParts_) part(s);
    return s;
}

std::string Frontend::statusText() {
    std::ostringstream o;
    StatusMenuController* c = mac_.controller();
    o << "Tidra: " << (mac_.tidraRunning() ? "running" : "not running") << " from "
      << mac_.bundlePath() << " (launches: " << mac_.tidraLaunches() << ")\n";
    o << "Clock: " << mac_.loop().now() << " s\n";
    if (c)
        o << "Desktop: " << (c->clean() ? "clean (icons hidden)" : "cluttered (icons shown)")
          << "\n";
    if (auto item = mac_.statusItem())
        o << "Status item: " << (item->image() ? item->image()->name() : "(no image)")
          << ", title \"" << item->title() << "\"\n";
    for (const auto& f : mac_.finder().instances()) {
        o << "Finder " << f.pid << ": " << (f.ready ? "" : "starting, ");
        o << (f.drawsDesktop ? std::to_string(f.desktopIcons.size()) + " desktop icons"
                             : "no desktop icons");
        o << ", windows:";
        for (const auto& w : f.windows) o << " [" << w << "]";
        o << "\n";
    }
    if (mac_.finder().instances().empty()) o << "Finder: not running\n";
    return o.str();
}

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
                if (e->separator) {
                    o << "-----\n";
                    continue;
                }
                o << (e->state() == kControlStateOn ? "✓ " : "  ") << e->title()
                  << (e->submenu_ ? " >" : "") << "\n";
                if (e->submenu_) draw(*e->submenu_, depth + 1);
            }
        };
        o << "|  menu:\n";
        draw(*item->openMenu(), 0);
    }
    o << drawScreens(mac_);
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
