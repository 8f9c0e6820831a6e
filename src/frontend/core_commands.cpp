// The front end's general commands: state, console, preference domains, time, Tidra's own life.
#include <cerrno>
#include <cstdlib>
#include <limits>
#include <sstream>

#include "frontend/frontend.h"
#include "menu/status_menu_controller.h"
#include "platform/platform.h"
#include "sim/formats/plist_value.h"

namespace tidra::sim {

namespace {

// As the defaults tool reports a change the preferences daemon could not write.
constexpr const char* kNotStored = "could not store the change on the disk; see `log`";

std::string canonicalDomain(const std::string& d) {
    return d == "-g" ? kGlobalDomain : d;
}

// The defaults tool's rendering of a value.
std::string defaultsText(const Value& v) {
    if (v.kind() == Value::Kind::Boolean) return v.boolValue() ? "1" : "0";
    if (v.isString()) return v.string();
    return v.description();
}

// Said once here and in the README; the picture itself stays terse.
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

// `defaults write -int`: a whole number a property list's integer holds, or a usage error.
// strtoll alone would take "12abc" in part and store the nearest limit for one out of range.
std::int64_t wholeNumber(const std::string& text) {
    const bool digits = !text.empty() &&
                        text.find_first_not_of("0123456789", text[0] == '-' || text[0] == '+') ==
                            std::string::npos &&
                        text.find_first_of("0123456789") != std::string::npos;
    if (!digits) throw CommandError{"-int takes a whole number, not " + text};
    errno = 0;
    char* end = nullptr;
    const long long n = std::strtoll(text.c_str(), &end, 10);
    if (errno == ERANGE || *end != '\0')
        throw CommandError{"-int takes a whole number from " +
                           std::to_string(std::numeric_limits<std::int64_t>::min()) + " to " +
                           std::to_string(std::numeric_limits<std::int64_t>::max()) + ", not " +
                           text};
    return n;
}

double parseSeconds(const std::string& s, bool& ok) {
    char* end = nullptr;
    double d = std::strtod(s.c_str(), &end);
    ok = !s.empty() && end && *end == '\0' && d >= 0 && d < 1e7;
    return d;
}

}  // namespace

void Frontend::wait(double seconds) {
    if (!interactive_) {
        mac_.intoTidra([&] { mac_.wait(seconds); });
        return;
    }
    // One due item at a time, so that a person sees Finder leave and come back.
    RunLoop& loop = mac_.loop();
    const double end = loop.now() + seconds;
    std::string shown = picture();
    // A microsecond's remainder is rounding, not time still to pass.
    for (double left = seconds; left > 1e-6; left = end - loop.now()) {
        const double next = loop.nextDueIn();
        const double step = next >= 0 && next < left ? next : left;
        mac_.intoTidra([&] { mac_.wait(step); });
        std::string now = picture();
        if (now == shown) continue;
        out_ << "\n" << now << std::flush;
        shown = redrawn_ = now;
    }
}

void Frontend::addCoreCommands() {
    add("help", "help", [this](const CommandLine&) {
        out_ << "Commands (`#` starts a comment; a title or path may end a line unquoted):\n";
        for (const auto& [name, c] : commands_) out_ << "  " << c.usage << "\n";
        out_ << kPictureMarks;
    });
    add("status", "status [--json]", [this](const CommandLine& cl) {
        if (cl.words.size() == 1) {
            out_ << statusText();
        } else if (cl.words.size() == 2 && cl.words[1] == "--json") {
            // Names and values may hold bytes that are not UTF-8: each such byte shows as U+FFFD.
            raw_ << terminalSafeJson(
                        statusJson().dump(-1, ' ', false, nlohmann::json::error_handler_t::replace))
                 << "\n";
        } else {
            usageError();
        }
    });
    add("log", "log", [this](const CommandLine& cl) {
        if (cl.words.size() != 1) usageError();
        for (const auto& line : mac_.console().takeNew()) out_ << line << "\n";
    });
    add("wait", "wait SECONDS", [this](const CommandLine& cl) {
        bool ok = false;
        double s = cl.words.size() == 2 ? parseSeconds(cl.words[1], ok) : 0;
        if (!ok) usageError("SECONDS must be a number of seconds");
        wait(s);
    });
    add("exit", "exit", [this](const CommandLine& cl) {
        if (cl.words.size() != 1) usageError();
        exiting_ = true;
    });
    add("quit", "quit", [this](const CommandLine& cl) {
        if (cl.words.size() != 1) usageError();
        if (!mac_.controller()) throw CommandError{"Tidra is not running"};
        // As the user quits: the status menu's own item, so a menu that lost it shows here.
        CommandLine choice;
        choice.words = {"menu", "Quit Tidra"};
        commands_.at("menu").handler(choice);
        if (mac_.tidraRunning())
            throw CommandError{"Tidra is still running: its status menu did not open, or "
                               "\"Quit Tidra\" did not end it"};
    });
    add("launch", "launch", [this](const CommandLine& cl) {
        if (cl.words.size() != 1) usageError();
        if (mac_.tidraRunning()) throw CommandError{"Tidra is already running"};
        if (!mac_.launchTidra()) throw CommandError{"Tidra did not start: " + mac_.launchError()};
    });
    add("defaults",
        "defaults read DOMAIN [KEY] | defaults write DOMAIN KEY -bool|-int|-string VALUE | "
        "defaults write DOMAIN KEY -array [STRING...] | "
        "defaults delete DOMAIN [KEY]",
        [this](const CommandLine& cl) {
            const auto& w = cl.words;
            if (w.size() < 3) usageError();
            const std::string verb = w[1], domain = canonicalDomain(w[2]);
            SimPreferences& prefs = mac_.prefs();
            if (verb == "read" && w.size() <= 4) {
                Value all = prefs.domainSnapshot(domain);
                if (w.size() == 3) {
                    if (all.dictionary().empty()) {
                        out_ << "Domain " << w[2] << " does not exist\n";
                        return;
                    }
                    out_ << all.description() << "\n";
                    return;
                }
                Value v = all[Value(w[3])];
                if (v.isNil())
                    out_ << "The domain/default pair of (" << w[2] << ", " << w[3]
                         << ") does not exist\n";
                else
                    out_ << defaultsText(v) << "\n";
                return;
            }
            if (verb == "write" && w.size() >= 5 && w[4] == "-array") {
                // As the defaults tool: the words that follow are the array's strings.
                if (!isStorableText(w[3])) usageError("KEY must be UTF-8 text without NUL bytes");
                Array items;
                for (size_t i = 5; i < w.size(); ++i) {
                    if (!isStorableText(w[i]))
                        usageError("-array takes UTF-8 text without NUL bytes");
                    items.push_back(Value(w[i]));
                }
                mac_.intoTidra([&] { prefs.writeFromOutside(domain, w[3], Value(items)); });
                if (!prefs.flushAll()) throw CommandError{kNotStored};
                return;
            }
            if (verb == "write" && w.size() == 6) {
                Value v;
                const std::string& type = w[4];
                const std::string& text = w[5];
                if (!isStorableText(w[3])) usageError("KEY must be UTF-8 text without NUL bytes");
                if (type == "-bool" || type == "-boolean") {
                    if (text == "true" || text == "YES" || text == "yes" || text == "1")
                        v = Value(true);
                    else if (text == "false" || text == "NO" || text == "no" || text == "0")
                        v = Value(false);
                    else
                        usageError("-bool takes true, false, yes, no, 1 or 0");
                } else if (type == "-int" || type == "-integer") {
                    v = Value(wholeNumber(text));
                } else if (type == "-string") {
                    // A property list holds text only; the bytes would be lost on the way.
                    if (!isStorableText(text))
                        usageError("-string takes UTF-8 text without NUL bytes");
                    v = Value(text);
                } else {
                    usageError("unknown value type " + type);
                }
                mac_.intoTidra([&] { prefs.writeFromOutside(domain, w[3], v); });
                if (!prefs.flushAll()) throw CommandError{kNotStored};
                return;
            }
            if (verb == "delete" && w.size() <= 4) {
                if (w.size() == 4) {
                    if (prefs.domainSnapshot(domain)[Value(w[3])].isNil()) {
                        out_ << "Domain (" << w[2]
                             << ") not found.\nDefaults have not been changed.\n";
                        return;
                    }
                    mac_.intoTidra([&] { prefs.deleteFromOutside(domain, w[3]); });
                } else {
                    Value all = prefs.domainSnapshot(domain);
                    for (const auto& [k, val] : all.dictionary())
                        if (k.isString())
                            mac_.intoTidra([&] { prefs.deleteFromOutside(domain, k.string()); });
                }
                if (!prefs.flushAll()) throw CommandError{kNotStored};
                return;
            }
            usageError();
        });
}

}  // namespace tidra::sim
