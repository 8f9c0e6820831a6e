// The move offer when the copy fails part way, with and without administrator rights: the copy
// already in Applications stays, nothing half-made remains, and the user sees the failure alert.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "install/application_mover.h"
#include "install/shell_quote.h"
#include "install_rig.h"
#include "sim/bundle.h"

namespace tidra::testing {
namespace {

using Strings = std::vector<std::string>;

constexpr const char* kIncoming = "/Applications/.Tidra.app.incoming";
constexpr const char* kAside = "/Applications/.Tidra.app.previous";
// The privileged commands that clear the way for the new copy and copy it in beside the old one.
const std::string kClearIncoming = "/bin/rm -rf /Applications/.Tidra.app.incoming";
const std::string kCopyIncoming =
    "/bin/cp -pR /Users/me/Downloads/Tidra.app /Applications/.Tidra.app.incoming";

// An older copy in Applications, which only administrator rights can change, and the move
// accepted with `trouble` set up beforehand: the move fails and says so.
void failPrivilegedMove(InstallRig& rig, const std::string& trouble) {
    installOldCopy(rig);
    rig.files().setLocalApplicationsWritable(false);
    rig.run(trouble);
    rig.launch(std::string(kMove) + "password ok\nalert OK\n");
    EXPECT_EQ(rig.moveLog(), kAuthorizedCopyFailed);
    EXPECT_EQ(rig.failureAlert(), "Could not move to Applications folder");
}

TEST(ReplacingACopy, APrivilegedCopyThatFailsKeepsTheOldCopyAndLeavesNothingHalfMade) {
    InstallRig rig;
    failPrivilegedMove(rig, "applications full on\n");
    // The copy ran out of room part way; what it wrote is gone again, the old copy untouched.
    EXPECT_EQ(rig.mac().simAuthorization().privilegedHistory(),
              (Strings{kClearIncoming, kCopyIncoming, kClearIncoming}));
    EXPECT_FALSE(rig.exists(kIncoming));
    EXPECT_TRUE(rig.exists(kMarker));
    EXPECT_TRUE(rig.exists(std::string(kApplications) + "/Contents/Resources/MainMenu.json"));
    EXPECT_TRUE(rig.exists(std::string(kDownloads) + "/Contents/Info.plist"));
    EXPECT_EQ(rig.mac().bundlePath(), kDownloads);
    EXPECT_TRUE(rig.mac().tidraRunning());
    EXPECT_EQ(rig.mac().simAuthorization().liveReferences(), 0u);

    // With room again the new copy takes the old one's place, and only then is the old removed.
    rig.run("quit\napplications full off\nlaunch\n" + std::string(kMove) + "password ok\n");
    const Strings replaced{kClearIncoming, kCopyIncoming,
                           "/bin/mv /Applications/Tidra.app /Applications/.Tidra.app.previous",
                           "/bin/mv /Applications/.Tidra.app.incoming /Applications/Tidra.app",
                           "/bin/rm -rf /Applications/.Tidra.app.previous"};
    const auto& history = rig.mac().simAuthorization().privilegedHistory();
    ASSERT_GE(history.size(), replaced.size());
    EXPECT_EQ(Strings(history.end() - long(replaced.size()), history.end()), replaced);
    EXPECT_FALSE(rig.exists(kMarker));
    EXPECT_FALSE(rig.exists(kIncoming));
    EXPECT_EQ(rig.mac().bundlePath(), kApplications);
    EXPECT_TRUE(rig.mac().tidraRunning());
}

TEST(ReplacingACopy, APrivilegedMoveThatFailsPutsTheOldCopyBack) {
    InstallRig rig;
    failPrivilegedMove(rig,
                       "authorization fail \"/bin/mv /Applications/.Tidra.app.incoming\" on\n");
    EXPECT_EQ(rig.mac().simAuthorization().privilegedHistory(),
              (Strings{kClearIncoming, kCopyIncoming,
                       "/bin/mv /Applications/Tidra.app /Applications/.Tidra.app.previous",
                       "/bin/mv /Applications/.Tidra.app.incoming /Applications/Tidra.app",
                       "/bin/mv /Applications/.Tidra.app.previous /Applications/Tidra.app",
                       kClearIncoming}));
    EXPECT_TRUE(rig.exists(kMarker));
    EXPECT_TRUE(rig.exists(std::string(kApplications) + "/Contents/Resources/MainMenu.json"));
    EXPECT_FALSE(rig.exists(kIncoming));
    EXPECT_FALSE(rig.exists(kAside));
    EXPECT_EQ(rig.mac().bundlePath(), kDownloads);
    EXPECT_TRUE(rig.mac().tidraRunning());

    // Cut short after the old copy was set aside: the next attempt puts it back before anything
    // else, and only then replaces it.
    rig.run("quit\n");
    std::filesystem::rename(rig.mac().disk().real(kApplications), rig.mac().disk().real(kAside));
    const size_t before = rig.mac().simAuthorization().privilegedHistory().size();
    rig.run("authorization fail \"/bin/mv /Applications/.Tidra.app.incoming\" off\nlaunch\n" +
            std::string(kMove) + "password ok\n");
    const auto& history = rig.mac().simAuthorization().privilegedHistory();
    ASSERT_GE(history.size(), before + 2);
    EXPECT_EQ(history[before + 1],
              "/bin/mv /Applications/.Tidra.app.previous /Applications/Tidra.app");
    EXPECT_EQ(history.back(), "/bin/rm -rf /Applications/.Tidra.app.previous");
    EXPECT_FALSE(rig.exists(kMarker));
    EXPECT_FALSE(rig.exists(kAside));
    EXPECT_EQ(rig.mac().bundlePath(), kApplications);
    EXPECT_TRUE(rig.mac().tidraRunning());
}

TEST(ReplacingACopy, APlainCopyThatFailsLeavesTheOldCopyInPlaceAndTheTrashEmpty) {
    InstallRig rig;
    installOldCopy(rig);
    rig.run("applications full on\n");
    rig.launch(std::string(kMove) + "alert OK\n");

    const auto log = rig.moveLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[1].rfind("ERROR -- Could not copy '/Users/me/Downloads/Tidra.app' to "
                           "'/Applications/Tidra.app' (Error Domain=NSCocoaErrorDomain Code=640 ",
                           0),
              0u)
        << log[1];
    EXPECT_EQ(log[2], "ERROR -- Could not copy myself to /Applications/Tidra.app");
    EXPECT_EQ(rig.failureAlert(), "Could not move to Applications folder");
    EXPECT_TRUE(rig.exists(kMarker));
    EXPECT_FALSE(rig.exists(kIncoming));
    EXPECT_FALSE(rig.exists("/Users/me/.Trash/Tidra.app"));
    EXPECT_TRUE(rig.exists(std::string(kDownloads) + "/Contents/Info.plist"));
    EXPECT_EQ(rig.mac().bundlePath(), kDownloads);
    EXPECT_TRUE(rig.mac().tidraRunning());

    // A copy cut short by an earlier run that ended abruptly is no obstacle to the next one.
    std::filesystem::create_directories(
        rig.mac().disk().real(std::string(kIncoming) + "/Contents"));
    rig.run("quit\napplications full off\nlaunch\n" + std::string(kMove));
    EXPECT_TRUE(rig.exists("/Users/me/.Trash/Tidra.app/old-version-marker"));
    EXPECT_FALSE(rig.exists(kMarker));
    EXPECT_FALSE(rig.exists(kIncoming));
    EXPECT_TRUE(rig.exists(std::string(kApplications) + "/Contents/Resources/MainMenu.json"));
    EXPECT_EQ(rig.mac().bundlePath(), kApplications);
    EXPECT_TRUE(rig.mac().tidraRunning());
}

TEST(ReplacingACopy, AFailedCopyOnTheSimulatedMacLeavesPartOfTheBundle) {
    InstallRig rig("applications");
    rig.launch("");
    rig.run("applications full on\n");
    std::optional<Error> error;
    EXPECT_FALSE(rig.files().copyItemAtPath(kApplications, "/Applications/Copy.app", &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, 640);
    const auto files = [&](const std::string& bundle) {
        size_t n = 0;
        for (const auto& e :
             std::filesystem::recursive_directory_iterator(rig.mac().disk().real(bundle)))
            n += e.is_regular_file();
        return n;
    };
    EXPECT_TRUE(rig.exists("/Applications/Copy.app/Contents/Info.plist"));
    EXPECT_GT(files("/Applications/Copy.app"), 0u);
    EXPECT_LT(files("/Applications/Copy.app"), files(kApplications));
    // Copies elsewhere are whole.
    EXPECT_TRUE(rig.files().copyItemAtPath(kApplications, "/Users/me/Copy.app", &error));
    EXPECT_TRUE(rig.exists("/Users/me/Copy.app/Contents/Resources/MainMenu.json"));
}

// "/bin/sh" may be dash: the relaunch line must run there, or the moved copy never opens.
TEST(ReplacingACopy, TheRelaunchLineRunsUnderDash) {
    const std::string dash = std::filesystem::exists("/bin/dash") ? "/bin/dash" : "/usr/bin/dash";
    if (!std::filesystem::exists(dash)) GTEST_SKIP() << "no dash on this system";
    InstallRig rig("applications");
    rig.launch("");
    const auto mover = makeMover(rig.mac());
    // A process number above any the system hands out: the wait ends at once. The line's own
    // "&" is dropped so that the shell's complaints can be read here.
    std::string line = mover->relaunchLine(99999999, "/nonexistent/Tidra.app");
    ASSERT_TRUE(line.ends_with(" &"));
    line.resize(line.size() - 2);
    const std::string command = dash + " -c " + shellQuote(line + "; echo reached") + " 2>&1";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
        pclose(pipe);
    }
    EXPECT_EQ(out.find("Bad fd number"), std::string::npos) << out;
    EXPECT_NE(out.find("reached"), std::string::npos) << out;
}

}  // namespace
}  // namespace tidra::testing
