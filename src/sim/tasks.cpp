#include "sim/tasks.h"

#include <plist/plist.h>

#include <filesystem>

#include "platform/paths.h"
#include "sim/formats/plist_value.h"
#include "sim/formats/shell_words.h"

namespace tidra::sim {

namespace fs = std::filesystem;

namespace {

constexpr double kPollInterval = 0.1;
constexpr double kDetachDelay = 5.0;
constexpr int kUnsupported = 127;
constexpr std::uint32_t kMntLocal = 0x1000;
constexpr std::uint32_t kMntJournaled = 0x00800000;

// The folders that 10.15 keeps on the Data volume and shows inside the root file system.
bool onDataVolume(const std::string& macPath) {
    for (const char* top : {"/Users", "/Applications", "/Library", "/private", "/usr/local"})
        if (macPath == top || paths::hasPrefix(macPath, std::string(top) + "/")) return true;
    return false;
}

Data bytes(const std::string& s) {
    return Data(s.begin(), s.end());
}

Data xmlPlist(const Value& value) {
    PlistNode node = toPlist(value);
    if (!node) return {};
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(static_cast<plist_t>(node.get()), &xml, &length);
    if (!xml) return {};
    Data out(xml, xml + length);
    plist_to_xml_free(xml);
    return out;
}

class SimTask : public Task {
  public:
    SimTask(SimTasks& tasks, std::string path, std::vector<std::string> arguments)
        : tasks_(tasks), path_(std::move(path)), arguments_(std::move(arguments)) {}

    void setStandardOutputPipe(bool pipe) override { pipe_ = pipe; }
    bool launch() override {
        if (launched_ || tasks_.isMissing(path_)) return false;
        launched_ = true;
        result_ = tasks_.run(path_, arguments_);
        return true;
    }
    Data readDataToEndOfFile() override {
        if (!launched_ || !pipe_ || read_) return {};
        read_ = true;
        return result_.output;
    }
    void waitUntilExit() override {
        if (!launched_) return;
        // The tool cannot finish writing into a full pipe that nobody drains.
        if (pipe_ && !read_ && result_.output.size() > SimTasks::kPipeCapacity)
            throw TaskDeadlock(path_ +
                               " blocks on a full output pipe while its caller waits "
                               "for it to end");
        exited_ = true;
    }
    int terminationStatus() const override { return exited_ ? result_.status : 0; }

  private:
    SimTasks& tasks_;
    std::string path_;
    std::vector<std::string> arguments_;
    bool pipe_ = false, launched_ = false, read_ = false, exited_ = false;
    SimTasks::Result result_;
};

}  // namespace

std::unique_ptr<Task> SimTasks::makeTask(const std::string& launchPath,
                                         const std::vector<std::string>& arguments) {
    return std::make_unique<SimTask>(*this, launchPath, arguments);
}

bool SimTasks::launchedTask(const std::string& launchPath,
                            const std::vector<std::string>& arguments) {
    if (isMissing(launchPath)) return false;
    run(launchPath, arguments);
    return true;
}

bool SimTasks::isMissing(const std::string& launchPath) const {
    auto it = overrides_.find(launchPath);
    return it != overrides_.end() && it->second.missing;
}

std::optional<StatFs> SimTasks::statfs(const std::string& path) {
    if (const MountedImage* image = images_.holding(path)) {
        std::error_code ec;
        if (!fs::exists(disk_.real(path), ec)) return std::nullopt;
        return StatFs{0x1 /* read-only */ | kMntLocal, image->device, image->mountPoint};
    }
    std::error_code ec;
    if (!fs::exists(disk_.real(path), ec)) return std::nullopt;
    // From 10.15 on, the user's folders lie on the Data volume, which is no root file system.
    if (hooks_.separateDataVolume && hooks_.separateDataVolume() && onDataVolume(path))
        return StatFs{kMntLocal | kMntJournaled, "/dev/disk1s2", "/System/Volumes/Data"};
    return StatFs{kMntRootFs | kMntLocal, "/dev/disk1s1", "/"};
}

SimTasks::Result SimTasks::run(const std::string& launchPath,
                               const std::vector<std::string>& arguments) {
    std::string record = launchPath;
    for (const auto& a : arguments) record += " " + a;
    history_.push_back(record);

    Result result;
    if (launchPath == "/usr/bin/hdiutil" && arguments == std::vector<std::string>{"info", "-plist"})
        result.output = xmlPlist(images_.info());
    else if (launchPath == "/usr/bin/hdiutil" && arguments.size() == 2 && arguments[0] == "detach")
        result.status = images_.detach(arguments[1]) ? 0 : 1;
    else if (launchPath == "/bin/sh" && arguments.size() == 2 && arguments[0] == "-c")
        result = shell(arguments[1]);
    else if (launchPath == "/usr/bin/open" && arguments.size() == 1)
        result = open(arguments[0]);
    else if (launchPath == "/usr/bin/xattr")
        result = xattr(arguments);
    else
        result.status = kUnsupported;

    auto it = overrides_.find(launchPath);
    if (it != overrides_.end()) {
        if (it->second.output) result.output = *it->second.output;
        if (it->second.status) result.status = *it->second.status;
    }
    return result;
}

SimTasks::Result SimTasks::open(const std::string& path) {
    std::error_code ec;
    if (!fs::exists(disk_.real(path), ec)) {
        return {bytes("The file " + path + " does not exist.\n"), 1};
    }
    if (hooks_.openApplication) hooks_.openApplication(path);
    return {};
}

SimTasks::Result SimTasks::xattr(const std::vector<std::string>& arguments) {
    // xattr -d [-r] com.apple.quarantine PATH. The simulated disk keeps no extended attributes:
    // the tool checks its words and that the file is there, and has nothing to strip.
    size_t i = 0;
    if (i < arguments.size() && arguments[i] == "-d")
        ++i;
    else
        return {{}, 2};
    if (i < arguments.size() && arguments[i] == "-r") ++i;
    if (i + 2 != arguments.size() || arguments[i] != "com.apple.quarantine") return {{}, 2};
    std::error_code ec;
    if (!fs::exists(disk_.real(arguments[i + 1]), ec)) return {{}, 1};
    return {};
}

void SimTasks::relaunchWhenGone(int pid, std::string quarantinePath, bool recursive,
                                std::string bundle) {
    if (hooks_.processAlive && hooks_.processAlive(pid)) {
        loop_.after(kPollInterval, [this, pid, q = std::move(quarantinePath), recursive,
                                    b = std::move(bundle)]() mutable {
            relaunchWhenGone(pid, std::move(q), recursive, std::move(b));
        });
        return;
    }
    run("/usr/bin/xattr",
        recursive ? std::vector<std::string>{"-d", "-r", "com.apple.quarantine", quarantinePath}
                  : std::vector<std::string>{"-d", "com.apple.quarantine", quarantinePath});
    run("/usr/bin/open", {bundle});
}

SimTasks::Result SimTasks::shell(const std::string& line) {
    if (auto r = relaunchAfterExit(line)) return *r;
    if (auto r = detachLater(line)) return *r;
    if (auto r = searchProcesses(line)) return *r;
    return {bytes("sh: the simulated shell does not run this line\n"), kUnsupported};
}

std::optional<SimTasks::Result> SimTasks::relaunchAfterExit(const std::string& line) {
    size_t p = 0;
    // (while /bin/kill -0 PID >/dev/null 2>&1; do /bin/sleep 0.1; done; XATTR; /usr/bin/open PATH)
    // & As dash reads it: ">&/dev/null" is no redirection there, and the line does not run.
    if (!skipLiteral(line, p, "(while /bin/kill -0 ")) return std::nullopt;
    size_t digits = p;
    while (p < line.size() && std::isdigit(static_cast<unsigned char>(line[p]))) ++p;
    if (p == digits || p - digits > 9) return Result{{}, kUnsupported};
    const int pid = std::stoi(line.substr(digits, p - digits));
    if (!skipLiteral(line, p, " >/dev/null 2>&1; do /bin/sleep 0.1; done; /usr/bin/xattr -d "))
        return Result{{}, kUnsupported};
    const bool recursive = skipLiteral(line, p, "-r ");
    if (!skipLiteral(line, p, "com.apple.quarantine ")) return Result{{}, kUnsupported};
    auto quarantinePath = readShellWord(line, p);
    if (!quarantinePath || !skipLiteral(line, p, "; /usr/bin/open "))
        return Result{{}, kUnsupported};
    auto bundle = readShellWord(line, p);
    if (!bundle || !skipLiteral(line, p, ") &") || p != line.size())
        return Result{{}, kUnsupported};
    // The loop runs in the background; the shell itself is done at once.
    loop_.post([this, pid, q = *quarantinePath, recursive, b = *bundle] {
        relaunchWhenGone(pid, q, recursive, b);
    });
    return Result{};
}

std::optional<SimTasks::Result> SimTasks::detachLater(const std::string& line) {
    size_t p = 0;
    // (/bin/sleep 5 && /usr/bin/hdiutil detach DEVICE) &
    if (!skipLiteral(line, p, "(/bin/sleep 5 && /usr/bin/hdiutil detach ")) return std::nullopt;
    auto device = readShellWord(line, p);
    if (!device || !skipLiteral(line, p, ") &") || p != line.size())
        return Result{{}, kUnsupported};
    loop_.after(kDetachDelay, [this, d = *device] { run("/usr/bin/hdiutil", {"detach", d}); });
    return Result{};
}

std::optional<SimTasks::Result> SimTasks::searchProcesses(const std::string& line) {
    size_t p = 0;
    // /bin/ps ax -o comm | /usr/bin/grep PATTERN | /usr/bin/grep -v grep >/dev/null
    if (!skipLiteral(line, p, "/bin/ps ax -o comm | /usr/bin/grep ")) return std::nullopt;
    auto pattern = readShellWord(line, p);
    if (!pattern || !skipLiteral(line, p, " | /usr/bin/grep -v grep >/dev/null") ||
        p != line.size())
        return Result{{}, kUnsupported};
    if (hooks_.processCommands)
        for (const auto& command : hooks_.processCommands())
            if (paths::contains(command, *pattern) && !paths::contains(command, "grep"))
                return Result{};
    return Result{{}, 1};
}

}  // namespace tidra::sim
