// Tasks and pipes (NSTask, NSPipe) and file-system information (statfs).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/value.h"

namespace tidra {

class Task {
  public:
    virtual ~Task() = default;
    // Standard output goes to a pipe the caller reads; without it, it is discarded.
    virtual void setStandardOutputPipe(bool pipe) = 0;
    virtual bool launch() = 0;
    // Reads the pipe until the task closes it.
    virtual Data readDataToEndOfFile() = 0;
    virtual void waitUntilExit() = 0;
    virtual int terminationStatus() const = 0;
};

inline constexpr std::uint32_t kMntRootFs = 0x4000;

struct StatFs {
    std::uint32_t flags = 0;
    std::string mountedFrom;  // f_mntfromname
    std::string mountedOn;    // f_mntonname
};

class Tasks {
  public:
    virtual ~Tasks() = default;
    virtual std::unique_ptr<Task> makeTask(const std::string& launchPath,
                                           const std::vector<std::string>& arguments) = 0;
    // launchedTaskWithLaunchPath:arguments: started, not waited for.
    virtual bool launchedTask(const std::string& launchPath,
                              const std::vector<std::string>& arguments) = 0;
    virtual std::optional<StatFs> statfs(const std::string& path) = 0;
};

}  // namespace tidra
