// Applications as bundles on the simulated Mac's disk: the few a new Mac comes with, the ones
// the user installs, and Launch Services' lookup of an application by its bundle identifier.
#pragma once

#include <optional>
#include <string>

#include "sim/disk.h"

namespace tidra::sim {

// Lays out NAME.app at `bundleMacPath` with an Info.plist naming `bundleIdentifier` and a stub
// executable. Nothing that exists there is replaced; answers false when it cannot be written.
bool installApplicationBundle(const Disk& disk, const std::string& bundleMacPath,
                              const std::string& bundleIdentifier);

// The applications a new Mac has in /Applications (among them a presentation and a meeting
// application, which Tidra knows).
void placeSampleApplications(const Disk& disk);

// The bundle path of the application with this identifier (any case, as Launch Services
// matches) in /Applications, ~/Applications or their first level of folders; nothing when none
// is installed. Bundles whose Info.plist is missing or damaged are passed over.
std::optional<std::string> findApplication(const Disk& disk, const std::string& bundleIdentifier);

}  // namespace tidra::sim
