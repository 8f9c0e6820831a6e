// Reaching Tidra on every system, 26 and 27 included: the menu opens by each secondary click a Mac
// user makes (a right click, a click with ⌃ held), a plain click toggles, and with the icon kept
// out of the menu bar opening Tidra again shows the way back while the shortcut and the links
// still work.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "sim_world.h"

namespace tidra {
namespace {

using testing::onSystem;
using testing::SimWorld;

// Whether Finder draws the desktop's icons, as the user sees it.
bool iconsShown(SimWorld& w) {
    const nlohmann::json status = w.status();
    for (const auto& f : status["finder"]["instances"])
        if (f["ready"] == true) return !f["desktopIcons"].empty();
    return false;
}

int menuOpenings(SimWorld& w) {
    return w.status()["statusItem"]["menuOpenings"];
}

// What the Settings window (shown when Tidra is opened again) says of the icon, or "(closed)".
std::string menuBarHint(SimWorld& w) {
    return testing::windowText(w, "SettingsWindow", "menuBarHint");
}

// Settings windows on screen: one at most, however often Tidra is opened again.
int settingsWindowsShown(SimWorld& w) {
    int n = 0;
    const nlohmann::json status = w.status();
    for (const auto& window : status["windows"])
        if (window["nib"] == "SettingsWindow" && window["visible"] == true) ++n;
    return n;
}

TEST(ReachingTidra, SecondaryClicksOpenTheMenuOncePlainClicksToggleOnEverySystem) {
    for (auto [major, minor] : {std::pair{10, 13}, {15, 0}, {26, 0}, {27, 1}}) {
        SCOPED_TRACE(std::to_string(major) + "." + std::to_string(minor));
        SimWorld w(onSystem(major, minor));
        w.run("popover close\n");
        ASSERT_TRUE(iconsShown(w));

        // A script's menu stays open for its next line: the line after each click sees it.
        EXPECT_NE(w.run("right-click\nchoose About Tidra\n").find("About"), std::string::npos);
        ASSERT_EQ(w.lastStatus(), 0);
        EXPECT_EQ(menuOpenings(w), 1);
        w.run("window close\nctrl-click\ndismiss\n");
        ASSERT_EQ(w.lastStatus(), 0);
        EXPECT_EQ(menuOpenings(w), 2);
        // Neither secondary click touched the desktop.
        w.run("wait 3\n");
        EXPECT_TRUE(iconsShown(w));
        EXPECT_EQ(w.defaults("com.apple.finder")["CreateDesktop"], nullptr);

        // After the menu, a plain click reaches the toggle again, and opens no menu.
        w.run("click\nwait 3\n");
        EXPECT_FALSE(iconsShown(w));
        EXPECT_EQ(w.defaults("com.apple.finder")["CreateDesktop"], false);
        EXPECT_EQ(menuOpenings(w), 2);

        // A choice made in a menu opened by a secondary click is carried out.
        w.run("menu Show That Mess\nwait 3\n");
        ASSERT_EQ(w.lastStatus(), 0);
        EXPECT_TRUE(iconsShown(w));
        EXPECT_EQ(menuOpenings(w), 3);
        EXPECT_EQ(w.status()["statusItem"]["autosaveName"], "TidraStatusItem");
    }
}

TEST(ReachingTidra, OnTwentySevenOnlyClicksOnTheIconAreTakenByTheMonitor) {
    SimWorld w(onSystem(27));
    w.run("popover close\n");
    sim::SimApplication* app = w.mac().application();
    ASSERT_NE(app, nullptr);
    // A right click elsewhere (in one of Tidra's windows) goes on as it came, and opens nothing.
    const Event elsewhere{EventType::RightMouseDown, 0, Point{10, 10}};
    const auto passed = app->passThroughMonitors(elsewhere);
    ASSERT_TRUE(passed.has_value());
    EXPECT_EQ(passed->type, EventType::RightMouseDown);
    const Event plainOnIcon{EventType::LeftMouseDown, 0, Point{1440 - 180 - 10, 900 - 20}};
    EXPECT_TRUE(app->passThroughMonitors(plainOnIcon).has_value());
    EXPECT_EQ(menuOpenings(w), 0);
}

TEST(ReachingTidra, HiddenIconLeavesAWayInAndTheShortcutAndLinksStillWork) {
    for (int major : {26, 27}) {
        SCOPED_TRACE(major);
        SimWorld w(onSystem(major));
        w.run(
            "popover close\nmenu Settings...\nshortcut record ctrl+option+cmd+D\n"
            "window close\n");
        ASSERT_EQ(w.status()["shortcut"], "⌃⌥⌘D");

        const int openings = menuOpenings(w);
        w.run("menu-bar deny Tidra\n");
        ASSERT_EQ(w.lastStatus(), 0);
        EXPECT_EQ(w.status()["statusItem"]["shownInMenuBar"], false);
        EXPECT_NE(w.run("status\n").find("hidden by the system"), std::string::npos);
        // Nothing to click: the system draws no icon.
        for (const char* click : {"click\n", "right-click\n", "ctrl-click\n", "menu Grey\n"}) {
            EXPECT_NE(w.run(click).find("not in the menu bar"), std::string::npos) << click;
            EXPECT_NE(w.lastStatus(), 0) << click;
        }
        EXPECT_EQ(menuOpenings(w), openings);
        EXPECT_EQ(w.type("status\n").find("[*]"), std::string::npos);

        // Opened again, Tidra says where to allow its icon and what still works.
        EXPECT_EQ(settingsWindowsShown(w), 0);
        w.run("open-app Tidra\n");
        ASSERT_EQ(w.lastStatus(), 0);
        EXPECT_NE(menuBarHint(w).find("System Settings › Menu Bar"), std::string::npos);
        EXPECT_NE(menuBarHint(w).find("⌃⌥⌘D"), std::string::npos);
        w.run("open-app Tidra\n");
        EXPECT_EQ(settingsWindowsShown(w), 1);  // brought forward, not a second one

        w.run("key ctrl+option+cmd+D\nwait 3\n");
        EXPECT_FALSE(iconsShown(w));
        w.run("open-url tidra://show\nwait 3\n");
        EXPECT_TRUE(iconsShown(w));
        w.run("open-url tidra://hide\nwait 3\n");
        EXPECT_FALSE(iconsShown(w));

        // The user's choice is the system's: it outlasts a restart of the Mac.
        w.restartMac();
        EXPECT_EQ(w.status()["statusItem"]["shownInMenuBar"], false);
        w.run("menu-bar allow Tidra\nopen-app Tidra\n");
        EXPECT_EQ(menuBarHint(w), "");
        w.run("click\nwait 3\n");
        EXPECT_TRUE(iconsShown(w));
    }
}

TEST(ReachingTidra, OpenAppLaunchesOrReopensAndTheSwitchCameWithTwentySix) {
    SimWorld w(onSystem(15));
    w.run("popover close\nquit\nopen-app Tidra\n");
    ASSERT_EQ(w.lastStatus(), 0);
    EXPECT_TRUE(w.mac().tidraRunning());
    EXPECT_EQ(settingsWindowsShown(w), 0);  // a launch is no reopen
    w.run("open-app tidra\n");
    EXPECT_EQ(settingsWindowsShown(w), 1);
    EXPECT_EQ(menuBarHint(w), "");
    EXPECT_EQ(w.status()["app"]["launches"], 2);

    // Another application that runs is opened again in place; a name nobody has is refused.
    w.run("open-app Safari\n");
    EXPECT_EQ(w.lastStatus(), 0);
    EXPECT_NE(w.run("open-app Nothing Here\n").find("no application named"), std::string::npos);

    EXPECT_NE(w.run("menu-bar deny Tidra\n").find("came with macOS 26"), std::string::npos);
    EXPECT_EQ(w.status()["statusItem"]["shownInMenuBar"], true);
}

TEST(ReachingTidra, AnUpdateFromFifteenKeepsWhatTidraAndTheUserStored) {
    for (int major : {26, 27}) {
        SCOPED_TRACE(major);
        sim::MacOptions options = onSystem(15);
        options.root = testing::freshTestFolder("mac").string();
        auto before = std::make_unique<SimWorld>(options);
        before->run(
            "popover close\nmenu Launch at Login\nmenu Grey\nmenu Settings...\n"
            "shortcut record ctrl+option+cmd+D\nwindow close\nclick\nwait 3\n");
        const nlohmann::json stored = before->defaults("xq.morv.Tidra");
        const nlohmann::json finder = before->defaults("com.apple.finder");
        before.reset();

        options.systemVersion = OperatingSystemVersion{major, 0, 0};
        SimWorld after(options);
        EXPECT_EQ(after.status()["system"]["version"], std::to_string(major));
        // The framework number the updated system reports at run time.
        EXPECT_EQ(after.status()["system"]["appKitVersion"], major == 26 ? 2685.0 : 2775.0);
        EXPECT_EQ(after.mac().appService().status(), AppServiceStatus::Enabled);
        EXPECT_EQ(after.defaults("com.apple.finder")["CreateDesktop"], false);
        EXPECT_FALSE(iconsShown(after));
        for (const char* key : {"launchAtLogin", "replaceWallpaper", "hotKey", "wallpapers",
                                "hasShownWelcomeMessage"})
            EXPECT_EQ(after.defaults("xq.morv.Tidra")[key], stored[key]) << key;
        EXPECT_EQ(after.defaults("com.apple.finder"), finder);
        EXPECT_EQ(after.status()["shortcut"], "⌃⌥⌘D");
    }
}

}  // namespace
}  // namespace tidra
