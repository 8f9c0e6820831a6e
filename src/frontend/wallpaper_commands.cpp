#include "frontend/wallpaper_commands.h"

#include <sstream>

#include "frontend/folder_commands.h"
#include "frontend/frontend.h"
#include "platform/paths.h"
#include "sim/formats/value_json.h"

namespace tidra::sim {

using nlohmann::json;

namespace {

std::uint32_t displayNumber(Frontend& f, const std::string& word) {
    try {
        size_t used = 0;
        unsigned long n = std::stoul(word, &used);
        if (used == word.size() && n <= 0xffffffffUL) return static_cast<std::uint32_t>(n);
    } catch (const std::exception&) {
    }
    f.usageError("not a display number: " + word);
}

json screensJson(Mac& mac) {
    json list = json::array();
    for (const auto& s : mac.simScreens().snapshot())
        list.push_back({{"number", s.number ? json(*s.number) : json(nullptr)},
                        {"name", s.name},
                        {"wallpaper", s.wallpaper},
                        {"options", valueToJson(s.options)},
                        {"fails", s.failing}});
    return list;
}

json panelJson(Mac& mac) {
    auto panel = mac.openPanels().front();
    if (!panel) return nullptr;
    OpenPanelSettings s = panel->settings();
    return {{"prompt", s.prompt},
            {"title", s.title},
            {"message", s.message},
            {"allowedFileTypes", s.allowedFileTypes},
            {"directory", s.directory ? json(*s.directory) : json(nullptr)},
            {"level", s.level},
            {"canChooseFiles", s.canChooseFiles},
            {"resolvesAliases", s.resolvesAliases},
            {"showing", mac.openPanels().showing()}};
}

json notificationsJson(Mac& mac) {
    json list = json::array();
    for (const auto& d : mac.simUserNotifications().delivered())
        list.push_back({{"identifier", d.notification.identifier},
                        {"title", d.notification.title},
                        {"text", d.notification.informativeText},
                        {"hasActionButton", d.notification.hasActionButton},
                        {"hasReplyButton", d.notification.hasReplyButton},
                        {"presented", d.presented}});
    return list;
}

}  // namespace

void addWallpaperCommands(Frontend& f) {
    Mac& mac = f.mac();
    f.add("display", "display add [NAME] | display remove NUMBER",
          [&f, &mac](const CommandLine& cl) {
              if (cl.words.size() >= 2 && cl.words[1] == "add") {
                  auto screen = mac.simScreens().addScreen(cl.words.size() > 2 ? titleFrom(cl, 2)
                                                                               : std::string());
                  f.out() << "display " << screen->number().value_or(0)
                          << " connected: " << screen->name() << "\n";
                  return;
              }
              if (cl.words.size() != 3 || cl.words[1] != "remove") f.usageError();
              if (!mac.simScreens().removeScreen(displayNumber(f, cl.words[2])))
                  throw CommandError{"no display numbered " + cl.words[2]};
          });
    f.add("screen", "screen fail NUMBER on|off", [&f, &mac](const CommandLine& cl) {
        if (cl.words.size() != 4 || cl.words[1] != "fail") f.usageError();
        const bool failing = f.onOff(cl.words[3]);
        if (!mac.simScreens().setFailing(displayNumber(f, cl.words[2]), failing))
            throw CommandError{"no display numbered " + cl.words[2]};
    });
    f.add("wallpaper", "wallpaper set NUMBER PATH", [&f, &mac](const CommandLine& cl) {
        if (cl.words.size() < 4 || cl.words[1] != "set") f.usageError();
        if (auto error =
                mac.simScreens().setPictureByHand(displayNumber(f, cl.words[2]), titleFrom(cl, 3)))
            throw CommandError{*error};
    });
    f.add("panel", "panel choose NAME-OR-PATH | panel cancel", [&f, &mac](const CommandLine& cl) {
        std::optional<std::string> error;
        if (cl.words.size() >= 3 && cl.words[1] == "choose") {
            error = mac.openPanels().choose(typedMacPath(mac, titleFrom(cl, 2)));
        } else if (cl.words.size() == 2 && cl.words[1] == "cancel") {
            error = mac.openPanels().cancel();
        } else {
            f.usageError();
        }
        if (error) throw CommandError{*error};
    });
    f.addStatus([&mac](json& s) {
        s["screens"] = screensJson(mac);
        s["panel"] = panelJson(mac);
        s["notifications"] = notificationsJson(mac);
    });
}

std::string drawScreens(Mac& mac) {
    std::ostringstream o;
    for (const auto& s : mac.simScreens().snapshot()) {
        o << "|  screen " << (s.number ? std::to_string(*s.number) : "-") << " (" << s.name
          << "): " << (s.wallpaper.empty() ? "(no picture)" : paths::lastPathComponent(s.wallpaper))
          << (s.failing ? "  [fails]" : "") << "\n";
    }
    if (auto panel = mac.openPanels().front()) {
        OpenPanelSettings p = panel->settings();
        o << "|  +- " << p.title << "\n|  | " << p.message << "\n|  | in " << currentFolder(mac)
          << "  <Cancel> <" << p.prompt << ">\n|  +- `ls`, `panel choose NAME`, `panel cancel`\n";
    }
    return o.str();
}

}  // namespace tidra::sim
