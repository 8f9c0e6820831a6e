// Plugging a display in hides the desktop and unplugging one brings it back, when the user asked
// for it, on a simulated Mac whose displays come and go through the front end.
#include "desktop/display_trigger.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "platform/screens.h"
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

void event(SimWorld& w, std::uint32_t display, std::uint32_t flags) {
    displayReconfigurationCallback(display, flags,
                                   static_cast<DisplayTriggerTarget*>(w.controller()));
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

TEST(DisplayTrigger, NothingHappensWhenTheDesktopIsAlreadyAsWanted) {
    SimWorld w;
    // Icons shown and only the disconnect trigger on: neither plugging nor unplugging acts.
    w.run(std::string(kDisconnectOn) + "display add\ndisplay remove 2\nwait 3\n");
    EXPECT_EQ(icon(w), "statusIconDirty");
    EXPECT_EQ(finderLaunches(w), 1);
    EXPECT_NE(createDesktop(w), false);

    // Finder declines to quit after an unplug: the icon goes on saying what Finder draws.
    w.run("click\nwait 3\nfinder refuse on\ndisplay add\ndisplay remove 2\nwait 3\n");
    EXPECT_EQ(w.status()["clean"], true);
    EXPECT_EQ(icon(w), "statusIconClean");
    EXPECT_EQ(createDesktop(w), true);

    // Plugged in again before Tidra stops waiting for it: once it does, the stored value goes
    // back to what Finder still draws, so that its next start holds no surprise.
    w.run(std::string(kTriggerOn) + "display add\nwait 10\n");
    auto s = w.status();
    EXPECT_EQ(s["clean"], true);
    EXPECT_EQ(s["statusItem"]["image"], "statusIconClean");
    EXPECT_EQ(s["menu"][0]["title"], "Show That Mess");
    EXPECT_EQ(createDesktop(w), false);
    EXPECT_EQ(s["finder"]["launches"], 2);
}

TEST(DisplayTrigger, WithoutEitherPreferenceDisplaysChangeNothing) {
    SimWorld w;
    w.run("display add\ndisplay remove 2\nwait 3\n");
    auto s = w.status();
    EXPECT_EQ(s["clean"], false);
    EXPECT_EQ(s["statusItem"]["image"], "statusIconDirty");
    EXPECT_EQ(s["finder"]["launches"], 1);
    EXPECT_NE(createDesktop(w), false);

    w.run("click\nwait 3\ndisplay add\ndisplay add\ndisplay remove 2\ndisplay remove 3\nwait 3\n");
    s = w.status();
    EXPECT_EQ(s["clean"], true);
    EXPECT_EQ(s["statusItem"]["image"], "statusIconClean");
    EXPECT_EQ(s["finder"]["launches"], 2);
    EXPECT_EQ(createDesktop(w), false);

    // Explicitly false is the same as absent.
    w.run(
        "defaults write xq.morv.Tidra externalScreenTrigger -bool false\n"
        "defaults write xq.morv.Tidra externalScreenDisconnect -bool false\n"
        "display add\ndisplay remove 2\nwait 3\n");
    EXPECT_EQ(w.status()["clean"], true);
    EXPECT_EQ(finderLaunches(w), 2);
}

TEST(DisplayTrigger, OnlyTheAddAndRemoveBitsCountAndAddWinsOverRemove) {
    SimWorld w;
    w.run(std::string(kTriggerOn) + kDisconnectOn);
    // The announcement before a change, and every other kind of change, are ignored.
    const std::uint32_t otherBits =
        kDisplayBeginConfigurationFlag | 2 | 4 | 8 | 64 | 128 | 256 | 512 | 1024 | 2048 | 4096;
    event(w, 1, kDisplayBeginConfigurationFlag);
    event(w, 1, otherBits);
    w.run("wait 3\n");
    EXPECT_EQ(icon(w), "statusIconDirty");
    EXPECT_EQ(finderLaunches(w), 1);
    EXPECT_NE(createDesktop(w), false);

    // Both bits while shown: hidden, as for a plain addition.
    event(w, 2, kDisplayAddFlag | kDisplayRemoveFlag);
    EXPECT_EQ(createDesktop(w), false);
    w.run("wait 3\n");
    EXPECT_EQ(w.status()["clean"], true);
    EXPECT_EQ(finderLaunches(w), 2);

    // Both bits while hidden: the removal is never looked at, so the desktop stays hidden.
    event(w, 2, kDisplayAddFlag | kDisplayRemoveFlag);
    event(w, 2, kDisplayBeginConfigurationFlag);
    w.run("wait 3\n");
    EXPECT_EQ(w.status()["clean"], true);
    EXPECT_EQ(icon(w), "statusIconClean");
    EXPECT_EQ(createDesktop(w), false);
    EXPECT_EQ(finderLaunches(w), 2);

    // Not even when the addition itself is turned off.
    w.run("defaults delete xq.morv.Tidra externalScreenTrigger\n");
    event(w, 2, kDisplayAddFlag | kDisplayRemoveFlag | otherBits);
    w.run("wait 3\n");
    EXPECT_EQ(w.status()["clean"], true);
    EXPECT_EQ(finderLaunches(w), 2);

    // The removal bit with other bits beside it is still a removal.
    event(w, 2, kDisplayRemoveFlag | otherBits);
    EXPECT_EQ(createDesktop(w), true);
    w.run("wait 3\n");
    EXPECT_EQ(w.status()["clean"], false);
    EXPECT_EQ(finderLaunches(w), 3);
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
