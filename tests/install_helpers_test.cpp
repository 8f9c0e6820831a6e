// The move offer's helpers against the simulated Mac's own services: the trash routine and its
// Finder script, the disk image lookup with long or broken tool output, and the simulated tools.
#include <gtest/gtest.h>

#include <algorithm>

#include "awkward_paths.h"
#include "install/application_mover.h"
#include "install_rig.h"
#include "test_files.h"

namespace tidra::testing {
namespace {

// Tidra running from Applications (no offer), and a mover made from the same services.
struct MoverRig {
    explicit MoverRig(const std::string& where = "applications") : rig(where) {
        rig.launch("");
        mover = makeMover(rig.mac());
    }
    void touch(const std::string& macPath) { writeBytes(rig.mac().disk().real(macPath), "x"); }
    InstallRig rig;
    std::unique_ptr<ApplicationMover> mover;
};

TEST(MoveHelpers, TrashTakesEachRouteInTurnAndReportsWhenAllFail) {
    MoverRig m;
    m.touch("/Users/me/Desktop/one.app");
    EXPECT_TRUE(m.mover->moveItemToTrash("/Users/me/Desktop/one.app"));
    EXPECT_TRUE(m.rig.exists("/Users/me/.Trash/one.app"));

    // Before trashItemAtURL: the workspace's recycle operation does it.
    m.rig.mac().system().setAppKitVersionNumber(1138);
    m.touch("/Users/me/Desktop/two.app");
    EXPECT_TRUE(m.mover->moveItemToTrash("/Users/me/Desktop/two.app"));
    EXPECT_TRUE(m.rig.exists("/Users/me/.Trash/two.app"));

    // Nothing there: every route fails, the Finder script included.
    EXPECT_FALSE(m.mover->moveItemToTrash("/Users/me/Desktop/gone \"x\".app"));
    const auto log = m.rig.moveLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].rfind("Trash AppleScript error: ", 0), 0u) << log[0];
    EXPECT_EQ(log[1], "ERROR -- Could not trash '/Users/me/Desktop/gone \"x\".app'");
}

TEST(MoveHelpers, TheFinderScriptTrashesExactlyTheNamedItemWhateverItsName) {
    MoverRig m;
    auto& scripting = m.rig.mac().appleScript();
    for (const std::string& name : kAwkwardNames) {
        const std::string path = "/Users/me/Desktop/" + name;
        m.touch(path);
        m.touch("/Users/me/Documents/keep.txt");
        auto script = scripting.scriptWithSource(ApplicationMover::trashScript(path));
        ASSERT_TRUE(script) << name;
        Dictionary error;
        EXPECT_TRUE(script->executeAndReturnError(&error)) << name << Value(error).description();
        EXPECT_FALSE(m.rig.exists(path)) << name;
        EXPECT_TRUE(m.rig.exists("/Users/me/.Trash/" + name)) << name;
        EXPECT_TRUE(m.rig.exists("/Users/me/Documents/keep.txt"));
    }
}

TEST(MoveHelpers, DiskImageLookupCopesWithLongMissingAndGarbledToolOutput) {
    MoverRig m("dmg");
    // The launch from the image was declined (no input); the image stays mounted.
    const std::string folder = "/Volumes/Tidra";
    auto& tasks = m.rig.mac().simTasks();
    EXPECT_EQ(m.mover->findDiskImageDevice(folder), "/dev/disk4s1");
    EXPECT_EQ(m.mover->findDiskImageDevice("/Users/me/Downloads"), std::nullopt);
    EXPECT_EQ(m.mover->findDiskImageDevice("/no/such/folder"), std::nullopt);

    // Hundreds of images: far more output than a pipe holds before the tool must wait.
    for (int i = 0; i < 400; ++i)
        m.rig.mac().diskImages().attach("/Users/me/Downloads/Other " + std::to_string(i) + ".dmg",
                                        "Other");
    auto probe = tasks.makeTask("/usr/bin/hdiutil", {"info", "-plist"});
    probe->setStandardOutputPipe(true);
    ASSERT_TRUE(probe->launch());
    EXPECT_GT(probe->readDataToEndOfFile().size(), sim::SimTasks::kPipeCapacity);
    EXPECT_EQ(m.mover->findDiskImageDevice(folder), "/dev/disk4s1");
    EXPECT_EQ(m.mover->findDiskImageDevice("/Volumes/Other 399"), "/dev/disk404s1");

    // Waiting before reading is what would hang on a real Mac; the sim says so.
    auto stuck = tasks.makeTask("/usr/bin/hdiutil", {"info", "-plist"});
    stuck->setStandardOutputPipe(true);
    ASSERT_TRUE(stuck->launch());
    EXPECT_THROW(stuck->waitUntilExit(), sim::TaskDeadlock);

    tasks.overrideTool("/usr/bin/hdiutil",
                       {.missing = true, .output = std::nullopt, .status = std::nullopt});
    EXPECT_EQ(m.mover->findDiskImageDevice(folder), std::nullopt);
    const std::string garbage = "<plist><dict><key>images</key><array><dict><key>system-entities";
    tasks.overrideTool(
        "/usr/bin/hdiutil",
        {.missing = false, .output = Data(garbage.begin(), garbage.end()), .status = std::nullopt});
    EXPECT_EQ(m.mover->findDiskImageDevice(folder), std::nullopt);
    tasks.overrideTool("/usr/bin/hdiutil",
                       {.missing = false, .output = Data{0, 1, 2, 0xff}, .status = 1});
    EXPECT_EQ(m.mover->findDiskImageDevice(folder), std::nullopt);
}

// An older system could not read hdiutil's answer: the tool is not run for nothing.
TEST(MoveHelpers, DiskImageLookupAsksHdiutilOnlyWhereItsAnswerIsRead) {
    MoverRig m("dmg");
    const auto& history = m.rig.mac().simTasks().history();
    const auto hdiutilRuns = [&] {
        return std::count(history.begin(), history.end(), "/usr/bin/hdiutil info -plist");
    };
    m.rig.mac().system().setAppKitVersionNumber(949);
    const auto before = hdiutilRuns();
    EXPECT_EQ(m.mover->findDiskImageDevice("/Volumes/Tidra"), std::nullopt);
    EXPECT_EQ(hdiutilRuns(), before);

    m.rig.mac().system().setAppKitVersionNumber(949.9);
    EXPECT_EQ(m.mover->findDiskImageDevice("/Volumes/Tidra"), std::nullopt);
    EXPECT_EQ(hdiutilRuns(), before);

    m.rig.mac().system().setAppKitVersionNumber(950);
    EXPECT_EQ(m.mover->findDiskImageDevice("/Volumes/Tidra"), "/dev/disk4s1");
    EXPECT_EQ(hdiutilRuns(), before + 1);
}

TEST(MoveHelpers, ShellLinesAreRunOnlyInTheirExactShape) {
    MoverRig m;
    auto& tasks = m.rig.mac().simTasks();
    const auto sh = [&](const std::string& line) {
        return tasks.run("/bin/sh", {"-c", line}).status;
    };
    const int pid = m.rig.mac().tidraPid();
    EXPECT_EQ(sh(ApplicationMover::processListLine("/Applications/Tidra.app")), 0);
    EXPECT_EQ(sh(ApplicationMover::processListLine("/Applications/Other.app")), 1);
    EXPECT_EQ(sh(m.mover->relaunchLine(pid, "/Applications/O'Brien.app")), 0);
    EXPECT_EQ(sh(ApplicationMover::detachLine("/dev/disk9s1")), 0);
    // An unquoted path, or anything else, is not run.
    EXPECT_EQ(sh("(/bin/sleep 5 && /usr/bin/hdiutil detach $DEVICE) &"), 127);
    EXPECT_EQ(sh("/usr/bin/open /Applications/Tidra.app; rm -rf /"), 127);
    EXPECT_EQ(sh("(while /bin/kill -0 1 >&/dev/null; do /bin/sleep 0.1; done; "
                 "/usr/bin/xattr -d -r com.apple.quarantine /A B.app; /usr/bin/open '/A B.app') &"),
              127);
}

}  // namespace
}  // namespace tidra::testing
