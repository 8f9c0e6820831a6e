// The `tidra` front end: commands that play the user and the rest of the Mac, read from a
// script (virtual clock) or typed at a prompt (real clock).
#pragma once

#include <functional>
#include <istream>
#include <map>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "frontend/command_line.h"
#include "frontend/terminal_text.h"
#include "sim/mac.h"

namespace tidra::sim {

// A rejected command: the message says what was expected.
struct CommandError {
    std::string message;
};

class Frontend {
  public:
    using Handler = std::function<void(const CommandLine& cl)>;

    Frontend(Mac& mac, std::ostream& out);

    // Reads commands until the end of the input or `exit`. Answers the exit status: 0 at the end,
    // 2 at the first rejected command.
    int runScript(std::istream& in);
    // Prompt and picture, on the Mac's clock (real when run by a person); ends at the end of
    // input or with `exit`.
    int runInteractive(std::istream& in);
    // Where the commands come from; set before Tidra launches, since an alert at launch is
    // answered by the lines that follow.
    void attach(std::istream& in, bool interactive) {
        in_ = &in;
        interactive_ = interactive;
    }
    // Launches Tidra, telling when it did not start.
    void launch();
    // Executes one line; false when it was rejected (the message is printed).
    bool executeLine(const std::string& line);

    // Commands: `name` is the first word; `usage` is shown when the arguments are wrong.
    void add(const std::string& name, const std::string& usage, Handler handler);
    // Every command's usage, in the order of the commands' names.
    std::vector<std::string> usages() const;
    // Contributions to `status --json`.
    void addStatus(std::function<void(nlohmann::json&)> part) { statusParts_.push_back(part); }
    // While something modal waits for an answer: a description of it, or empty. Commands named in
    // `answers` may still run, with status, log, defaults read and wait.
    void addModal(std::function<std::string()> waiting, std::vector<std::string> answers);

    nlohmann::json statusJson();
    std::string statusText();
    std::string picture();
    // Text for the person: control characters are escaped on the way out.
    std::ostream& out() { return out_; }
    // Exactly as written (JSON, which escapes them itself).
    std::ostream& rawOut() { return raw_; }
    Mac& mac() { return mac_; }
    // "on" or "off" as a Boolean; anything else is a usage error of the current command.
    bool onOff(const std::string& word) const;
    // Throws a CommandError naming the usage of the current command.
    [[noreturn]] void usageError(const std::string& detail = "") const;
    // The status menu that is open now, or nothing.
    SimMenu* openMenu() const;
    // Runs `open`, which opens the status menu, and chooses `title` (already checked) in the menu
    // as soon as it is open. False when no menu opened to take the choice.
    bool chooseInMenu(const std::string& title, const std::function<void()>& open);
    // Lets time pass; interactively the picture is drawn again whenever it changes.
    void wait(double seconds);
    // `exit`: no further line is read, and nested loops give up.
    void requestExit() { exiting_ = true; }

  private:
    void execute(const CommandLine& cl);
    bool nextInput();

    Mac& mac_;
    std::ostream& raw_;
    EscapingBuffer escaping_{raw_.rdbuf()};
    std::ostream out_{&escaping_};
    struct Command {
        std::string usage;
        Handler handler;
    };
    std::map<std::string, Command> commands_;
    std::vector<std::function<void(nlohmann::json&)>> statusParts_;
    struct Modal {
        std::function<std::string()> waiting;
        std::vector<std::string> answers;
    };
    std::vector<Modal> modals_;
    std::istream* in_ = nullptr;
    bool interactive_ = false;
    bool failed_ = false;
    bool exiting_ = false;  // `exit` was given
    // The launch read lines of the attached input (an alert at launch): the script goes on from
    // there, with its line count and a rejection already met.
    bool continuesLaunch_ = false;
    // The picture an interactive `wait` drew last, so that the prompt does not draw it again.
    std::string redrawn_;
    int lineNumber_ = 0;
    std::string current_;  // the command being run
    std::vector<std::string> pendingChoices_;
};

}  // namespace tidra::sim
