// A simulated Mac on which Tidra is launched from a chosen place, its launch-time alerts answered
// by the script lines that follow, as a user at the front end would.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "frontend/frontend.h"
#include "install/application_mover.h"
#include "sim/bundle.h"
#include "sim/file_manager.h"
#include "sim/mac.h"
#include "test_folder.h"

namespace tidra::testing {

class InstallRig {
  public:
    explicit InstallRig(const std::string& bundleIn = "",
                        std::optional<OperatingSystemVersion> version = std::nullopt)
        : version_(version) {
        sim::MacOptions options;
        options.root = testing::freshTestFolder("mac").string();
        options.bundleIn = bundleIn;
        options.systemVersion = version;
        root_ = options.root;
        mac_ = std::make_unique<sim::Mac>(options);
        frontend_ = std::make_unique<sim::Frontend>(*mac_, out_);
    }

    // Ends this run of the simulated Mac and starts the next one on the same disk, Tidra's
    // bundle where the last run left it.
    void restart() {
        frontend_.reset();
        mac_.reset();
        sim::MacOptions options;
        options.root = root_;
        options.systemVersion = version_;
        mac_ = std::make_unique<sim::Mac>(options);
        frontend_ = std::make_unique<sim::Frontend>(*mac_, out_);
    }

    // Launches Tidra and feeds `script` to the front end, the launch's own alerts included.
    // Answers what the front end printed.
    std::string launch(const std::string& script) {
        in_.str(script);
        in_.clear();
        frontend_->attach(in_, false);
        frontend_->launch();
        status_ = frontend_->runScript(in_);
        return out_.str();
    }
    std::string run(const std::string& script) {
        in_.str(script);
        in_.clear();
        status_ = frontend_->runScript(in_);
        return out_.str();
    }
    int lastStatus() const { return status_; }

    sim::Mac& mac() { return *mac_; }
    sim::SimFileManager& files() { return dynamic_cast<sim::SimFileManager&>(mac_->fileManager()); }
    bool exists(const std::string& macPath) const {
        return std::filesystem::exists(mac_->disk().real(macPath));
    }
    nlohmann::json status() { return frontend_->statusJson(); }
    // Console lines that mention the move, in order.
    std::vector<std::string> moveLog() const {
        std::vector<std::string> out;
        for (const auto& line : mac_->console().lines())
            if (line.rfind("INFO -- ", 0) == 0 || line.rfind("WARNING -- ", 0) == 0 ||
                line.rfind("ERROR -- ", 0) == 0 || line.rfind("Trash AppleScript", 0) == 0)
                out.push_back(line);
        return out;
    }
    const sim::SimAlert& alert(size_t i) const { return *mac_->alerts().shown().at(i); }
    size_t alertsShown() const { return mac_->alerts().shown().size(); }
    // The text of the second alert, the one that tells the move failed; or how many there were.
    std::string failureAlert() const {
        if (alertsShown() != 2) return std::to_string(alertsShown()) + " alerts shown";
        const std::string more = alert(1).informativeText();
        return alert(1).messageText() + (more.empty() ? "" : " / " + more);
    }

  private:
    std::ostringstream out_;
    std::istringstream in_;
    std::string root_;
    std::optional<OperatingSystemVersion> version_;
    std::unique_ptr<sim::Mac> mac_;
    std::unique_ptr<sim::Frontend> frontend_;
    int status_ = 0;
};

// Where Tidra is downloaded to and where the move offer puts it.
inline constexpr const char* kDownloads = "/Users/me/Downloads/Tidra.app";
inline constexpr const char* kApplications = "/Applications/Tidra.app";
// The answer that accepts the move offer.
inline constexpr const char* kMove = "alert Move to Applications Folder\n";
// A file only an older copy in Applications holds.
inline constexpr const char* kMarker = "/Applications/Tidra.app/old-version-marker";

// What the move logs when the copy with administrator rights fails.
inline const std::vector<std::string> kAuthorizedCopyFailed = {
    "INFO -- Moving myself to the Applications folder",
    "ERROR -- Could not copy myself to /Applications with authorization"};

// A move routine over the simulated Mac's services, made as Tidra makes its own at launch.
inline std::unique_ptr<ApplicationMover> makeMover(sim::Mac& mac) {
    return std::make_unique<ApplicationMover>(ApplicationMover::Services::from(mac.platform()));
}

// An older Tidra already in Applications, marked so that it can be told from the new one.
inline void installOldCopy(InstallRig& rig) {
    ASSERT_TRUE(sim::installTidraBundle(rig.mac().disk(), kApplications, TIDRA_RESOURCES_DIR, "1"));
    std::ofstream(rig.mac().disk().real(kMarker));
}

}  // namespace tidra::testing
