#include "frontend/frontend.h"

#include <poll.h>
#include <unistd.h>

#include <cmath>
#include <iostream>

#include "frontend/core_commands.h"
#include "frontend/defaults_command.h"
#include "frontend/desktop_commands.h"
#include "frontend/folder_commands.h"
#include "frontend/install_commands.h"
#include "frontend/login_commands.h"
#include "frontend/menu_titles.h"
#include "frontend/screenshot/screenshot_command.h"
#include "frontend/shortcut_commands.h"
#include "frontend/system_commands.h"
#include "frontend/wallpaper_commands.h"
#include "frontend/window_commands.h"

namespace tidra::sim {

Frontend::Frontend(Mac& mac, std::ostream& out) : mac_(mac), raw_(out) {
    addCoreCommands(*this);
    addDefaultsCommand(*this);
    addDesktopCommands(*this);
    addWindowCommands(*this);
    addWallpaperCommands(*this);
    addLoginCommands(*this);
    addInstallCommands(*this);
    addFolderCommands(*this);
    addScreenshotCommand(*this);
    addSystemCommands(*this);
    addShortcutCommands(*this);
    // Nested loops (the status menu, modal alerts) read the next commands from here.
    mac_.loop().setInputHook([this] { return nextInput(); });
}

void Frontend::add(const std::string& name, const std::string& usage, Handler handler) {
    commands_[name] = {usage, std::move(handler)};
}

std::vector<std::string> Frontend::usages() const {
    std::vector<std::string> all;
    for (const auto& [name, c] : commands_) all.push_back(c.usage);
    return all;
}

void Frontend::addModal(std::function<std::string()> waiting, std::vector<std::string> answers) {
    modals_.push_back({std::move(waiting), std::move(answers)});
}

void Frontend::usageError(const std::string& detail) const {
    auto it = commands_.find(current_);
    std::string usage = it == commands_.end() ? current_ : it->second.usage;
    throw CommandError{(detail.empty() ? "" : detail + "; ") + "expected: " + usage};
}

bool Frontend::onOff(const std::string& word) const {
    if (word != "on" && word != "off") usageError();
    return word == "on";
}

SimMenu* Frontend::openMenu() const {
    auto item = mac_.statusItem();
    return item ? item->openMenu() : nullptr;
}

bool Frontend::chooseInMenu(const std::string& title, const std::function<void()>& open) {
    // Dropped however the opening ends, so that no later menu takes the choice for its own.
    struct Drop {
        std::vector<std::string>& choices;
        ~Drop() { choices.clear(); }
    } drop{pendingChoices_};
    pendingChoices_.push_back(title);
    open();
    return pendingChoices_.empty();
}

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

void Frontend::execute(const CommandLine& cl) {
    current_ = cl.words[0];
    auto it = commands_.find(current_);
    if (it == commands_.end()) throw CommandError{"unknown command; try `help`"};
    static const std::vector<std::string> alwaysAllowed = {
        "status", "log", "defaults", "wait", "help", "ls", "exit", "screenshot"};
    auto allowed = [&](const std::vector<std::string>& names) {
        for (const auto& n : names)
            if (n == current_) return true;
        return false;
    };
    bool readOnlyDefaults =
        current_ != "defaults" || (cl.words.size() > 1 && cl.words[1] == "read");
    if (!(allowed(alwaysAllowed) && readOnlyDefaults)) {
        for (const auto& m : modals_) {
            std::string waiting = m.waiting();
            if (!waiting.empty() && !allowed(m.answers))
                throw CommandError{waiting + " is waiting for an answer"};
        }
        if (openMenu() && current_ != "choose" && current_ != "dismiss")
            throw CommandError{"the status menu is open: `choose TITLE` or `dismiss` first"};
    }
    it->second.handler(cl);
}

namespace {
// As getline, but reading stops one byte past the longest line the splitter takes, so that a line
// without end (a script read from /dev/zero) is refused rather than waited for. With
// `skipRest`, the rest of such a line is read and dropped, so that the next line starts where a
// person expects it.
bool readLine(std::istream& in, std::string& line, bool skipRest) {
    line.clear();
    std::streambuf* buffer = in.rdbuf();
    bool any = false;
    for (int c = buffer->sbumpc(); c != std::char_traits<char>::eof(); c = buffer->sbumpc()) {
        any = true;
        if (c == '\n') return true;
        if (line.size() <= kMaxCommandLineBytes) {
            line.push_back(char(c));
        } else if (!skipRest) {
            return true;
        }
    }
    in.setstate(any ? std::ios::eofbit : std::ios::eofbit | std::ios::failbit);
    return any;
}
}  // namespace

bool Frontend::executeLine(const std::string& line) {
    std::string error;
    auto cl = splitCommandLine(line, error);
    std::string name;
    if (!interactive_ && !line.empty()) out_ << "> " << line << "\n";
    try {
        if (!cl) throw CommandError{error};
        if (cl->words.empty()) return true;
        name = cl->words[0];
        execute(*cl);
        // Everything due at the current time runs before the next line is read.
        mac_.intoTidra([&] { mac_.settle(); });
        return true;
    } catch (const CommandError& e) {
        // At the prompt the line in question is the one just typed.
        if (!interactive_) out_ << "line " << lineNumber_ << ": ";
        out_ << (name.empty() ? "?" : name) << ": " << e.message << "\n";
        return false;
    } catch (const std::exception& e) {
        // A file of the simulated disk that is not what it should be (a folder replaced by a
        // file, a name that cannot be), or no memory left: the command fails, tidra goes on.
        if (!interactive_) out_ << "line " << lineNumber_ << ": ";
        out_ << (name.empty() ? "?" : name) << ": failed: " << e.what() << "\n";
        return false;
    }
}

bool Frontend::nextInput() {
    if (!pendingChoices_.empty()) {
        // `menu TITLE`: the menu has just opened; the title was checked before.
        std::string title = pendingChoices_.front();
        pendingChoices_.erase(pendingChoices_.begin());
        if (SimMenu* menu = openMenu())
            mac_.statusItem()->closeMenu(findMenuTitle(*menu, title).item);
        return true;
    }
    if (!in_ || failed_ || exiting_) return false;
    std::string line;
    if (interactive_) {
        std::string now = picture();
        if (now != redrawn_) out_ << now;
        redrawn_.clear();
        out_ << "tidra> " << std::flush;
        // Sleeps in the kernel until a line arrives or the next timer is due. On a virtual
        // clock (tests) nothing runs by itself between lines.
        while (mac_.loop().realTime()) {
            double due = mac_.loop().nextDueIn();
            int timeout = due < 0 ? -1 : int(std::ceil(due * 1000));
            pollfd fd{STDIN_FILENO, POLLIN, 0};
            int ready = ::poll(&fd, 1, timeout);
            if (ready > 0) break;
            std::string before = picture();
            mac_.intoTidra([&] { mac_.settle(); });
            std::string after = picture();
            if (after != before) out_ << "\n" << after << "tidra> " << std::flush;
        }
    }
    if (!readLine(*in_, line, interactive_)) return false;
    ++lineNumber_;
    if (interactive_ && line == "bye") line = "exit";
    if (!executeLine(line) && !interactive_) {
        failed_ = true;
        return false;
    }
    return !exiting_;  // after `exit`, nested loops give up too
}

void Frontend::launch() {
    if (mac_.laidOutAmongOtherFiles())
        out_ << "A new simulated Mac is laid out in " << mac_.disk().root()
             << ", among the files the folder already held.\n";
    if (interactive_)
        out_ << "Tidra on a simulated Mac (" << mac_.disk().root()
             << "). Type `help` for the commands, `exit` to leave.\n";
    // Lines an alert at launch reads count as the script's first ones.
    if (in_ && !interactive_) {
        lineNumber_ = 0;
        failed_ = false;
        exiting_ = false;
        continuesLaunch_ = true;
    }
    if (!mac_.launchTidra()) out_ << "Tidra did not start: " << mac_.launchError() << "\n";
    mac_.intoTidra([&] { mac_.settle(); });
}

int Frontend::runScript(std::istream& in) {
    const bool continuing = continuesLaunch_ && in_ == &in;
    continuesLaunch_ = false;
    in_ = &in;
    interactive_ = false;
    if (!continuing) {
        lineNumber_ = 0;
        failed_ = false;
        exiting_ = false;
    }
    while (nextInput()) {
    }
    return failed_ ? 2 : 0;
}

int Frontend::runInteractive(std::istream& in) {
    in_ = &in;
    interactive_ = true;
    exiting_ = false;
    failed_ = false;  // a script's rejected line does not stop the prompt
    while (nextInput()) {
    }
    out_ << "\n";
    failed_ = false;
    return 0;
}

}  // namespace tidra::sim
