// One click hides the desktop, another brings everything back, on a brand-new simulated Mac.
#include <gtest/gtest.h>

#include "sim_world.h"

namespace tidra {
namespace {

using testing::SimWorld;

TEST(Toggle, ClickHidesThenShowsTheDesktopAndFinderKeepsItsWindows) {
    SimWorld w;
    auto s = w.status();
    EXPECT_EQ(s["statusItem"]["image"], "statusIconDirty");
    EXPECT_EQ(s["statusItem"]["title"], "Tidra");
    EXPECT_EQ(s["statusItem"]["template"], true);
    EXPECT_EQ(s["menu"][0]["title"], "Tidra That Mess!");

    w.run("wait 2\nclick\n");
    // Nothing changes before Finder has gone and come back.
    EXPECT_EQ(w.status()["statusItem"]["image"], "statusIconDirty");
    EXPECT_EQ(w.defaults("com.apple.finder")["CreateDesktop"], false);

    w.run("wait 3\n");
    s = w.status();
    EXPECT_EQ(s["clean"], true);
    EXPECT_EQ(s["statusItem"]["image"], "statusIconClean");
    EXPECT_EQ(s["menu"][0]["title"], "Show That Mess");
    ASSERT_EQ(s["finder"]["instances"].size(), 1u);
    EXPECT_TRUE(s["finder"]["instances"][0]["desktopIcons"].empty());
    EXPECT_EQ(s["finder"]["instances"][0]["windows"], nlohmann::json({"Documents", "Downloads"}));
    EXPECT_EQ(s["finder"]["launches"], 2);

    w.run("finder open Pictures\nclick\nwait 3\n");
    s = w.status();
    EXPECT_EQ(s["clean"], false);
    EXPECT_EQ(s["statusItem"]["image"], "statusIconDirty");
    EXPECT_EQ(w.defaults("com.apple.finder")["CreateDesktop"], true);
    EXPECT_FALSE(s["finder"]["instances"][0]["desktopIcons"].empty());
    EXPECT_EQ(s["finder"]["instances"][0]["windows"],
              nlohmann::json({"Documents", "Downloads", "Pictures"}));
}

TEST(Toggle, RightClickOpensTheMenuAndLeftClickStillTogglesAfterwards) {
    SimWorld w;
    std::string out = w.run("right-click\nstatus --json\ndismiss\nclick\nwait 3\n");
    EXPECT_EQ(w.lastStatus(), 0) << out;
    EXPECT_NE(out.find("\"menuOpen\":true"), std::string::npos);
    EXPECT_EQ(w.status()["clean"], true);
    EXPECT_EQ(w.status()["statusItem"]["menuAttached"], false);

    // The toggle item of the menu does what the click does.
    w.run("menu Show That Mess\nwait 3\n");
    EXPECT_EQ(w.status()["clean"], false);
    // A command other than an answer is refused while the menu is open, and the menu stays.
    std::string refused = w.run("right-click\nclick\n");
    EXPECT_EQ(w.lastStatus(), 2);
    EXPECT_NE(refused.find("the status menu is open"), std::string::npos) << refused;
}

TEST(Toggle, ThemeChangesSwitchOnlyTheClutteredIcon) {
    SimWorld w;
    w.run("theme dark\n");
    EXPECT_EQ(w.status()["statusItem"]["image"], "statusIconDirtyDark");
    w.run("theme light\n");
    EXPECT_EQ(w.status()["statusItem"]["image"], "statusIconDirty");
    w.run("theme dark\nclick\nwait 3\n");
    EXPECT_EQ(w.status()["statusItem"]["image"], "statusIconClean");
    w.run("theme light\n");
    EXPECT_EQ(w.status()["statusItem"]["image"], "statusIconClean");
}

TEST(Toggle, QuitLeavesTheDesktopAsItIsAndALaunchReadsItBack) {
    SimWorld w;
    w.run("click\nwait 3\nquit\nwait 5\n");
    auto s = w.status();
    EXPECT_EQ(s["app"]["running"], false);
    EXPECT_EQ(s["statusItem"], nullptr);
    EXPECT_EQ(w.defaults("com.apple.finder")["CreateDesktop"], false);
    EXPECT_TRUE(s["finder"]["instances"][0]["desktopIcons"].empty());

    // Finder goes on without Tidra: quitting it now is not followed by a relaunch.
    w.run("finder quit\nwait 3\n");
    EXPECT_TRUE(w.status()["finder"]["instances"].empty());
    w.run("app quit com.apple.Safari\nlaunch\n");
    s = w.status();
    EXPECT_EQ(s["app"]["launches"], 2);
    EXPECT_EQ(s["statusItem"]["image"], "statusIconClean");
    // The launch starts Finder, which comes back without icons.
    w.run("wait 3\n");
    EXPECT_EQ(w.status()["clean"], true);
}

TEST(Toggle, FinderFaultsLeaveTheStateConsistent) {
    SimWorld w;
    // Finder declines to quit: the preference keeps the new value, nothing else changes.
    w.run("finder refuse on\nclick\nwait 5\n");
    EXPECT_EQ(w.defaults("com.apple.finder")["CreateDesktop"], false);
    EXPECT_EQ(w.status()["clean"], false);
    EXPECT_EQ(w.status()["finder"]["launches"], 1);

    // A quit by other means is followed by a relaunch, and the refresh adopts the stored value.
    w.run("finder refuse off\nfinder crash\nwait 3\n");
    EXPECT_EQ(w.status()["clean"], true);
    EXPECT_EQ(w.status()["finder"]["instances"].size(), 1u);

    // Two Finders: only the first is asked to quit; the relaunch finds the second one running
    // and starts no third.
    w.run("finder spawn\nwait 2\nclick\nwait 3\n");
    auto s = w.status();
    EXPECT_EQ(w.defaults("com.apple.finder")["CreateDesktop"], true);
    EXPECT_EQ(s["statusItem"]["image"], "statusIconDirty");
    ASSERT_EQ(s["finder"]["instances"].size(), 1u);
    EXPECT_EQ(s["finder"]["launches"], 3);
    // The second Finder draws what it started with until it ends: the system's leftover.
    EXPECT_EQ(s["clean"], true);

    // Another application ending changes nothing.
    w.run("app quit com.apple.mail\nwait 1\n");
    EXPECT_EQ(w.status()["statusItem"]["image"], "statusIconDirty");
    EXPECT_EQ(w.defaults("com.apple.finder")["CreateDesktop"], true);
}

}  // namespace
}  // namespace tidra
