// NSAppleScript on the simulated Mac: scripts are compiled when run, then their commands go to
// System Events (login items) or Finder (the Trash). Failures come back as the platform's error
// dictionary. Scripts run on whatever thread calls them; everything shared is locked.
#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/apple_script.h"
#include "sim/apps/system_events.h"

namespace tidra::sim {

class SimAppleScripting : public AppleScripting {
  public:
    // Finder's "move … to trash": given the item's Mac path, answers its path in the Trash, or
    // nothing when it cannot be moved. Called on the script's thread.
    using TrashMover = std::function<std::optional<std::string>(const std::string& macPath)>;

    // Whether the user lets the sender control the application so named; may wait for the
    // user's answer. Called on the script's thread.
    using Consent = std::function<bool(const std::string& application)>;

    SimAppleScripting(SimSystemEvents& systemEvents, TrashMover trash, Consent consent = {});

    // Nothing only for text that is not valid UTF-8 (no string object could hold it).
    std::unique_ptr<AppleScript> scriptWithSource(const std::string& source) override;

    // What ran, for checking where and how: the sources executed, in order, and the thread of
    // each run.
    struct Run {
        std::string source;
        std::thread::id thread;
    };
    std::vector<Run> runs() const;

    // Used by the scripts themselves.
    SimSystemEvents& systemEvents() { return systemEvents_; }
    std::optional<std::string> moveToTrash(const std::string& macPath);
    bool mayControl(const std::string& application);
    void recordRun(const std::string& source);

  private:
    SimSystemEvents& systemEvents_;
    TrashMover trash_;
    Consent consent_;
    mutable std::mutex mutex_;
    std::vector<Run> runs_;
};

// Error dictionaries as NSAppleScript fills them. `range` is in the source's UTF-16 units.
Dictionary appleScriptError(long number, const std::string& brief, const std::string& appName,
                            std::size_t rangeStart, std::size_t rangeLength);

}  // namespace tidra::sim
