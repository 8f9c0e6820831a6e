// The simulated Mac's AppleScript: any source compiles to a script or a syntax error whose range
// lies within it, and running it reaches System Events and Finder's Trash without crashing,
// answering a result or an error dictionary.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_folder.h"
#include "sim/apple_scripting.h"
#include "sim/apps/system_events.h"
#include "sim/disk.h"
#include "sim/formats/apple_script_parser.h"

using namespace tidra;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::FuzzFolder folder;
    folder.clear();
    const std::string source(reinterpret_cast<const char*>(data), size);

    const auto compiled = sim::applescript::compile(source);
    if (const auto* error = std::get_if<sim::applescript::SyntaxError>(&compiled)) {
        fuzz::check(!error->message.empty());
        fuzz::check(error->span.begin <= error->span.end && error->span.end <= source.size());
    }

    const sim::Disk disk(folder.path());
    sim::SimSystemEvents systemEvents(disk,
                                      "/Users/me/Library/Preferences/com.apple.loginitems.plist");
    sim::SimAppleScripting scripting(systemEvents, [](const std::string& macPath) {
        // Finder refuses the Trash itself and anything outside the user's folders.
        if (macPath.rfind("/Users/me/", 0) != 0 || macPath.find("/.Trash") != std::string::npos)
            return std::optional<std::string>();
        return std::optional<std::string>("/Users/me/.Trash/" +
                                          macPath.substr(macPath.rfind('/') + 1));
    });
    auto script = scripting.scriptWithSource(source);
    if (!script) return 0;
    Dictionary errorInfo;
    const auto result = script->executeAndReturnError(&errorInfo);
    fuzz::check(result != nullptr || !errorInfo.empty());
    if (std::holds_alternative<sim::applescript::SyntaxError>(compiled))
        fuzz::check(result == nullptr);
    return 0;
}
