// Plugging a display in hides the desktop and unplugging one brings it back, when the user asked
// for it, on a simulated Mac whose displays come and go through the front end.
#include <gtest/gtest.h>

#include <algorithm>

#include "sim_world.h"

namespace tidra {
namespace {

using testing::SimWorld;

constexpr const char* kTriggerOn =
    "defaults write xq.morv.Tidra externalScreenTrigger -bool true\n";
constexpr const char* kDisconnectOn =
    "defaults write xq.morv.Tidra externalScreenDisconnect -bool true\n";

std::string icon(SimWorld& w) {
    return w.status()["statusItem"]["image"];
}
std::string toggleTitle(SimWorld& w) {
    return w.status()["menu"][0]["title"];
}
int finderLaunches(SimWorld& w) {
    return w.status()["finder"]["launches"];
}
nlohmann::json createDesktop(SimWorld& w) {
    return w.defaults("com.apple.finder")["CreateDesktop"];
}

TEST(DisplayTrigger, ConnectingHidesTheDesktopAndDisconnectingShowsIt) {
    SimWorld w;
    std::string out = w.run(std::string(kTriggerOn) + "display add\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    // The icon and the toggle title say what Finder draws: they change once it is back.
    EXPECT_EQ(icon(w), "statusIconDirty");
    EXPECT_EQ(toggleTitle(w), "Tidra That Mess!");
    EXPECT_EQ(w.status()["clean"], false);
    EXPECT_EQ(createDesktop(w), false);
    EXPECT_EQ(finderLaunches(w), 1);

    w.run("wait 3\n");
    auto s = w.status();
    EXPECT_EQ(s["clean"], true);
    EXPECT_EQ(s["statusItem"]["image"], "statusIconClean");
    ASSERT_EQ(s["finder"]["instances"].size(), 1u);
    EXPECT_TRUE(s["finder"]["instances"][0]["desktopIcons"].empty());
    EXPECT_EQ(s["finder"]["launches"], 2);

    // Unplugging shows nothing back until the user asks for that too.
    w.run("display remove 2\nwait 3\n");
    EXPECT_EQ(w.status()["clean"], true);
    EXPECT_EQ(icon(w), "statusIconClean");
    EXPECT_EQ(finderLaunches(w), 2);

    out = w.run(std::string(kDisconnectOn) + "display add\ndisplay remove 2\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_EQ(icon(w), "statusIconClean");
    EXPECT_EQ(toggleTitle(w), "Show That Mess");
    EXPECT_EQ(w.status()["clean"], true);
    EXPECT_EQ(createDesktop(w), true);

    w.run("wait 3\n");
    s = w.status();
    EXPECT_EQ(s["clean"], false);
    EXPECT_EQ(s["statusItem"]["image"], "statusIconDirty");
    EXPECT_FALSE(s["finder"]["instances"][0]["desktopIcons"].empty());
    EXPECT_EQ(s["finder"]["launches"], 3);
}

TEST(DisplayTrigger, TwoDisplaysAtOnceRestartFinderOnceAndARelaunchListensAgain) {
    SimWorld w;
    // The second display is seen before Finder is back: the restart under way already hides.
    w.run(std::string(kTriggerOn) + "display add\ndisplay add\nwait 3\n");
    auto s = w.status();
    EXPECT_EQ(s["clean"], true);
    EXPECT_EQ(s["finder"]["launches"], 2);
    EXPECT_EQ(s["finder"]["instances"].size(), 1u);

    // A quit Tidra hears nothing, and the next launch listens again.
    std::string out = w.run(std::string(kDisconnectOn) +
                            "quit\nwait 1\ndisplay remove 3\nwait 3\nlaunch\nwait 3\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_EQ(w.status()["clean"], true);
    EXPECT_EQ(createDesktop(w), false);
    EXPECT_EQ(finderLaunches(w), 2);

    w.run("display remove 2\nwait 3\n");
    s = w.status();
    EXPECT_EQ(s["clean"], false);
    EXPECT_EQ(s["finder"]["launches"], 3);
    EXPECT_EQ(s["finder"]["instances"].size(), 1u);
}

TEST(DisplayTrigger, DisplaysChangeNothingUnlessAskedToAndNeededTo) {
    struct Case {
        const char* name;
        std::string setUp;
        const char* displays;
        bool clean;
        int finderLaunches;
    };
    const std::string hidden = "click\nwait 3\n";
    const Case cases[] = {
        {"neither preference, shown", "", "display add\ndisplay remove 2\nwait 3\n", false, 1},
        {"neither preference, hidden", hidden,
         "display add\ndisplay add\ndisplay remove 2\ndisplay remove 3\nwait 3\n", true, 2},
        {"both explicitly false, hidden",
         "defaults write xq.morv.Tidra externalScreenTrigger -bool false\n"
         "defaults write xq.morv.Tidra externalScreenDisconnect -bool false\n" +
             hidden,
         "display add\ndisplay remove 2\nwait 3\n", true, 2},
        {"disconnect only, shown", kDisconnectOn, "display add\ndisplay remove 2\nwait 3\n", false,
         1},
        {"trigger only, unplugged while hidden", kTriggerOn + hidden,
         "display add\ndisplay remove 2\nwait 3\n", true, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimWorld w;
        RUN_OK(w, c.setUp + c.displays);
        auto s = w.status();
        EXPECT_EQ(s["clean"], c.clean);
        EXPECT_EQ(s["statusItem"]["image"], c.clean ? "statusIconClean" : "statusIconDirty");
        EXPECT_EQ(s["finder"]["launches"], c.finderLaunches);
        if (c.clean) {
            EXPECT_EQ(createDesktop(w), false);
        } else {
            EXPECT_NE(createDesktop(w), false);
        }
    }
}

TEST(DisplayTrigger, TheIconKeepsSayingWhatFinderDrawsWhenFinderDeclinesToQuit) {
    SimWorld w;
    // Finder declines to quit after an unplug: the icon goes on saying what Finder draws.
    RUN_OK(w, std::string(kDisconnectOn) +
                  "click\nwait 3\nfinder refuse on\ndisplay add\ndisplay remove 2\nwait 3\n");
    EXPECT_EQ(w.status()["clean"], true);
    EXPECT_EQ(icon(w), "statusIconClean");
    EXPECT_EQ(createDesktop(w), true);

    // Plugged in again before Tidra stops waiting for it: once it does, the stored value goes
    // back to what Finder still draws, so that its next start holds no surprise.
    RUN_OK(w, std::string(kTriggerOn) + "display add\nwait 10\n");
    auto s = w.status();
    EXPECT_EQ(s["clean"], true);
    EXPECT_EQ(s["statusItem"]["image"], "statusIconClean");
    EXPECT_EQ(s["menu"][0]["title"], "Show That Mess");
    EXPECT_EQ(createDesktop(w), false);
    EXPECT_EQ(s["finder"]["launches"], 2);
}

TEST(DisplayTrigger, FinderDomainOutOfReachLogsAndTheIconStaysTrue) {
    SimWorld w;
    std::string out = w.run(std::string(kTriggerOn) + "finder domain off\ndisplay add\nwait 3\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    auto s = w.status();
    ASSERT_FALSE(s["log"].empty());
    EXPECT_EQ(s["log"].back(), "Could not get Finder defaults");
    // Nothing was written and nothing restarts: the icon and the toggle say what is.
    EXPECT_EQ(s["statusItem"]["image"], "statusIconDirty");
    EXPECT_EQ(s["menu"][0]["title"], "Tidra That Mess!");
    EXPECT_EQ(s["clean"], false);
    EXPECT_EQ(s["finder"]["launches"], 1);
    EXPECT_FALSE(s["finder"]["instances"][0]["desktopIcons"].empty());

    // Finder was left alone and its CreateDesktop untouched.
    w.run("finder domain on\n");
    EXPECT_NE(createDesktop(w), false);
    const auto log = w.status()["log"];
    EXPECT_EQ(std::count(log.begin(), log.end(), "Could not get Finder defaults"), 1);

    // The toggle does what its title says; unplugging with the domain out of reach again leaves
    // the icon on hidden.
    out = w.run(std::string(kDisconnectOn) + "menu Tidra That Mess!\nwait 3\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_EQ(w.status()["clean"], true);
    w.run("finder domain off\ndisplay remove 2\nwait 3\n");
    s = w.status();
    EXPECT_EQ(s["statusItem"]["image"], "statusIconClean");
    EXPECT_EQ(s["menu"][0]["title"], "Show That Mess");
    EXPECT_EQ(s["clean"], true);
}

}  // namespace
}  // namespace tidra
