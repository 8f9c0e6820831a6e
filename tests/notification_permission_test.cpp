// From macOS 10.14 Tidra's notifications wait for the user's permission; before, they show at
// once. A refusal shows nothing and is logged once.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "notices/permitted_notifications.h"
#include "sim_world.h"

namespace tidra {
namespace {

using testing::onSystem;
using testing::SimWorld;

constexpr const char* kImport =
    "menu Wallpaper > Custom Image…\npanel choose ~/Pictures/Mountains.jpg\n";

long refusalLines(SimWorld& w) {
    const auto log = w.status()["log"];
    return std::count_if(log.begin(), log.end(), [](const nlohmann::json& line) {
        return line.get<std::string>().find("Notifications are turned off for Tidra") !=
               std::string::npos;
    });
}

TEST(NotificationPermission, AskedOnceThenAnsweredFromTheUsersSetting) {
    for (const auto& [major, minor] : {std::pair{10, 15}, std::pair{14, 0}}) {
        SimWorld w(onSystem(major, minor));
        EXPECT_EQ(w.status()["notificationAuthorization"], "notDetermined");
        std::string out = w.run(kImport);
        ASSERT_EQ(w.lastStatus(), 0) << out;
        // The notification waits for the answer.
        EXPECT_TRUE(w.status()["notifications"].empty());
        EXPECT_NE(w.run("status\n").find("Notifications permission: notDetermined (Tidra asks"),
                  std::string::npos);
        out = w.run("notifications allow\n");
        ASSERT_EQ(w.lastStatus(), 0) << out;
        ASSERT_EQ(w.status()["notifications"].size(), 1u);
        EXPECT_EQ(w.status()["notifications"][0]["presented"], true);
        EXPECT_EQ(w.status()["notificationAuthorization"], "authorized");

        // Nobody is asked again, after a relaunch and a restart of the Mac as well.
        w.restartMac();
        w.run(kImport);
        EXPECT_EQ(w.status()["notifications"].size(), 1u);  // this start of the Mac's
        // With no question on screen the answer is the switch in System Settings.
        w.run("notifications allow\n");
        EXPECT_EQ(w.lastStatus(), 0);
        EXPECT_EQ(w.status()["notificationAuthorization"], "authorized");
    }
}

TEST(NotificationPermission, RefusedShowsNothingAndIsLoggedOnce) {
    SimWorld w(onSystem(13, 0));
    w.run(std::string(kImport) + "notifications deny\n");
    EXPECT_TRUE(w.status()["notifications"].empty());
    EXPECT_EQ(w.status()["notificationAuthorization"], "denied");
    EXPECT_EQ(refusalLines(w), 1);
    w.run(kImport);
    EXPECT_TRUE(w.status()["notifications"].empty());
    EXPECT_EQ(refusalLines(w), 1);
    // A changed mind in System Settings › Notifications counts from the next notice on.
    w.run("notifications allow\n");
    ASSERT_EQ(w.lastStatus(), 0);
    EXPECT_EQ(w.status()["notificationAuthorization"], "authorized");
    w.run(kImport);
    EXPECT_EQ(w.status()["notifications"].size(), 1u);
    // The import itself went through.
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["replaceWallpaper"],
              "~/Library/Application Support/Tidra/Mountains.jpg");
}

TEST(NotificationPermission, BeforeMojaveNobodyIsAsked) {
    SimWorld w(onSystem(10, 13));
    w.run(kImport);
    ASSERT_EQ(w.status()["notifications"].size(), 1u);
    EXPECT_EQ(w.status()["notificationAuthorization"], "authorized");
    EXPECT_EQ(w.run("status\n").find("Notifications permission"), std::string::npos);
}

}  // namespace
}  // namespace tidra

namespace tidra {
namespace {

// macOS 26 stops an application that asks before launching has finished; a notice from before
// then waits for it, and is then asked for and shown.
TEST(NotificationPermission, NothingIsAskedBeforeLaunchingHasFinished) {
    sim::Mac mac([] {
        sim::MacOptions options;
        options.root = testing::freshTestFolder("mac").string();
        options.systemVersion = OperatingSystemVersion{26, 0, 0};
        return options;
    }());
    sim::SimUserNotificationCenter& center = mac.simUserNotifications();
    auto early = std::make_shared<PermittedNotifications>(center, mac.console());
    early->deliverNotification(
        UserNotification{"Early", "Before the launch finished", true, false, ""});
    EXPECT_FALSE(center.asking());
    EXPECT_TRUE(center.delivered().empty());

    early->launchFinished();
    EXPECT_TRUE(center.asking());
    center.answer(true);
    ASSERT_EQ(center.delivered().size(), 1u);
    EXPECT_EQ(center.delivered()[0].notification.title, "Early");

    // And a Tidra that launches on 26 runs on, its first notice asked for after the launch.
    testing::SimWorld w(onSystem(26, 0));
    EXPECT_TRUE(w.mac().tidraRunning());
    w.run(kImport);
    EXPECT_TRUE(w.mac().tidraRunning());
    EXPECT_TRUE(w.mac().simUserNotifications().asking());
}

}  // namespace
}  // namespace tidra
