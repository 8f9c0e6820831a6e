// What the front end tells of the simulated Mac: `status` and `status --json`.
#include <cstdio>
#include <sstream>

#include "frontend/folder_commands.h"
#include "frontend/frontend.h"
#include "frontend/login_commands.h"
#include "frontend/shortcut_commands.h"
#include "frontend/status_lines.h"
#include "frontend/system_commands.h"
#include "frontend/wallpaper_commands.h"
#include "frontend/window_commands.h"
#include "sim/authorization.h"
#include "sim/formats/value_json.h"
#include "sim/interface/alert.h"

namespace tidra::sim {

using nlohmann::json;

namespace {

// Seconds as a person writes them: "12", "0.5", "10000000", never "1e+07".
std::string clockText(double seconds) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    std::string out = text;
    while (!out.empty() && out.back() == '0') out.pop_back();
    if (!out.empty() && out.back() == '.') out.pop_back();
    return out;
}

json menuJson(const SimMenu& menu) {
    json items = json::array();
    for (const auto& e : menu.entries) {
        if (e->isSeparator()) {
            items.push_back({{"separator", true}});
            continue;
        }
        json item{{"title", e->title()}, {"tag", e->tag()}, {"state", e->state()}};
        if (!e->keyEquivalentText().empty()) item["keyEquivalent"] = e->keyEquivalentText();
        if (e->submenu()) item["submenu"] = menuJson(*e->submenu());
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
    const auto clean = desktopClean(mac_);
    s["clean"] = clean ? json(*clean) : json(nullptr);
    if (auto item = mac_.statusItem()) {
        s["statusItem"] = {{"image", item->image() ? json(item->image()->name()) : json(nullptr)},
                           {"template", item->image() && item->image()->isTemplate()},
                           {"title", item->title()},
                           {"length", item->length()},
                           {"menuAttached", item->menu() != nullptr},
                           {"menuOpen", item->openMenu() != nullptr},
                           {"menuOpenings", item->menuOpenings()},
                           {"autosaveName", item->autosaveName()},
                           {"shownInMenuBar", item->isShownInMenuBar()}};
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
    o << "Tidra: " << (mac_.tidraRunning() ? "running" : "not running") << " from "
      << mac_.bundlePath() << " (launches: " << mac_.tidraLaunches() << ")\n";
    o << "Clock: " << clockText(mac_.loop().now()) << " s\n";
    o << "System: macOS " << systemVersionText(mac_.system().version()) << "\n";
    if (const auto clean = desktopClean(mac_))
        o << "Desktop: " << (*clean ? "clean (icons hidden)" : "cluttered (icons shown)") << "\n";
    if (auto item = mac_.statusItem()) {
        o << "Status item: " << (item->image() ? item->image()->name() : "(no image)")
          << ", title \"" << item->title() << "\"";
        if (!item->isShownInMenuBar())
            o << ", hidden by the system (System Settings › Menu Bar › Allow in the Menu Bar)";
        o << "\n";
    }
    if (const std::string shortcut = shortcutSummary(mac_); !shortcut.empty())
        o << "Keyboard shortcut: " << shortcut << "\n";
    for (const auto& f : mac_.finder().instances()) {
        o << "Finder " << f.pid << ": " << (f.ready ? "" : "starting, ");
        o << (f.drawsDesktop ? std::to_string(f.desktopIcons.size()) + " desktop icons"
                             : "no desktop icons");
        o << ", windows:";
        for (const auto& w : f.windows) o << " [" << w << "]";
        o << "\n";
    }
    if (mac_.finder().instances().empty()) o << "Finder: not running\n";
    for (const auto& screen : mac_.simScreens().snapshot()) {
        std::string line = screenLine(screen, false), options = screenOptions(screen);
        line[0] = 'S';
        o << line << (options.empty() ? "" : " (" + options + ")") << "\n";
    }
    if (mac_.tidraRunning())
        o << "Wallpaper when clean: " << replacementChoice(mac_, false) << "\n";
    auto list = [&o](const std::string& heading, const std::vector<std::string>& lines) {
        o << heading << ":" << (lines.empty() ? " none" : "") << "\n";
        for (const auto& line : lines) o << "  " << line << "\n";
    };
    list("Login items", loginItemLines(mac_));
    o << appServiceStatusText(mac_) << automationStatusText(mac_);
    list("Notifications", notificationLines(mac_));
    // What Tidra opened for the user: the feedback address, a store page, a pane of Settings.
    if (const auto opened = openedLines(mac_); !opened.empty()) list("Opened by Tidra", opened);
    list("Running applications", runningApplicationLines(mac_));
    o << systemStatusText(mac_);
    if (openMenu()) o << "Status menu: open (`choose TITLE`, `dismiss`)\n";
    if (SimPopover* popover = tidraPopover(mac_); popover && popover->isShown())
        list("Popover (`popover close`)", textsIn(popover->contentView()));
    for (SimWindow* w : mac_.windows().onScreen()) {
        std::string heading = windowHeading(mac_, *w);
        heading[0] = 'W';
        list(heading, textsIn(w->contentView()));
    }
    if (auto panel = mac_.openPanels().front())
        o << "Open panel: \"" << panel->settings().title << "\" in " << currentFolder(mac_)
          << " (`ls`, `panel choose NAME`, `panel cancel`)\n";
    for (const SimAlert* alert : mac_.alerts().open())
        o << "Alert: \"" << alert->messageText() << "\" (`alert BUTTON-TITLE`)\n";
    if (const auto prompt = mac_.automationConsent().prompt()) {
        const std::string why = mac_.automationConsent().promptPurpose();
        o << "Automation prompt: " << *prompt << (why.empty() ? "" : " " + why)
          << " [Don’t Allow] [OK] (`system-events consent allow|deny`)\n";
    }
    if (mac_.simAuthorization().passwordDialogOpen())
        o << "Password dialog: " << mac_.simAuthorization().passwordDialogText()
          << " (`password ok|cancel`)\n";
    return o.str();
}

}  // namespace tidra::sim
