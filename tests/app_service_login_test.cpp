// Launch at login from macOS 13 on a simulated Mac: Service Management keeps the entry, the user's
// switch in Login Items can hold it off, and an entry made through System Events on an older
// system is taken away once.
#include <gtest/gtest.h>

#include <memory>

#include "login/login_items.h"
#include "sim_world.h"

namespace tidra {
namespace {

using testing::SimWorld;

sim::MacOptions onSystem(int major, const std::string& root = "") {
    sim::MacOptions options;
    options.bundleIn = "applications";
    options.root = root;
    options.systemVersion = OperatingSystemVersion{major, 0, 0};
    return options;
}

// The tick of "Launch at Login", as the user sees it.
int tick(SimWorld& world) {
    return testing::menuState(world, "Launch at Login");
}

int delivered(SimWorld& world, const std::string& title) {
    int count = 0;
    for (const auto& d : world.mac().simUserNotifications().delivered())
        if (d.notification.title == title) ++count;
    return count;
}

bool logHas(SimWorld& world, const std::string& line) {
    for (const auto& l : world.mac().console().lines())
        if (l.find(line) != std::string::npos) return true;
    return false;
}

TEST(AppServiceLogin, TickRegistersWithTheSystemAloneAndALaunchReadsItBack) {
    for (int major : {13, 15}) {
        SCOPED_TRACE(major);
        auto world = std::make_unique<SimWorld>(onSystem(major));
        EXPECT_EQ(tick(*world), 0);
        world->run("menu Launch at Login\n");
        ASSERT_EQ(world->lastStatus(), 0);
        EXPECT_EQ(world->mac().appService().status(), AppServiceStatus::Enabled);
        EXPECT_EQ(tick(*world), 1);
        // Announced by the system the first time only, with no permission of Tidra's needed.
        EXPECT_EQ(delivered(*world, "Background item added"), 1);
        world->run("menu Launch at Login\nmenu Launch at Login\n");
        EXPECT_EQ(delivered(*world, "Background item added"), 1);
        EXPECT_EQ(world->mac().appService().status(), AppServiceStatus::Enabled);
        // Not one System Events script, so no automation prompt.
        EXPECT_TRUE(world->mac().simAppleScript().runs().empty());
        EXPECT_TRUE(world->mac().systemEvents().loginItems().empty());

        // A stale preference does not make the tick lie: the system's answer does.
        world->run("quit\ndefaults write xq.morv.Tidra launchAtLogin -bool false\nlaunch\n");
        EXPECT_EQ(tick(*world), 1);
        world->run("menu Launch at Login\n");
        EXPECT_EQ(world->mac().appService().status(), AppServiceStatus::NotRegistered);
        world->run("quit\ndefaults write xq.morv.Tidra launchAtLogin -bool true\nlaunch\n");
        EXPECT_EQ(tick(*world), 0);
        EXPECT_TRUE(world->mac().simAppleScript().runs().empty());
    }
}

TEST(AppServiceLogin, SwitchedOffByTheUserShowsUntickedAndTellsWhereToAllowIt) {
    SimWorld world(onSystem(14));
    world.run("menu Launch at Login\n");
    world.mac().appService().setAllowed(false);
    world.run("quit\nlaunch\n");
    EXPECT_EQ(world.mac().appService().status(), AppServiceStatus::RequiresApproval);
    EXPECT_EQ(tick(world), 0);

    world.run("menu Launch at Login\nnotifications allow\n");
    EXPECT_EQ(tick(world), 0);
    EXPECT_EQ(world.mac().appService().status(), AppServiceStatus::RequiresApproval);
    EXPECT_EQ(delivered(world, "Launch at Login needs your approval"), 1);
    // The pane as macOS 14 names it (15 renamed it Login Items & Extensions).
    EXPECT_EQ(world.mac().simUserNotifications().delivered().back().notification.informativeText,
              "Tidra is switched off in System Settings › General › Login Items. Switch Tidra on "
              "there to have it start at login.");
    EXPECT_EQ(world.mac().appService().settingsOpened(), 1);
    EXPECT_NE(
        world.run("status\n").find("Opened by Tidra:\n  System Settings › General › Login Items\n"),
        std::string::npos);
    EXPECT_TRUE(logHas(world, "Launch at login waits for the user's approval in Login Items"));

    // Once the user allows it, the menu shows it ticked when it next opens.
    world.mac().appService().setAllowed(true);
    world.run("right-click\n");
    EXPECT_EQ(tick(world), 1);
    world.run("dismiss\n");
    EXPECT_EQ(world.mac().appService().status(), AppServiceStatus::Enabled);
    EXPECT_EQ(world.mac().appService().settingsOpened(), 1);
}

TEST(AppServiceLogin, RefusedChangesAreLoggedToldAndLeaveTheTickTrue) {
    SimWorld world(onSystem(13));
    world.mac().appService().setLost(true);
    EXPECT_EQ(tick(world), 0);
    world.run("menu Launch at Login\nnotifications allow\n");
    EXPECT_EQ(tick(world), 0);
    EXPECT_TRUE(logHas(world,
                       "Error when registering the login item: Error "
                       "Domain=SMAppServiceErrorDomain Code=8 \"Can't find the service.\""));
    EXPECT_EQ(delivered(world, "Launch at Login could not be changed"), 1);

    world.mac().appService().setLost(false);
    world.run("menu Launch at Login\n");
    EXPECT_EQ(tick(world), 1);
    // A service the system cannot find starts nothing: the menu shows it unticked.
    world.mac().appService().setLost(true);
    world.run("right-click\n");
    EXPECT_EQ(tick(world), 0);
    world.run("dismiss\n");
    EXPECT_FALSE(logHas(world, "Error when unregistering the login item"));
    EXPECT_EQ(delivered(world, "Launch at Login could not be changed"), 1);
}

TEST(AppServiceLogin, OnTwentySixNotFoundUnticksQuietlyAndTicksByRegistering) {
    for (int major : {26, 27}) {
        SCOPED_TRACE(major);
        SimWorld world(onSystem(major));
        world.run("popover close\nnotifications allow\n");
        // Never registered: the system answers not found, and the tick is off.
        EXPECT_EQ(world.mac().appService().status(), AppServiceStatus::NotFound);
        EXPECT_EQ(world.status()["appService"]["status"], "notFound");
        EXPECT_EQ(tick(world), 0);
        // Switched off (by a control bound to the setting) while not found: nothing to undo.
        world.run("defaults write xq.morv.Tidra launchAtLogin -bool false\n");
        EXPECT_EQ(world.mac().appService().status(), AppServiceStatus::NotFound);
        EXPECT_EQ(tick(world), 0);
        EXPECT_FALSE(logHas(world, "Error when unregistering"));
        EXPECT_EQ(delivered(world, "Launch at Login could not be changed"), 0);

        world.run("menu Launch at Login\n");
        EXPECT_EQ(world.mac().appService().status(), AppServiceStatus::Enabled);
        EXPECT_EQ(tick(world), 1);
    }
}

TEST(AppServiceLogin, TheTickFollowsWhatTheUserSwitchesInSystemSettings) {
    for (int major : {13, 26}) {
        SCOPED_TRACE(major);
        SimWorld world(onSystem(major));
        world.run("popover close\nmenu Launch at Login\n");
        ASSERT_EQ(tick(world), 1);

        // Switched off in Login Items while Tidra runs: the menu shows it when it next opens.
        world.run("app-service disable\nright-click\n");
        EXPECT_EQ(tick(world), 0);
        world.run("dismiss\n");
        EXPECT_EQ(world.defaults("xq.morv.Tidra")["launchAtLogin"], false);
        // Only the tick follows: Tidra's entry stays for the user to switch on again.
        EXPECT_EQ(world.mac().appService().status(), AppServiceStatus::RequiresApproval);
        EXPECT_EQ(delivered(world, "Launch at Login needs your approval"), 0);

        // Switched on again, and Tidra opened from Finder: the tick is back.
        world.run("app-service enable\nopen-app Tidra\n");
        EXPECT_EQ(world.defaults("xq.morv.Tidra")["launchAtLogin"], true);
        EXPECT_EQ(tick(world), 1);
        EXPECT_EQ(world.mac().appService().status(), AppServiceStatus::Enabled);
    }
}

// A Mac that ran Tidra on 12 with its System Events entry, then updated.
std::unique_ptr<SimWorld> updatedWithOldEntry(const std::string& root) {
    {
        SimWorld old(onSystem(12, root));
        old.run("menu Launch at Login\nquit\n");
        EXPECT_EQ(old.mac().systemEvents().loginItems().size(), 1u);
    }
    return std::make_unique<SimWorld>(onSystem(13, root));
}

TEST(AppServiceLogin, AnOldSystemEventsEntryGoesOnceAtTheUsersNextChange) {
    const std::string root = testing::freshTestFolder("mac").string();
    auto world = updatedWithOldEntry(root);
    // The old entry still starts Tidra: ticked, and nobody asked System Events at launch.
    EXPECT_EQ(tick(*world), 1);
    EXPECT_TRUE(world->mac().simAppleScript().runs().empty());

    world->run("menu Launch at Login\n");  // off
    EXPECT_EQ(tick(*world), 0);
    EXPECT_TRUE(world->mac().systemEvents().loginItems().empty());
    EXPECT_EQ(world->mac().appService().status(), AppServiceStatus::NotRegistered);
    const auto scripts = world->mac().simAppleScript().runs().size();
    world->run("menu Launch at Login\nquit\nlaunch\nmenu Launch at Login\nmenu Launch at Login\n");
    EXPECT_EQ(world->mac().simAppleScript().runs().size(), scripts);  // once only
    EXPECT_EQ(world->mac().appService().status(), AppServiceStatus::Enabled);
    EXPECT_TRUE(world->mac().systemEvents().loginItems().empty());
}

TEST(AppServiceLogin, AnOldEntrySystemEventsKeepsStopsTheChangeAndIsTriedAgain) {
    const std::string root = testing::freshTestFolder("mac").string();
    auto world = updatedWithOldEntry(root);
    world->run("system-events consent deny\nmenu Launch at Login\nnotifications allow\n");
    // Registering beside the entry that stays would start Tidra twice.
    EXPECT_EQ(world->mac().appService().status(), AppServiceStatus::NotRegistered);
    EXPECT_EQ(world->mac().systemEvents().loginItems().size(), 1u);
    EXPECT_EQ(tick(*world), 1);
    const auto notes = world->mac().simUserNotifications().delivered();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].notification.informativeText,
              "Tidra is not allowed to control System Events. Turn on System Events under Tidra "
              "in System Settings › Privacy & Security › Automation, then choose Launch at Login "
              "again.");

    world->run("system-events consent allow\nmenu Launch at Login\n");
    EXPECT_TRUE(world->mac().systemEvents().loginItems().empty());
    EXPECT_EQ(tick(*world), 0);
}

TEST(AppServiceLogin, FrontEndSwitchesTheUsersSettingAndShowsTheStatus) {
    SimWorld world(onSystem(13));
    EXPECT_EQ(world.status()["appService"], nlohmann::json({{"status", "notRegistered"}}));
    world.run("menu Launch at Login\napp-service disable\n");
    ASSERT_EQ(world.lastStatus(), 0);
    EXPECT_EQ(world.status()["appService"], nlohmann::json({{"status", "requiresApproval"}}));
    EXPECT_NE(world.run("status\n").find("Login item service: requiresApproval"),
              std::string::npos);
    world.run("app-service enable\n");
    EXPECT_EQ(world.status()["appService"], nlohmann::json({{"status", "enabled"}}));
    world.run("app-service maybe\n");
    EXPECT_NE(world.lastStatus(), 0);

    // Before 13 there is no such service to show or switch.
    SimWorld older(onSystem(12));
    EXPECT_TRUE(older.status()["appService"].is_null());
    EXPECT_EQ(older.run("status\n").find("Login item service"), std::string::npos);
    older.run("app-service disable\n");
    EXPECT_NE(older.lastStatus(), 0);
}

}  // namespace
}  // namespace tidra
