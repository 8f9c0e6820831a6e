// The simulated Mac where moving Tidra meets it: the bundle as it was laid out, the volumes that
// statfs reports, the framework version that goes with a system version, the Trash's routes
// and System Events' consent.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "install/application_mover.h"
#include "install_rig.h"
#include "sim/bundle.h"

namespace tidra::testing {
namespace {

using Strings = std::vector<std::string>;

bool ran(InstallRig& rig, const std::string& command) {
    const auto& history = rig.mac().simTasks().history();
    return std::find(history.begin(), history.end(), command) != history.end();
}

TEST(SimulatedMacForMoves, TheBundleIsLaidOutOnceAndADamagedOneStaysDamaged) {
    InstallRig rig("applications");
    rig.launch("quit\n");
    const std::string menu = "/Applications/Tidra.app/Contents/Resources/MainMenu.json";
    ASSERT_TRUE(rig.exists(menu));
    std::filesystem::remove(rig.mac().disk().real(menu));
    rig.run("launch\n");
    EXPECT_FALSE(rig.mac().tidraRunning());
    EXPECT_FALSE(rig.mac().launchError().empty());
    // Neither a launch nor a new run of the Mac mends it.
    rig.restartMac(false);
    EXPECT_FALSE(rig.exists(menu));
    rig.run("launch\n");
    EXPECT_FALSE(rig.mac().tidraRunning());

    // A place that holds nothing gets a whole Tidra when it is put there.
    InstallRig fresh("/Users/me/Desktop/Tidra.app");
    EXPECT_TRUE(fresh.exists("/Users/me/Desktop/Tidra.app/Contents/Resources/MainMenu.json"));
    fresh.launch("alert Do Not Move\n");
    EXPECT_TRUE(fresh.mac().tidraRunning());
}

TEST(SimulatedMacForMoves, FromTenFifteenTheUsersFoldersLieOnTheDataVolume) {
    InstallRig rig;  // 10.15, Tidra in Downloads
    auto fs = rig.mac().tasks().statfs("/Users/me/Downloads");
    ASSERT_TRUE(fs);
    EXPECT_EQ(fs->flags & kMntRootFs, 0u);
    EXPECT_EQ(fs->mountedFrom, "/dev/disk1s2");
    EXPECT_EQ(fs->mountedOn, "/System/Volumes/Data");
    fs = rig.mac().tasks().statfs("/");
    ASSERT_TRUE(fs);
    EXPECT_NE(fs->flags & kMntRootFs, 0u);
    // So the offer asks hdiutil, and finds no image holding that volume.
    rig.launch("alert Do Not Move\n");
    EXPECT_TRUE(ran(rig, "/usr/bin/hdiutil info -plist"));
    EXPECT_TRUE(rig.status()["volumes"].empty());

    InstallRig older("downloads", OperatingSystemVersion{10, 14, 0});
    fs = older.mac().tasks().statfs("/Users/me/Downloads");
    ASSERT_TRUE(fs);
    EXPECT_NE(fs->flags & kMntRootFs, 0u);
    older.launch("alert Do Not Move\n");
    EXPECT_FALSE(ran(older, "/usr/bin/hdiutil info -plist"));
}

TEST(SimulatedMacForMoves, OnTenFourTheOfferTakesTheOlderBranches) {
    // The process list, a plain xattr.
    InstallRig rig("downloads", OperatingSystemVersion{10, 4, 0});
    ASSERT_TRUE(sim::installTidraBundle(rig.mac().disk(), "/Applications/Tidra.app",
                                        TIDRA_RESOURCES_DIR, "1"));
    rig.launch("alert Move to Applications Folder\n");
    EXPECT_TRUE(ran(rig,
                    "/bin/sh -c /bin/ps ax -o comm | /usr/bin/grep '/Applications/Tidra.app'/ | "
                    "/usr/bin/grep -v grep >/dev/null"));
    EXPECT_TRUE(ran(rig, "/usr/bin/xattr -d com.apple.quarantine /Applications/Tidra.app"));
    EXPECT_EQ(rig.mac().bundlePath(), "/Applications/Tidra.app");
    EXPECT_TRUE(rig.mac().tidraRunning());
}

TEST(SimulatedMacForMoves, EveryRouteIntoTheTrashLeavesAReadOnlyItemInPlace) {
    InstallRig rig("applications");
    rig.launch("");
    const std::string item = "/Users/me/Desktop/Locked.app";
    std::filesystem::create_directories(rig.mac().disk().real(item));
    rig.files().setReadOnly(item, true);

    std::optional<Error> error;
    EXPECT_FALSE(rig.mac().fileManager().trashItemAtURL(Url::fileURLWithPath(item), &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, 513);
    EXPECT_FALSE(rig.mac().workspace().performFileOperation(
        kWorkspaceRecycleOperation, "/Users/me/Desktop", "", {"Locked.app"}));
    Dictionary info;
    auto script = rig.mac().appleScript().scriptWithSource(ApplicationMover::trashScript(item));
    ASSERT_TRUE(script);
    EXPECT_EQ(script->executeAndReturnError(&info), nullptr);
    EXPECT_FALSE(info.empty());
    EXPECT_TRUE(rig.exists(item));
    EXPECT_FALSE(rig.exists("/Users/me/.Trash/Locked.app"));

    // Writable again, the workspace takes it.
    rig.files().setReadOnly(item, false);
    EXPECT_TRUE(rig.mac().workspace().performFileOperation(
        kWorkspaceRecycleOperation, "/Users/me/Desktop", "", {"Locked.app"}));
    EXPECT_TRUE(rig.exists("/Users/me/.Trash/Locked.app"));
}

TEST(SimulatedMacForMoves, DeclinedConsentRefusesEveryScriptToSystemEvents) {
    InstallRig rig("applications");
    rig.launch("system-events consent deny\n");
    ASSERT_EQ(rig.lastStatus(), 0);
    Dictionary info;
    auto script = rig.mac().appleScript().scriptWithSource(
        "tell application \"System Events\" to get the name of every login item");
    ASSERT_TRUE(script);
    EXPECT_EQ(script->executeAndReturnError(&info), nullptr);
    EXPECT_EQ(Value(info)["NSAppleScriptErrorNumber"].intValue(), -1743);
    EXPECT_EQ(Value(info)["NSAppleScriptErrorMessage"].string(),
              "Not authorized to send Apple events to System Events.");
    EXPECT_EQ(Value(info)["NSAppleScriptErrorAppName"].string(), "System Events");

    rig.run("system-events consent maybe\n");
    EXPECT_EQ(rig.lastStatus(), 2);
}

}  // namespace
}  // namespace tidra::testing
