// NSWorkspace and NSRunningApplication on the simulated Mac.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/workspace.h"
#include "sim/processes.h"

namespace tidra::sim {

// The screens' side of the workspace (desktop pictures), provided by the screens.
struct DesktopPictures {
    std::function<std::optional<Url>(const Screen&)> imageURL;
    std::function<Value(const Screen&)> options;
    std::function<bool(const Url&, const Screen&, const Dictionary&, ErrorOut)> setImage;
};

class SimWorkspace : public Workspace {
  public:
    SimWorkspace(RunLoop& loop, Processes& processes, SimNotificationCenter& center)
        : loop_(loop), processes_(processes), center_(center) {}

    // Applications that can be launched by bundle identifier: their name and bundle path.
    void addKnownApplication(const std::string& bundleIdentifier, const std::string& name,
                             const std::string& bundlePath);
    void setDesktopPictures(DesktopPictures pictures) { pictures_ = std::move(pictures); }
    // Launch Services' search of the disk for an application by bundle identifier.
    using ApplicationFinder = std::function<std::optional<std::string>(const std::string&)>;
    void setApplicationFinder(ApplicationFinder finder) { finder_ = std::move(finder); }
    // The way into the user's Trash that every route shares; without it, recycling fails.
    using TrashMover = std::function<std::optional<std::string>(const std::string& macPath)>;
    void setTrashMover(TrashMover trash) { trash_ = std::move(trash); }
    static constexpr double kLaunchDelay = 0.3;
    // While lost, a launch request for the application is taken and then comes to nothing, as
    // an asynchronous launch that fails on the way does.
    void setLaunchesLost(const std::string& bundleIdentifier, bool lost);
    bool launchesLost(const std::string& bundleIdentifier) const {
        return lost_.count(bundleIdentifier) != 0;
    }

    NotificationCenter& notificationCenter() override { return center_; }
    std::vector<std::shared_ptr<RunningApplication>> runningApplicationsWithBundleIdentifier(
        const std::string& bundleIdentifier) override;
    std::vector<std::shared_ptr<RunningApplication>> runningApplications() override;
    bool launchAppWithBundleIdentifier(const std::string& bundleIdentifier,
                                       unsigned options) override;
    bool openURL(const Url& url) override;
    std::optional<Url> URLForApplicationWithBundleIdentifier(
        const std::string& bundleIdentifier) override;
    std::optional<Url> desktopImageURLForScreen(const Screen& screen) override;
    Value desktopImageOptionsForScreen(const Screen& screen) override;
    bool setDesktopImageURL(const Url& url, const Screen& screen, const Dictionary& options,
                            ErrorOut error) override;
    bool performFileOperation(const std::string& operation, const std::string& source,
                              const std::string& destination,
                              const std::vector<std::string>& files) override;

    const std::vector<std::string>& openedURLs() const { return opened_; }
    int launchRequests() const { return launchRequests_; }

  private:
    std::shared_ptr<RunningApplication> wrap(const ProcessInfo& p);

    RunLoop& loop_;
    Processes& processes_;
    SimNotificationCenter& center_;
    struct Known {
        std::string name, path;
    };
    std::map<std::string, Known> known_;
    DesktopPictures pictures_;
    ApplicationFinder finder_;
    TrashMover trash_;
    std::set<std::string> lost_;
    std::vector<std::string> opened_;
    int launchRequests_ = 0;
};

}  // namespace tidra::sim
