// A simulated Mac on which Tidra is launched from a chosen place, its launch-time alerts answered
// by the script lines that follow, as a user at the front end would; what the move offer showed
// and logged.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "install/application_mover.h"
#include "sim/bundle.h"
#include "sim/file_manager.h"
#include "sim_world.h"

namespace tidra::testing {

// Not launched until `launch`; Tidra in Downloads unless told otherwise.
class InstallRig : public SimWorld {
  public:
    explicit InstallRig(const std::string& bundleIn = "downloads",
                        std::optional<OperatingSystemVersion> version = std::nullopt)
        : SimWorld(options(bundleIn, version), false) {}

    sim::SimFileManager& files() { return dynamic_cast<sim::SimFileManager&>(mac().fileManager()); }
    // Console lines that mention the move, in order.
    std::vector<std::string> moveLog() {
        std::vector<std::string> out;
        for (const auto& line : mac().console().lines())
            if (line.rfind("INFO -- ", 0) == 0 || line.rfind("WARNING -- ", 0) == 0 ||
                line.rfind("ERROR -- ", 0) == 0 || line.rfind("Trash AppleScript", 0) == 0)
                out.push_back(line);
        return out;
    }
    const sim::SimAlert& alert(size_t i) { return *mac().alerts().shown().at(i); }
    size_t alertsShown() { return mac().alerts().shown().size(); }
    // The text of the second alert, the one that tells the move failed; or how many there were.
    std::string failureAlert() {
        if (alertsShown() != 2) return std::to_string(alertsShown()) + " alerts shown";
        const std::string more = alert(1).informativeText();
        return alert(1).messageText() + (more.empty() ? "" : " / " + more);
    }

  private:
    static sim::MacOptions options(const std::string& bundleIn,
                                   std::optional<OperatingSystemVersion> version) {
        sim::MacOptions o;
        o.bundleIn = bundleIn;
        o.systemVersion = version;
        return o;
    }
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
