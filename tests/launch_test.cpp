// What a launch leaves in the stores, in which order it runs, and what a second launch changes.
#include <gtest/gtest.h>

#include "sim_world.h"

namespace tidra {
namespace {

using testing::SimWorld;

TEST(Launch, FirstLaunchSetsUpOnceAndALaterLaunchKeepsTheUsersChoice) {
    SimWorld w;
    auto app = w.defaults("xq.morv.Tidra");
    auto finder = w.defaults("com.apple.finder");
    EXPECT_EQ(finder["NSQuitAlwaysKeepsWindows"], true);
    EXPECT_EQ(app["restoreFinder"], true);
    EXPECT_EQ(app["hasSetRestoreFinderPref"], true);
    EXPECT_EQ(app["hasShownWelcomeMessage"], true);
    EXPECT_EQ(app["launchAtLogin"], false);
    EXPECT_FALSE(app.contains("replaceWallpaper"));
    EXPECT_FALSE(finder.contains("CreateDesktop"));
    EXPECT_EQ(w.status()["clean"], false);

    // The user turns window restoration off in Finder's domain; a later launch adopts it.
    w.run("quit\ndefaults write com.apple.finder NSQuitAlwaysKeepsWindows -bool false\n");
    w.restartMac();
    EXPECT_EQ(w.defaults("com.apple.finder")["NSQuitAlwaysKeepsWindows"], false);
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["restoreFinder"], false);
    EXPECT_EQ(w.status()["app"]["launches"], 1);

    // Unticking the menu item writes the store; the observer copies it into Finder's domain.
    w.run("menu Restore Finder Windows\n");
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["restoreFinder"], true);
    EXPECT_EQ(w.defaults("com.apple.finder")["NSQuitAlwaysKeepsWindows"], true);
    EXPECT_EQ(w.status()["menu"][5]["state"], 1);
}

TEST(Launch, FinderDomainOutOfReachAtFirstLaunchIsNeverRetried) {
    SimWorld w;
    w.run(
        "quit\ndefaults delete xq.morv.Tidra\ndefaults delete com.apple.finder\n"
        "finder domain off\nlaunch\nfinder domain on\n");
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["hasSetRestoreFinderPref"], true);
    EXPECT_FALSE(w.defaults("xq.morv.Tidra").contains("restoreFinder"));
    EXPECT_FALSE(w.defaults("com.apple.finder").contains("NSQuitAlwaysKeepsWindows"));
    w.run("quit\nlaunch\n");
    EXPECT_FALSE(w.defaults("com.apple.finder").value("NSQuitAlwaysKeepsWindows", false));
}

TEST(Launch, WakeUpRunsBeforeTheDelegatesLaunchCallbacks) {
    // Tidra from Downloads: the move offer's alert is shown at launch, and by then the status
    // item and the first-run writes already exist.
    sim::MacOptions options;
    options.bundleIn = "downloads";
    SimWorld w(options);
    std::string out = w.run("status --json\n");
    auto s = nlohmann::json::parse(out.substr(out.find('{')));
    EXPECT_EQ(s["statusItem"]["image"], "statusIconDirty");
    EXPECT_EQ(s["defaults"]["xq.morv.Tidra"]["hasSetRestoreFinderPref"], true);
}

}  // namespace
}  // namespace tidra
