// Tidra's login item lives in System Events, reached through AppleScript; the entry is known
// by its name, "Tidra". Every script runs on the background queue while the caller waits.
#pragma once

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
    // The path the entry named "Tidra" opens; nothing when there is none or System Events gives
    // no usable answer.
    std::optional<std::string> itemPath();
    // Deletes the entry; silent when there is none or scripting is refused. False when System
    // Events answered with an error, which it also does when there was no entry.
    bool remove();
    // Replaces any entry with one for the running bundle, so a moved application is re-pointed;
    // a script error goes to the console. False when the entry could not be made.
    bool add();

  private:
    AppleScripting& scripting_;
    Dispatch& dispatch_;
    Bundle& bundle_;
    Console& console_;
};

}  // namespace tidra
