#include "frontend/wallpaper_commands.h"

#include <algorithm>
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

// `display add [NAME] [--serial S]`: the name may be given unquoted when no serial follows.
void addArguments(Frontend& f, const CommandLine& cl, std::string& name, std::string& serial) {
    auto flag = std::find(cl.words.begin() + 2, cl.words.end(), "--serial");
    if (flag == cl.words.end()) {
        if (cl.words.size() > 2) name = titleFrom(cl, 2);
        return;
    }
    if (flag + 2 != cl.words.end() || flag[1].empty()) f.usageError("--serial takes one serial");
    serial = flag[1];
    for (auto it = cl.words.begin() + 2; it != flag; ++it) name += (name.empty() ? "" : " ") + *it;
}

json screensJson(Mac& mac) {
    json list = json::array();
    for (const auto& s : mac.simScreens().snapshot())
        list.push_back({{"number", s.number ? json(*s.number) : json(nullptr)},
                        {"name", s.name},
                        {"serial", s.serial.empty() ? json(nullptr) : json(s.serial)},
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
                        {"presented", d.presented},
                        {"bannerShown", d.bannerShown}});
    return list;
}

// The displays and what their pictures do.
void addScreenCommands(Frontend& f) {
    Mac& mac = f.mac();
    f.add(
        "display", "display add [NAME] [--serial S] | display remove NUMBER",
        [&f, &mac](const CommandLine& cl) {
            if (cl.words.size() >= 2 && cl.words[1] == "add") {
                std::string name, serial;
                addArguments(f, cl, name, serial);
                auto screen = mac.simScreens().addScreen(name, true, serial);
                if (!screen)
                    throw CommandError{"a display with serial " + serial + " is connected already"};
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
        const std::uint32_t number = displayNumber(f, cl.words[2]);
        if (auto error = mac.simScreens().setPictureByHand(number, titleFrom(cl, 3)))
            throw CommandError{*error};
        // Said, so that nobody takes the switch for a refusal of the user's own choice.
        for (const auto& info : mac.simScreens().snapshot())
            if (info.number == number && info.failing)
                f.out() << "screen " << number << " now shows " << info.wallpaper
                        << "; its `screen fail` switch refuses only Tidra's changes\n";
    });
}

// Tidra's support folder and the open panel that chooses a picture for it.
void addImportCommands(Frontend& f) {
    Mac& mac = f.mac();
    // `full on`: copies into Tidra's support folder stop half way for want of room, leaving
    // what they wrote; `writable off`: the folder refuses every change.
    f.add("support-folder", "support-folder full|writable on|off",
          [&f, &mac](const CommandLine& cl) {
              if (cl.words.size() != 3 || (cl.words[1] != "full" && cl.words[1] != "writable"))
                  f.usageError();
              const bool on = f.onOff(cl.words[2]);
              const std::string folder = mac.disk().home() + "/Library/Application Support/Tidra";
              if (cl.words[1] == "full") {
                  mac.simFileManager().setCopiesFailing(folder, on);
              } else {
                  mac.simFileManager().setReadOnly(folder, !on);
              }
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
}

}  // namespace

void addWallpaperCommands(Frontend& f) {
    addScreenCommands(f);
    addImportCommands(f);
    Mac& mac = f.mac();
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
