// The move offer end to end on the simulated Mac: every way a launch can end up.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "install_rig.h"
#include "prefs/keys.h"
#include "sim/bundle.h"

namespace tidra::testing {
namespace {

using Strings = std::vector<std::string>;

const std::string kOffer = "I can move myself to the Applications folder if you'd like.";

TEST(MoveOffer, IsNotShownWhenSuppressedOrAlreadyInAnApplicationsFolder) {
    {
        InstallRig rig;  // a new Mac: Tidra in Downloads
        rig.mac().prefs().writeFromOutside(prefs::kAppDomain,
                                           prefs::kMoveToApplicationsFolderAlertSuppress, true);
        rig.launch("");
        EXPECT_EQ(rig.alertsShown(), 0u);
        EXPECT_TRUE(rig.moveLog().empty());
        EXPECT_TRUE(rig.mac().tidraRunning());
        EXPECT_TRUE(rig.exists(kDownloads));
        EXPECT_FALSE(rig.exists(kApplications));
    }
    for (const char* where :
         {"applications", "user-applications", "/Volumes/Backup/Applications/Tidra.app"}) {
        InstallRig rig(where);
        rig.launch("");
        EXPECT_EQ(rig.alertsShown(), 0u) << where;
        EXPECT_TRUE(rig.moveLog().empty()) << where;
        EXPECT_TRUE(rig.mac().tidraRunning()) << where;
        EXPECT_EQ(rig.mac().tidraLaunches(), 1) << where;
    }
}

TEST(MoveOffer, DecliningKeepsTheLaunchAndOnlyTheCheckboxTurnsTheOfferOff) {
    InstallRig rig;
    rig.launch("status\nalert Do Not Move\n");
    ASSERT_EQ(rig.alertsShown(), 1u);
    const sim::SimAlert& offer = rig.alert(0);
    EXPECT_EQ(offer.messageText(), "Move to Applications folder?");
    ASSERT_EQ(offer.buttons().size(), 2u);
    EXPECT_EQ(offer.buttons()[0]->title(), "Move to Applications Folder");
    EXPECT_EQ(offer.buttons()[0]->keyEquivalent(), "\r");
    EXPECT_EQ(offer.buttons()[1]->title(), "Do Not Move");
    EXPECT_EQ(offer.buttons()[1]->keyEquivalent(), "\x1b");
    EXPECT_TRUE(offer.showsSuppressionButton());
    EXPECT_EQ(offer.suppression().controlSize(), kSmallControlSize);
    EXPECT_EQ(offer.suppression().fontSize(), 11);
    EXPECT_EQ(offer.response(), kAlertSecondButtonReturn);
    EXPECT_TRUE(rig.mac().tidraRunning());
    EXPECT_TRUE(rig.moveLog().empty());
    EXPECT_TRUE(rig.exists(kDownloads));
    EXPECT_FALSE(rig.exists(kApplications));
    EXPECT_TRUE(
        rig.mac()
            .prefs()
            .domainSnapshot(prefs::kAppDomain)[prefs::kMoveToApplicationsFolderAlertSuppress]
            .isNil());

    // Asked again at the next launch; this time the checkbox is ticked.
    rig.run("quit\n");
    rig.run("launch\nalert Do Not Move --suppress\n");
    ASSERT_EQ(rig.alertsShown(), 2u);
    EXPECT_TRUE(
        rig.mac()
            .prefs()
            .domainSnapshot(prefs::kAppDomain)[prefs::kMoveToApplicationsFolderAlertSuppress]
            .boolValue());
    rig.run("quit\nlaunch\n");
    EXPECT_EQ(rig.alertsShown(), 2u);
    EXPECT_TRUE(rig.mac().tidraRunning());
    EXPECT_TRUE(rig.exists(kDownloads));
}

TEST(MoveOffer, WhileTheAlertWaitsOnlyItsAnswerAndReadingCommandsRun) {
    InstallRig rig;
    const std::string out = rig.launch("status --json\nlog\nwait 1\nmenu\n");
    EXPECT_NE(out.find("\"informative\":\"" + kOffer), std::string::npos);
    EXPECT_NE(out.find("menu: the alert \"Move to Applications folder?\""), std::string::npos)
        << out;
    EXPECT_NE(out.find("is waiting for an answer"), std::string::npos);
    // Nobody left to answer: the alert is taken as dismissed with Escape.
    EXPECT_EQ(rig.alert(0).response(), kAlertSecondButtonReturn);
    EXPECT_TRUE(rig.exists(kDownloads));
}

TEST(MoveOffer, MovesOutOfDownloadsAndComesBackFromApplications) {
    InstallRig rig;
    // The checkbox is ignored when the user accepts.
    rig.launch("alert Move to Applications Folder --suppress\n");
    EXPECT_EQ(rig.alert(0).informativeText(),
              kOffer + " This will keep your Downloads folder uncluttered.");
    EXPECT_EQ(rig.moveLog(), Strings{"INFO -- Moving myself to the Applications folder"});
    EXPECT_FALSE(rig.exists(kDownloads));
    EXPECT_TRUE(rig.exists(std::string(kApplications) + "/Contents/Info.plist"));
    EXPECT_EQ(rig.mac().tidraLaunches(), 2);
    EXPECT_TRUE(rig.mac().tidraRunning());
    EXPECT_EQ(rig.mac().bundlePath(), kApplications);
    EXPECT_TRUE(
        rig.mac()
            .prefs()
            .domainSnapshot(prefs::kAppDomain)[prefs::kMoveToApplicationsFolderAlertSuppress]
            .isNil());
    const auto& history = rig.mac().simTasks().history();
    EXPECT_NE(std::find(history.begin(), history.end(),
                        "/usr/bin/xattr -d -r com.apple.quarantine /Applications/Tidra.app"),
              history.end());
    EXPECT_EQ(rig.alertsShown(), 1u);  // the new copy, in Applications, asks nothing
}

TEST(MoveOffer, ReplacesAStaleCopyInApplicationsByWayOfTheTrash) {
    InstallRig rig;
    installOldCopy(rig);
    rig.launch(kMove);
    EXPECT_TRUE(rig.exists("/Users/me/.Trash/Tidra.app/old-version-marker"));
    EXPECT_FALSE(rig.exists(kMarker));
    EXPECT_EQ(rig.mac().bundlePath(), kApplications);
    EXPECT_TRUE(rig.mac().tidraRunning());
}

TEST(MoveOffer, SwitchesToACopyAlreadyRunningFromApplications) {
    InstallRig rig;
    ASSERT_TRUE(sim::installTidraBundle(rig.mac().disk(), kApplications, TIDRA_RESOURCES_DIR, "1"));
    const int other = rig.mac().processes().spawn(sim::kTidraBundleIdentifier, "Tidra",
                                                  "/Applications/../Applications/Tidra.app/");
    rig.launch(kMove);
    EXPECT_EQ(rig.moveLog(), (Strings{"INFO -- Moving myself to the Applications folder",
                                      "INFO -- Switching to an already running version"}));
    EXPECT_FALSE(rig.mac().tidraRunning());
    EXPECT_TRUE(rig.mac().processes().isRunning(other));
    EXPECT_TRUE(rig.exists(kDownloads));
    EXPECT_FALSE(rig.exists("/Users/me/.Trash/Tidra.app"));
    EXPECT_EQ(rig.mac().simTasks().history().back(), "/usr/bin/open /Applications/Tidra.app");
}

TEST(MoveOffer, FromADiskImageLeavesTheSourceAndEjectsTheImageFiveSecondsLater) {
    InstallRig rig("dmg");
    EXPECT_EQ(rig.mac().bundlePath(), "/Volumes/Tidra/Tidra.app");
    rig.launch(kMove);
    EXPECT_EQ(rig.alert(0).informativeText(), kOffer);
    EXPECT_EQ(rig.mac().bundlePath(), kApplications);
    EXPECT_TRUE(rig.mac().tidraRunning());
    EXPECT_TRUE(rig.exists("/Volumes/Tidra/Tidra.app/Contents/Info.plist"));
    EXPECT_EQ(rig.status()["volumes"].size(), 1u);
    rig.run("wait 4.8\n");
    EXPECT_EQ(rig.status()["volumes"].size(), 1u);
    rig.run("wait 0.4\n");
    EXPECT_EQ(rig.status()["volumes"].size(), 0u);
    EXPECT_FALSE(rig.exists("/Volumes/Tidra"));
    EXPECT_EQ(rig.moveLog(), Strings{"INFO -- Moving myself to the Applications folder"});
}

TEST(MoveOffer, NestedInsideAnotherApplicationIsOfferedAndItsSourceStays) {
    InstallRig rig("nested");
    const std::string source = rig.mac().bundlePath();
    rig.launch(kMove);
    ASSERT_EQ(rig.alertsShown(), 1u);
    EXPECT_EQ(rig.alert(0).informativeText(), kOffer);
    EXPECT_TRUE(rig.exists(source + "/Contents/Info.plist"));
    EXPECT_EQ(rig.mac().bundlePath(), kApplications);
    EXPECT_TRUE(rig.mac().tidraRunning());
    EXPECT_TRUE(rig.status()["volumes"].empty());
}

TEST(MoveOffer, AsksForAnAdministratorPasswordWhenApplicationsIsNotWritable) {
    InstallRig rig;
    rig.files().setLocalApplicationsWritable(false);
    const std::string out = rig.launch(std::string(kMove) + "status --json\nquit\n");
    EXPECT_EQ(rig.alert(0).informativeText(),
              kOffer + " Note that this will require an administrator password.");
    EXPECT_NE(out.find("\"kind\":\"password\""), std::string::npos);
    EXPECT_NE(out.find("quit: the administrator password dialog"), std::string::npos) << out;

    // The same, answered this time.
    InstallRig again;
    again.files().setLocalApplicationsWritable(false);
    again.launch(std::string(kMove) + "password ok\n");
    EXPECT_EQ(again.mac().simAuthorization().dialogsShown(), 1);
    EXPECT_EQ(
        again.mac().simAuthorization().privilegedHistory(),
        (Strings{"/bin/rm -rf /Applications/.Tidra.app.incoming",
                 "/bin/cp -pR /Users/me/Downloads/Tidra.app /Applications/.Tidra.app.incoming",
                 "/bin/mv /Applications/.Tidra.app.incoming /Applications/Tidra.app"}));
    EXPECT_EQ(again.mac().simAuthorization().liveReferences(), 0u);
    EXPECT_EQ(again.moveLog(), Strings{"INFO -- Moving myself to the Applications folder"});
    EXPECT_FALSE(again.exists(kDownloads));
    EXPECT_EQ(again.mac().bundlePath(), kApplications);
    EXPECT_TRUE(again.mac().tidraRunning());
}

TEST(MoveOffer, CancellingThePasswordDialogTouchesNothing) {
    InstallRig rig;
    rig.files().setLocalApplicationsWritable(false);
    rig.launch(std::string(kMove) + "password cancel\n");
    EXPECT_EQ(rig.moveLog(), (Strings{"INFO -- Moving myself to the Applications folder",
                                      "INFO -- Not moving because user canceled authorization"}));
    EXPECT_EQ(rig.alertsShown(), 1u);  // no failure alert
    EXPECT_TRUE(rig.mac().tidraRunning());
    EXPECT_EQ(rig.mac().tidraLaunches(), 1);
    EXPECT_TRUE(rig.exists(kDownloads));
    EXPECT_FALSE(rig.exists(kApplications));
    EXPECT_TRUE(rig.mac().simAuthorization().privilegedHistory().empty());
    EXPECT_EQ(rig.mac().simAuthorization().liveReferences(), 0u);
}

TEST(MoveOffer, AnyFailingAuthorizationStepShowsTheFailureAlertAndTheLaunchGoesOn) {
    using Step = sim::SimAuthorization::Step;
    for (Step step : {Step::Create, Step::CopyRights, Step::Lookup, Step::Execute, Step::ChildCrash,
                      Step::Wait}) {
        InstallRig rig;
        rig.files().setLocalApplicationsWritable(false);
        rig.mac().simAuthorization().setFailing(step, true);
        rig.launch(std::string(kMove) + "password ok\nalert OK\n");
        const int s = int(step);
        EXPECT_EQ(rig.moveLog(), kAuthorizedCopyFailed) << s;
        EXPECT_EQ(rig.failureAlert(), "Could not move to Applications folder") << s;
        EXPECT_TRUE(rig.mac().tidraRunning()) << s;
        EXPECT_EQ(rig.mac().bundlePath(), kDownloads);
        EXPECT_TRUE(rig.exists(kDownloads));
        EXPECT_EQ(rig.mac().simAuthorization().liveReferences(), 0u) << s;
    }
}

TEST(MoveOffer, ASourceThatCannotBeRemovedNorTrashedStaysAndTheMoveGoesOn) {
    InstallRig rig;
    rig.files().setReadOnly("/Users/me/Downloads", true);
    rig.launch(kMove);
    const auto log = rig.moveLog();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[1].rfind("WARNING -- Could not delete '/Users/me/Downloads/Tidra.app': ", 0), 0u)
        << log[1];
    // Read-only for the Trash as well, whichever way it is asked.
    EXPECT_EQ(log[2].rfind("Trash AppleScript error: ", 0), 0u) << log[2];
    EXPECT_EQ(log[3], "ERROR -- Could not trash '/Users/me/Downloads/Tidra.app'");
    EXPECT_EQ(log[4],
              "WARNING -- Could not delete application after moving it to Applications folder");
    EXPECT_TRUE(rig.exists(std::string(kDownloads) + "/Contents/Info.plist"));
    EXPECT_EQ(rig.mac().bundlePath(), kApplications);
    EXPECT_TRUE(rig.mac().tidraRunning());
}

TEST(MoveOffer, ACopyThatFailsShowsTheFailureAlertAndLosesNothing) {
    InstallRig rig;
    rig.run("applications full on\n");
    EXPECT_TRUE(rig.files().isWritableFileAtPath("/Applications"));  // the plain path is taken
    rig.launch(std::string(kMove) + "alert OK\n");
    const auto log = rig.moveLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0], "INFO -- Moving myself to the Applications folder");
    EXPECT_EQ(
        log[1],
        "ERROR -- Could not copy '/Users/me/Downloads/Tidra.app' to '/Applications/Tidra.app' "
        "(Error Domain=NSCocoaErrorDomain Code=640 \"“Tidra.app” couldn’t be copied to "
        "“Applications” because there isn’t enough space.\")");
    EXPECT_EQ(log[2], "ERROR -- Could not copy myself to /Applications/Tidra.app");
    EXPECT_EQ(rig.failureAlert(), "Could not move to Applications folder");
    // The launch goes on from Downloads, whole; no half copy, no relaunch.
    EXPECT_TRUE(rig.mac().tidraRunning());
    EXPECT_EQ(rig.mac().tidraLaunches(), 1);
    EXPECT_EQ(rig.mac().bundlePath(), kDownloads);
    EXPECT_TRUE(rig.exists(std::string(kDownloads) + "/Contents/Info.plist"));
    EXPECT_FALSE(rig.exists(kApplications));
    EXPECT_FALSE(rig.exists("/Applications/.Tidra.app.incoming"));
    EXPECT_FALSE(rig.exists("/Users/me/.Trash/Tidra.app"));
    for (const auto& line : rig.mac().simTasks().history())
        EXPECT_EQ(line.find("/usr/bin/open"), std::string::npos) << line;

    // With room again the next launch moves.
    rig.run("quit\napplications full off\nlaunch\n" + std::string(kMove));
    EXPECT_EQ(rig.mac().bundlePath(), kApplications);
    EXPECT_TRUE(rig.mac().tidraRunning());
    EXPECT_FALSE(rig.exists(kDownloads));
}

TEST(MoveOffer, AStaleCopyThatCannotBeTrashedStopsTheMoveAndStaysInPlace) {
    InstallRig rig;
    installOldCopy(rig);
    const std::string marker = kMarker;
    rig.run("trash off\n");
    rig.launch(std::string(kMove) + "alert OK\n");
    const auto log = rig.moveLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0], "INFO -- Moving myself to the Applications folder");
    // Finder, the last of the three routes, failed too, and its error is what is logged.
    EXPECT_EQ(log[1].rfind("Trash AppleScript error: ", 0), 0u) << log[1];
    EXPECT_NE(log[1].find("/Applications/Tidra.app"), std::string::npos) << log[1];
    EXPECT_EQ(log[2], "ERROR -- Could not trash '/Applications/Tidra.app'");
    EXPECT_EQ(rig.failureAlert(), "Could not move to Applications folder");
    // The new copy made beside it is gone again; the stale copy and the source both stay.
    EXPECT_FALSE(rig.exists("/Applications/.Tidra.app.incoming"));
    EXPECT_TRUE(rig.exists(marker));
    EXPECT_TRUE(rig.exists(std::string(kDownloads) + "/Contents/Info.plist"));
    EXPECT_FALSE(rig.exists("/Users/me/.Trash/Tidra.app"));
    EXPECT_TRUE(rig.mac().tidraRunning());
    EXPECT_EQ(rig.mac().tidraLaunches(), 1);
    EXPECT_EQ(rig.mac().bundlePath(), kDownloads);

    // Once the Trash takes items again, the stale copy goes there and the move completes.
    rig.run("quit\ntrash on\nlaunch\n" + std::string(kMove));
    EXPECT_TRUE(rig.exists("/Users/me/.Trash/Tidra.app/old-version-marker"));
    EXPECT_FALSE(rig.exists(marker));
    EXPECT_EQ(rig.mac().bundlePath(), kApplications);
    EXPECT_TRUE(rig.mac().tidraRunning());
}

TEST(MoveOffer, ADiskImageLeftAttachedIsStillThereAtTheNextRun) {
    InstallRig rig("dmg");
    rig.launch("alert Do Not Move\n");
    ASSERT_EQ(rig.status()["volumes"].size(), 1u);
    const std::string device = rig.status()["volumes"][0]["device"];

    rig.restartMac(false);
    EXPECT_EQ(rig.mac().bundlePath(), "/Volumes/Tidra/Tidra.app");
    ASSERT_EQ(rig.status()["volumes"].size(), 1u);
    EXPECT_EQ(rig.status()["volumes"][0]["device"], device);
    rig.launch(kMove);
    // Known to lie on the image: the source stays and the image is ejected.
    EXPECT_EQ(rig.mac().bundlePath(), kApplications);
    EXPECT_TRUE(rig.exists("/Volumes/Tidra/Tidra.app/Contents/Info.plist"));
    rig.run("wait 5.2\n");
    EXPECT_TRUE(rig.status()["volumes"].empty());
    EXPECT_FALSE(rig.exists("/Volumes/Tidra"));

    // Ejected, it stays ejected.
    rig.restartMac(false);
    EXPECT_TRUE(rig.status()["volumes"].empty());
    EXPECT_EQ(rig.mac().bundlePath(), kApplications);
}

}  // namespace
}  // namespace tidra::testing
