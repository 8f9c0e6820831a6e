// Command-line tools on the simulated Mac (NSTask, statfs): hdiutil, open, xattr, and the shell
// lines Tidra starts after moving itself (the relaunch, the image eject, the process list).
// Each tool can be made to be missing or to print something else.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/tasks.h"
#include "sim/disk.h"
#include "sim/disk_images.h"
#include "sim/run_loop.h"

namespace tidra::sim {

// What the sim does where a real Mac would hang for good: a task waited for while its output
// fills the pipe that nobody reads.
struct TaskDeadlock : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class SimTasks : public Tasks {
  public:
    // How the tools reach the rest of the simulated Mac.
    struct Hooks {
        // Opens an application bundle (Mac path), as "open" does.
        std::function<void(const std::string& bundleMacPath)> openApplication;
        std::function<bool(int pid)> processAlive;
        // The executable path of every running process ("ps ax -o comm").
        std::function<std::vector<std::string>()> processCommands;
        // Whether the system keeps the user's data on a volume of its own (10.15 and later).
        std::function<bool()> separateDataVolume;
    };

    struct ToolOverride {
        bool missing = false;        // launching fails
        std::optional<Data> output;  // printed instead of the real answer
        std::optional<int> status;   // exit status instead of the real one
    };

    // A pipe holds this much before the writer blocks.
    static constexpr size_t kPipeCapacity = 65536;

    SimTasks(RunLoop& loop, const Disk& disk, DiskImages& images, Hooks hooks)
        : loop_(loop), disk_(disk), images_(images), hooks_(std::move(hooks)) {}

    std::unique_ptr<Task> makeTask(const std::string& launchPath,
                                   const std::vector<std::string>& arguments) override;
    bool launchedTask(const std::string& launchPath,
                      const std::vector<std::string>& arguments) override;
    std::optional<StatFs> statfs(const std::string& path) override;

    void overrideTool(const std::string& launchPath, ToolOverride o) { overrides_[launchPath] = o; }

    // Every command run, as "tool arg arg...", oldest first.
    const std::vector<std::string>& history() const { return history_; }

    struct Result {
        Data output;
        int status = 0;
    };
    // Runs a tool to its end (a detached shell line starts its background work).
    Result run(const std::string& launchPath, const std::vector<std::string>& arguments);
    bool isMissing(const std::string& launchPath) const;

  private:
    RunLoop& loop_;
    const Disk& disk_;
    DiskImages& images_;
    Hooks hooks_;
    std::map<std::string, ToolOverride> overrides_;
    std::vector<std::string> history_;

    Result shell(const std::string& line);
    // The lines the shell knows, each answering nothing when the line is not of its form.
    std::optional<Result> relaunchAfterExit(const std::string& line);
    std::optional<Result> detachLater(const std::string& line);
    std::optional<Result> searchProcesses(const std::string& line);
    Result open(const std::string& path);
    Result xattr(const std::vector<std::string>& arguments);
    void relaunchWhenGone(int pid, std::string quarantinePath, bool recursive, std::string bundle);
};

}  // namespace tidra::sim
