#include "sim/workspace.h"

#include "platform/paths.h"

namespace tidra::sim {

namespace {
class SimRunningApplication : public RunningApplication {
  public:
    SimRunningApplication(Processes& processes, ProcessInfo info)
        : processes_(processes), info_(std::move(info)) {}
    std::string bundleIdentifier() const override { return info_.bundleIdentifier; }
    std::optional<Url> bundleURL() const override {
        if (info_.bundlePath.empty()) return std::nullopt;
        return Url::fileURLWithPath(info_.bundlePath);
    }
    int processIdentifier() const override { return info_.pid; }
    bool terminate() override { return processes_.requestQuit(info_.pid); }

  private:
    Processes& processes_;
    ProcessInfo info_;
};
}  // namespace

void SimWorkspace::addKnownApplication(const std::string& bundleIdentifier, const std::string& name,
                                       const std::string& bundlePath) {
    known_[bundleIdentifier] = {name, bundlePath};
}

std::shared_ptr<RunningApplication> SimWorkspace::wrap(const ProcessInfo& p) {
    return std::make_shared<SimRunningApplication>(processes_, p);
}

std::vector<std::shared_ptr<RunningApplication>>
SimWorkspace::runningApplicationsWithBundleIdentifier(const std::string& bundleIdentifier) {
    std::vector<std::shared_ptr<RunningApplication>> out;
    for (const auto& p : processes_.withBundleIdentifier(bundleIdentifier)) out.push_back(wrap(p));
    return out;
}

std::vector<std::shared_ptr<RunningApplication>> SimWorkspace::runningApplications() {
    std::vector<std::shared_ptr<RunningApplication>> out;
    for (const auto& p : processes_.running()) out.push_back(wrap(p));
    return out;
}

bool SimWorkspace::launchAppWithBundleIdentifier(const std::string& bundleIdentifier,
                                                 unsigned /*options*/) {
    ++launchRequests_;
    auto it = known_.find(bundleIdentifier);
    if (it == known_.end()) return false;
    Known app = it->second;
    if (launchesLost(bundleIdentifier)) return true;
    // Asynchronous, as with NSWorkspaceLaunchAsync; an application already running is only
    // brought forward, never started twice.
    loop_.after(kLaunchDelay, [this, bundleIdentifier, app] {
        if (processes_.withBundleIdentifier(bundleIdentifier).empty())
            processes_.spawn(bundleIdentifier, app.name, app.path);
    });
    return true;
}

void SimWorkspace::setLaunchesLost(const std::string& bundleIdentifier, bool lost) {
    if (lost)
        lost_.insert(bundleIdentifier);
    else
        lost_.erase(bundleIdentifier);
}

std::optional<Url> SimWorkspace::URLForApplicationWithBundleIdentifier(
    const std::string& bundleIdentifier) {
    if (finder_)
        if (auto path = finder_(bundleIdentifier)) return Url::fileURLWithPath(*path);
    // The system's own applications outside the application folders (Finder).
    auto it = known_.find(bundleIdentifier);
    if (it != known_.end() && it->second.path.rfind("/System/", 0) == 0)
        return Url::fileURLWithPath(it->second.path);
    return std::nullopt;
}

bool SimWorkspace::openURL(const Url& url) {
    opened_.push_back(url.absoluteString());
    return true;
}

std::optional<Url> SimWorkspace::desktopImageURLForScreen(const Screen& screen) {
    return pictures_.imageURL ? pictures_.imageURL(screen) : std::nullopt;
}

Value SimWorkspace::desktopImageOptionsForScreen(const Screen& screen) {
    return pictures_.options ? pictures_.options(screen) : Value();
}

bool SimWorkspace::setDesktopImageURL(const Url& url, const Screen& screen,
                                      const Dictionary& options, ErrorOut error) {
    if (pictures_.setImage) return pictures_.setImage(url, screen, options, error);
    if (error) *error = Error{"NSCocoaErrorDomain", 4, "The screen has no desktop picture."};
    return false;
}

bool SimWorkspace::performFileOperation(const std::string& operation, const std::string& source,
                                        const std::string& /*destination*/,
                                        const std::vector<std::string>& files) {
    if (operation != kWorkspaceRecycleOperation || files.empty()) return false;
    for (const auto& name : files) {
        if (name.empty() || name.find('/') != std::string::npos) return false;
        if (!trash_ || !trash_(paths::appendingPathComponent(source, name))) return false;
    }
    return true;
}

}  // namespace tidra::sim
