// Tasks (NSTask) and file-system information (statfs).
#include <sys/mount.h>
#include <sys/param.h>

#include "mac/services.h"
#include "mac/task.h"

namespace tidra::mac {
namespace {

class MacTasks final : public Tasks {
  public:
    std::unique_ptr<Task> makeTask(const std::string& launchPath,
                                   const std::vector<std::string>& arguments) override {
        return mac::makeTask(launchPath, arguments);
    }

    bool launchedTask(const std::string& launchPath,
                      const std::vector<std::string>& arguments) override {
        return mac::makeTask(launchPath, arguments)->launch();
    }

    std::optional<StatFs> statfs(const std::string& path) override {
        struct statfs info {};
        if (::statfs(path.c_str(), &info) != 0) return std::nullopt;
        StatFs made;
        made.flags = static_cast<std::uint32_t>(info.f_flags);
        made.mountedFrom = info.f_mntfromname;
        made.mountedOn = info.f_mntonname;
        return made;
    }
};

}  // namespace

std::unique_ptr<Tasks> makeTasks() {
    return std::make_unique<MacTasks>();
}

}  // namespace tidra::mac
