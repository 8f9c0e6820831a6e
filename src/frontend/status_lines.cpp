#include "frontend/status_lines.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "platform/paths.h"
#include "prefs/keys.h"
#include "sim/interface/views.h"
#include "sim/mac.h"

namespace tidra::sim {

namespace {

constexpr const char* kReplacementAction = "setReplaceWallpaperPreference:";

// The checked item among the ones that choose the replacement, wherever the menu holds them.
std::string checkedReplacementTitle(const SimMenu& menu) {
    for (const auto& e : menu.entries) {
        if (e->isSeparator()) continue;
        if (e->action() == kReplacementAction && e->state() == kControlStateOn) return e->title();
        if (e->submenu()) {
            std::string inside = checkedReplacementTitle(*e->submenu());
            if (!inside.empty()) return inside;
        }
    }
    return "";
}

// "NSWorkspaceDesktopImageScalingKey" reads as "Scaling".
std::string shortOptionName(std::string key) {
    const std::string prefix = "NSWorkspaceDesktopImage", suffix = "Key";
    if (key.rfind(prefix, 0) == 0) key.erase(0, prefix.size());
    if (key.size() > suffix.size() &&
        key.compare(key.size() - suffix.size(), suffix.size(), suffix) == 0)
        key.erase(key.size() - suffix.size());
    return key;
}

}  // namespace

std::string replacementChoice(Mac& mac, bool shortName) {
    Value stored = mac.prefs().domainSnapshot(prefs::kAppDomain)[Value(prefs::kReplaceWallpaper)];
    std::string picture = stored.isString() ? stored.string()
                          : stored.isUrl()  ? stored.description()
                                            : "";
    if (shortName && !picture.empty()) picture = paths::lastPathComponent(picture);
    std::string title;
    if (auto menu = mac.statusMenu()) title = checkedReplacementTitle(*menu);
    if (title.empty()) title = picture.empty() ? "keep each screen's picture" : "picture";
    return picture.empty() ? title : title + " (" + picture + ")";
}

std::string screenLine(const SimScreens::Info& s, bool shortName) {
    std::string picture = s.wallpaper.empty() ? "(no picture)"
                          : shortName         ? paths::lastPathComponent(s.wallpaper)
                                              : s.wallpaper;
    return "screen " + (s.number ? std::to_string(*s.number) : std::string("-")) + " (" + s.name +
           "): " + picture + (s.failing ? "  [fails]" : "");
}

std::string screenOptions(const SimScreens::Info& s) {
    if (!s.options.isDictionary()) return "";
    std::string out;
    for (const auto& [key, value] : s.options.dictionary()) {
        if (!out.empty()) out += ", ";
        out += shortOptionName(key.isString() ? key.string() : key.description()) + " ";
        const bool scalar = !value.isArray() && !value.isDictionary() && !value.isData();
        out += scalar ? value.description() : "(set)";
    }
    return out;
}

std::vector<std::string> loginItemLines(Mac& mac) {
    std::vector<std::string> out;
    for (const auto& item : mac.systemEvents().loginItems())
        out.push_back(item.name + " (" + item.path + ")" + (item.hidden ? ", hidden" : ""));
    return out;
}

std::vector<std::string> notificationLines(Mac& mac) {
    std::vector<std::string> out;
    for (const auto& d : mac.simUserNotifications().delivered()) {
        std::string line = d.notification.title;
        if (!d.notification.informativeText.empty()) line += ": " + d.notification.informativeText;
        out.push_back(line + (d.bannerShown ? " (banner shown)" : ""));
    }
    return out;
}

std::vector<std::string> openedLines(Mac& mac) {
    std::vector<std::pair<std::string, int>> opened;
    for (const auto& url : mac.workspace().openedURLs()) {
        auto same = std::find_if(opened.begin(), opened.end(),
                                 [&url](const auto& entry) { return entry.first == url; });
        if (same == opened.end())
            opened.emplace_back(url, 1);
        else
            ++same->second;
    }
    if (const int times = mac.appService().settingsOpened())
        opened.emplace_back("System Settings › General › Login Items", times);
    std::vector<std::string> out;
    for (const auto& [what, times] : opened)
        out.push_back(what + (times > 1 ? " (" + std::to_string(times) + " times)" : ""));
    return out;
}

std::vector<std::string> runningApplicationLines(Mac& mac) {
    std::vector<std::string> out;
    for (const auto& p : mac.processes().running())
        out.push_back(p.name + " (" + p.bundleIdentifier + "), pid " + std::to_string(p.pid));
    return out;
}

std::string windowHeading(Mac& mac, const SimWindow& w) {
    const auto all = mac.windows().windows();
    size_t index = 0;
    while (index < all.size() && all[index] != &w) ++index;
    std::string heading = "window " + std::to_string(index) + " ";
    heading += w.title().empty() ? "(untitled)" : "\"" + w.title() + "\"";
    heading += ", level " + std::to_string(w.level()) + (w.isKey() ? ", key" : "");
    return heading;
}

std::vector<std::string> textsIn(View* root) {
    std::vector<std::string> out;
    for (View* v : shownViewsIn(root)) {
        if (auto* field = dynamic_cast<TextField*>(v)) {
            if (!field->stringValue().empty()) out.push_back(field->stringValue());
        } else if (auto* list = dynamic_cast<SimListView*>(v)) {
            const auto rows = list->rows();
            const auto selected = list->selectedRow();
            for (size_t i = 0; i < rows.size(); ++i)
                out.push_back((selected && *selected == i ? "> " : "  ") + rows[i].title + " (" +
                              rows[i].detail + ")");
        } else if (auto* image = dynamic_cast<SimImageView*>(v)) {
            if (auto file = image->imageFile()) out.push_back("[picture " + *file + "]");
        } else if (auto* button = dynamic_cast<SimButton*>(v)) {
            const bool on = button->state() == kControlStateOn;
            const std::string dim = button->isEnabled() ? "" : " (dimmed)";
            if (button->kind() == ButtonKind::Switch)
                out.push_back(std::string(on ? "[x] " : "[ ] ") + button->title() + dim);
            else if (button->kind() == ButtonKind::Radio)
                out.push_back(std::string(on ? "(o) " : "( ) ") + button->title() + dim);
            else
                out.push_back("<" + button->title() + ">" + dim);
        }
    }
    return out;
}

std::optional<bool> desktopClean(Mac& mac) {
    for (const auto& f : mac.finder().instances())
        if (f.ready) return !f.drawsDesktop;
    return std::nullopt;
}

}  // namespace tidra::sim
