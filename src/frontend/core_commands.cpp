// The front end's general commands: state, console, time, Tidra's own life.
#include "frontend/core_commands.h"

#include <cstdlib>

#include "frontend/desktop_commands.h"
#include "frontend/frontend.h"

namespace tidra::sim {

namespace {

// Said once here and in docs/commands.md; the picture itself stays terse.
constexpr const char* kPictureMarks =
    "Marks in the picture:\n"
    "  [*] [#] [ ]   Tidra's status item: icons shown, icons shown with the dark theme, clean\n"
    "  [Name]        a desktop icon, or a Finder window\n"
    "  ✓  Title >    a checked menu item; an item that opens a submenu\n"
    "  <Title>       a button\n"
    "  [x] [ ]       an alert's checkbox, ticked or not\n"
    "  [fails]       a screen whose picture cannot be set (`screen fail`)\n"
    "  +- ...        a box: a window, popover, panel or alert; its last line names the\n"
    "                command that closes or answers it\n";

double parseSeconds(const std::string& s, bool& ok) {
    char* end = nullptr;
    double d = std::strtod(s.c_str(), &end);
    ok = !s.empty() && end && *end == '\0' && d >= 0 && d < 1e7;
    return d;
}

void addStateCommands(Frontend& f) {
    f.add("help", "help", [&f](const CommandLine&) {
        f.out() << "Commands (`#` starts a comment; a title or path may end a line unquoted):\n";
        for (const auto& usage : f.usages()) f.out() << "  " << usage << "\n";
        f.out() << kPictureMarks;
    });
    f.add("status", "status [--json]", [&f](const CommandLine& cl) {
        if (cl.words.size() == 1) {
            f.out() << f.statusText();
        } else if (cl.words.size() == 2 && cl.words[1] == "--json") {
            // Names and values may hold bytes that are not UTF-8: each such byte shows as U+FFFD.
            f.rawOut() << terminalSafeJson(f.statusJson().dump(
                              -1, ' ', false, nlohmann::json::error_handler_t::replace))
                       << "\n";
        } else {
            f.usageError();
        }
    });
    f.add("log", "log", [&f](const CommandLine& cl) {
        if (cl.words.size() != 1) f.usageError();
        for (const auto& line : f.mac().console().takeNew()) f.out() << line << "\n";
    });
}

void addTimeCommands(Frontend& f) {
    f.add("wait", "wait SECONDS", [&f](const CommandLine& cl) {
        bool ok = false;
        double s = cl.words.size() == 2 ? parseSeconds(cl.words[1], ok) : 0;
        if (!ok)
            f.usageError(
                "SECONDS must be a number of seconds from 0 up to 10000000 (about 115 "
                "days), such as 3 or 0.5");
        f.wait(s);
    });
    f.add("exit", "exit", [&f](const CommandLine& cl) {
        if (cl.words.size() != 1) f.usageError();
        f.requestExit();
    });
}

void addLifeCommands(Frontend& f) {
    Mac& mac = f.mac();
    f.add("quit", "quit", [&f, &mac](const CommandLine& cl) {
        if (cl.words.size() != 1) f.usageError();
        if (!mac.tidraRunning()) throw CommandError{"Tidra is not running"};
        // As the user quits: the status menu's own item, so a menu that lost it shows here; its
        // title is the one shown in the user's language.
        const std::string title = mac.bundle().localizedString("Quit Tidra", "", "MainMenu");
        chooseInStatusMenu(f, title);
        if (mac.tidraRunning())
            throw CommandError{"Tidra is still running: \"" + title + "\" did not end it"};
    });
    f.add("launch", "launch", [&f, &mac](const CommandLine& cl) {
        if (cl.words.size() != 1) f.usageError();
        if (mac.tidraRunning()) throw CommandError{"Tidra is already running"};
        if (!mac.launchTidra()) throw CommandError{"Tidra did not start: " + mac.launchError()};
    });
}

}  // namespace

void addCoreCommands(Frontend& f) {
    addStateCommands(f);
    addTimeCommands(f);
    addLifeCommands(f);
}

}  // namespace tidra::sim
