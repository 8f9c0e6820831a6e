// Tidra's login item lives in System Events, reached through AppleScript; the entry is known
// by its name, "Tidra". Every script runs on the background queue while the caller waits.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/apple_script.h"
#include "platform/bundle.h"
#include "platform/console.h"
#include "platform/dispatch.h"

namespace tidra {

inline constexpr const char* kLoginItemName = "Tidra";

// The exact script texts, one line each.
std::string loginItemQueryScript();
std::string loginItemPathsScript();
std::string loginItemDeleteScript();
std::string loginItemAddScript(const std::string& bundlePath);

class LoginItems {
  public:
    LoginItems(AppleScripting& scripting, Dispatch& dispatch, Bundle& bundle, Console& console)
        : scripting_(scripting), dispatch_(dispatch), bundle_(bundle), console_(console) {}

    // Whether an entry named "Tidra" exists; false whenever System Events gives no usable list.
    bool query();
    // Whether an entry named "Tidra" exists; nothing when System Events gave no usable answer
    // (refused, not running): then nobody knows, and the error goes to the console.
    std::optional<bool> lookUp();
    // The path the entry named "Tidra" opens; nothing when there is none or System Events gives
    // no usable answer.
    std::optional<std::string> itemPath();
    // Deletes every entry named "Tidra" (an older copy's may stand beside this one's); none at
    // all is no error. False, with System Events' error on the console, when one could not go.
    bool remove();
    // Leaves exactly one entry named "Tidra", for the running bundle, so a moved application is
    // re-pointed; a script error goes to the console. False when that could not be done.
    bool add();
    // The error number System Events gave for the last script it turned down, if any.
    std::optional<long> lastErrorNumber() const { return lastErrorNumber_; }

  private:
    AppleScripting& scripting_;
    Dispatch& dispatch_;
    Bundle& bundle_;
    Console& console_;
    std::optional<long> lastErrorNumber_;

    // Runs one script on the background queue; its result, or nothing with `error` filled.
    std::shared_ptr<EventDescriptor> run(const std::string& source, Dictionary& error);
    void refused(const Dictionary& error);
};

}  // namespace tidra
