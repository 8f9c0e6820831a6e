// The front end's commands for the menu bar, the theme, Finder and other applications.
#include "frontend/desktop_commands.h"

#include "frontend/frontend.h"
#include "frontend/menu_titles.h"

namespace tidra::sim {

namespace {

constexpr const char* kNotRunning = "Tidra is not running; `launch` starts it again";

// A click on Tidra's status item, as the user makes it.
void clickStatusItem(Mac& mac, StatusItemClick click) {
    if (!mac.tidraRunning()) throw CommandError{kNotRunning};
    if (auto refusal = mac.clickStatusItem(click)) throw CommandError{*refusal};
}

SimMenuItem* chosenItem(const SimMenu& menu, const std::string& title) {
    MenuTitleMatch match = findMenuTitle(menu, title);
    if (!match.item) throw CommandError{match.error};
    return match.item;
}

void addStatusItemCommands(Frontend& f) {
    Mac& mac = f.mac();
    f.add("click", "click", [&f, &mac](const CommandLine& cl) {
        if (cl.words.size() != 1) f.usageError();
        clickStatusItem(mac, StatusItemClick::Left);
    });
    f.add("ctrl-click", "ctrl-click (a click with ⌃ held)", [&f, &mac](const CommandLine& cl) {
        if (cl.words.size() != 1) f.usageError();
        clickStatusItem(mac, StatusItemClick::ControlLeft);
    });
    f.add("right-click", "right-click", [&f, &mac](const CommandLine& cl) {
        if (cl.words.size() != 1) f.usageError();
        clickStatusItem(mac, StatusItemClick::Right);
    });
    f.add("choose", "choose TITLE (Parent > Child, or the title alone)",
          [&f, &mac](const CommandLine& cl) {
              if (cl.words.size() < 2) f.usageError();
              SimMenu* menu = f.openMenu();
              if (!menu)
                  throw CommandError{"no menu is open; `right-click` first, or use `menu TITLE`"};
              SimMenuItem* item = chosenItem(*menu, titleFrom(cl, 1));
              mac.statusItem()->closeMenu(item);
          });
    f.add("dismiss", "dismiss", [&f, &mac](const CommandLine& cl) {
        if (cl.words.size() != 1) f.usageError();
        if (!f.openMenu()) throw CommandError{"no menu is open"};
        mac.statusItem()->closeMenu(nullptr);
    });
    f.add("menu", "menu TITLE (right-click, then choose)", [&f](const CommandLine& cl) {
        if (cl.words.size() < 2) f.usageError();
        chooseInStatusMenu(f, titleFrom(cl, 1));
    });
    f.add("theme", "theme dark|light", [&f, &mac](const CommandLine& cl) {
        if (cl.words.size() != 2 || (cl.words[1] != "dark" && cl.words[1] != "light"))
            f.usageError();
        mac.setTheme(cl.words[1] == "dark");
    });
}

void addMenuBarCommands(Frontend& f) {
    Mac& mac = f.mac();
    f.add(
        "menu-bar", "menu-bar allow|deny APP (macOS 26 and later)",
        [&f, &mac](const CommandLine& cl) {
            const auto& w = cl.words;
            if (w.size() < 3 || (w[1] != "allow" && w[1] != "deny")) f.usageError();
            if (!mac.system().version().isAtLeast(26))
                throw CommandError{"\"Allow in the Menu Bar\" came with macOS 26; this Mac runs " +
                                   systemVersionText(mac.system().version())};
            std::string app = titleFrom(cl, 2);
            if (app.empty()) f.usageError("APP is an application's name or bundle identifier");
            // The user flips the switch beside the application's name; Tidra is known by it.
            if (app == "Tidra") app = kTidraBundleIdentifier;
            mac.setAllowedInMenuBar(app, w[1] == "allow");
        });
    f.add("open-app", "open-app NAME (open an application as Finder or Spotlight does)",
          [&f, &mac](const CommandLine& cl) {
              if (cl.words.size() < 2) f.usageError();
              if (auto refusal = mac.openApplicationNamed(titleFrom(cl, 1)))
                  throw CommandError{*refusal};
          });
}

void addFinderCommand(Frontend& f) {
    Mac& mac = f.mac();
    f.add("finder",
          "finder quit|crash|spawn | finder refuse on|off | finder domain on|off | "
          "finder launch on|off | finder open WINDOW-TITLE",
          [&f, &mac](const CommandLine& cl) {
              const auto& w = cl.words;
              if (w.size() < 2) f.usageError();
              auto finders = mac.processes().withBundleIdentifier(kFinderBundleId);
              if (w[1] == "quit" && w.size() == 2) {
                  if (finders.empty()) throw CommandError{"Finder is not running"};
                  mac.processes().requestQuit(finders.front().pid);
              } else if (w[1] == "crash" && w.size() == 2) {
                  if (finders.empty()) throw CommandError{"Finder is not running"};
                  mac.processes().end(finders.front().pid, true);
              } else if (w[1] == "spawn" && w.size() == 2) {
                  mac.processes().spawn(kFinderBundleId, "Finder",
                                        "/System/Library/CoreServices/Finder.app");
              } else if (w[1] == "refuse" && w.size() == 3) {
                  mac.finder().setRefusesToQuit(f.onOff(w[2]));
              } else if (w[1] == "launch" && w.size() == 3) {
                  mac.workspace().setLaunchesLost(kFinderBundleId, !f.onOff(w[2]));
              } else if (w[1] == "domain" && w.size() == 3) {
                  mac.prefs().setSuiteAvailable(kFinderBundleId, f.onOff(w[2]));
              } else if (w[1] == "open" && w.size() >= 3) {
                  if (finders.empty()) throw CommandError{"Finder is not running"};
                  mac.finder().openWindow(titleFrom(cl, 2));
              } else {
                  f.usageError();
              }
          });
}

void addAppCommand(Frontend& f) {
    Mac& mac = f.mac();
    f.add("app", "app launch BUNDLE-ID [NAME] | app quit BUNDLE-ID",
          [&f, &mac](const CommandLine& cl) {
              const auto& w = cl.words;
              if (w.size() >= 3 && w[1] == "launch") {
                  if (w[2].empty()) f.usageError("BUNDLE-ID is needed");
                  if (w[2] == kTidraBundleIdentifier)
                      throw CommandError{"use `launch` for Tidra itself"};
                  const std::string name = w.size() > 3 ? titleFrom(cl, 3) : w[2];
                  if (name.find('/') != std::string::npos)
                      f.usageError("NAME is a name, not a path");
                  // As Launch Services does: a running application comes forward, no second
                  // copy starts.
                  if (!mac.processes().withBundleIdentifier(w[2]).empty()) {
                      f.out() << w[2] << " is running already: it comes forward\n";
                      return;
                  }
                  mac.processes().spawn(w[2], name, "/Applications/" + name + ".app");
                  return;
              }
              if (w.size() != 3 || w[1] != "quit") f.usageError();
              auto apps = mac.processes().withBundleIdentifier(w[2]);
              if (apps.empty())
                  throw CommandError{"no running application has the bundle identifier " + w[2]};
              if (w[2] == kTidraBundleIdentifier) throw CommandError{"use `quit` for Tidra itself"};
              mac.processes().end(apps.front().pid, false);
          });
}

}  // namespace

void chooseInStatusMenu(Frontend& f, const std::string& title) {
    Mac& mac = f.mac();
    if (!mac.tidraRunning()) throw CommandError{kNotRunning};
    auto menu = mac.statusMenu();
    if (!menu) throw CommandError{"Tidra has no status menu"};
    chosenItem(*menu, title);  // a wrong title is refused before the menu opens
    const bool chosen =
        f.chooseInMenu(title, [&mac] { clickStatusItem(mac, StatusItemClick::Right); });
    // A status item that lets no click through opens nothing: say so rather than pass silently.
    if (!chosen)
        throw CommandError{"the status menu did not open: \"" + title + "\" was not chosen"};
}

void addDesktopCommands(Frontend& f) {
    addStatusItemCommands(f);
    addMenuBarCommands(f);
    addFinderCommand(f);
    addAppCommand(f);
}

}  // namespace tidra::sim
