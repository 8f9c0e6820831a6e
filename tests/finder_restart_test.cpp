// What happens when the user or a display asks again while Finder is restarting, and when a
// restart goes wrong, on a simulated Mac on its virtual clock. Finder takes half a second to quit,
// is started a little after, and draws its desktop a second later.
#include <gtest/gtest.h>

#include <algorithm>

#include "sim_world.h"

namespace tidra {
namespace {

using nlohmann::json;
using testing::SimWorld;

const json kAllWindows = {"Documents", "Downloads", "Pictures"};

// The status icon and `status` agree with what Finder draws.
void expectShowsWhatFinderDraws(SimWorld& w, bool clean) {
    auto s = w.status();
    EXPECT_EQ(s["clean"], clean);
    EXPECT_EQ(s["statusItem"]["image"], clean ? "statusIconClean" : "statusIconDirty");
    EXPECT_EQ(s["menu"][0]["title"], clean ? "Show That Mess" : "Tidra That Mess!");
    ASSERT_EQ(s["finder"]["instances"].size(), 1u);
    EXPECT_EQ(s["finder"]["instances"][0]["desktopIcons"].empty(), clean);
}

bool logged(SimWorld& w, const std::string& line) {
    auto log = w.status()["log"];
    return std::find(log.begin(), log.end(), line) != log.end();
}

TEST(FinderRestart, ASecondClickWhileFinderQuitsOrStartsRestartsNothingMore) {
    // While Finder quits.
    SimWorld w;
    w.run("finder open Pictures\nclick\nwait 0.2\nclick\nwait 5\n");
    expectShowsWhatFinderDraws(w, true);
    EXPECT_EQ(w.status()["finder"]["launches"], 2);
    EXPECT_EQ(w.status()["finder"]["instances"][0]["windows"], kAllWindows);

    // Finder gone, its successor not started yet: the icon still says what was last drawn.
    w.run("click\nwait 0.6\n");
    EXPECT_TRUE(w.status()["finder"]["instances"].empty());
    EXPECT_EQ(w.status()["statusItem"]["image"], "statusIconClean");
    w.run("click\nwait 5\n");
    expectShowsWhatFinderDraws(w, false);
    EXPECT_EQ(w.status()["finder"]["launches"], 3);
    EXPECT_EQ(w.status()["finder"]["instances"][0]["windows"], kAllWindows);

    // Finder started but not drawing yet: it is not asked to quit before it has reopened its
    // windows.
    w.run("click\nwait 1\n");
    ASSERT_EQ(w.status()["finder"]["instances"].size(), 1u);
    EXPECT_EQ(w.status()["finder"]["instances"][0]["ready"], false);
    w.run("click\nwait 5\n");
    expectShowsWhatFinderDraws(w, true);
    EXPECT_EQ(w.status()["finder"]["launches"], 4);
    EXPECT_EQ(w.status()["finder"]["instances"][0]["windows"], kAllWindows);
    EXPECT_EQ(w.defaults("com.apple.finder")["CreateDesktop"], false);
}

TEST(FinderRestart, StartsWhileTheOldFinderStillQuitsLeaveOneFinder) {
    SimWorld w;
    // The user opens Finder again while the one Tidra asked to quit is still quitting.
    w.run("click\nwait 0.2\nfinder spawn\nwait 0.1\n");
    EXPECT_EQ(w.status()["finder"]["instances"].size(), 2u);
    EXPECT_EQ(w.status()["statusItem"]["image"], "statusIconDirty");
    // The old one ends; the new one, started after the write, draws no icons, and Tidra starts
    // no third Finder nor asks the new one to quit.
    w.run("wait 5\n");
    expectShowsWhatFinderDraws(w, true);
    EXPECT_EQ(w.status()["finder"]["launches"], 2);
    w.run("wait 15\n");
    EXPECT_EQ(w.status()["finder"]["launches"], 2);
    EXPECT_FALSE(logged(w, "Finder did not come back within 10 seconds: starting it"));

    // And back: one restart of the Finder that stayed.
    w.run("click\nwait 5\n");
    expectShowsWhatFinderDraws(w, false);
    EXPECT_EQ(w.status()["finder"]["launches"], 3);

    // Tidra itself starting while Finder still quits: Finder is running, so nothing is started
    // then, and its end brings it back.
    w.run("click\nwait 0.2\nquit\nlaunch\n");
    EXPECT_FALSE(logged(w, "Finder was not running: starting it"));
    w.run("wait 5\n");
    expectShowsWhatFinderDraws(w, true);
    EXPECT_EQ(w.status()["finder"]["launches"], 4);
}

TEST(FinderRestart, TheLatestWishMadeMeanwhileIsCarriedOutOnceFinderIsBack) {
    SimWorld w;
    w.run(
        "display add\n"
        "defaults write xq.morv.Tidra externalScreenDisconnect -bool true\n"
        "finder open Pictures\n");
    // A hide, then a display unplugged before Finder is back: shown in the end.
    w.run("click\nwait 0.2\ndisplay remove 2\nwait 0.1\n");
    EXPECT_EQ(w.status()["statusItem"]["image"], "statusIconDirty");
    w.run("wait 1.6\n");
    // Back without icons for a moment, and the icon says so.
    expectShowsWhatFinderDraws(w, true);
    w.run("wait 5\n");
    expectShowsWhatFinderDraws(w, false);
    EXPECT_EQ(w.status()["finder"]["launches"], 3);
    EXPECT_EQ(w.status()["finder"]["instances"][0]["windows"], kAllWindows);

    // A hide, an unplugged display, a click again: only the last wish counts, and one
    // restart does it.
    w.run("display add Studio\nclick\nwait 0.2\ndisplay remove 3\nwait 0.7\nclick\nwait 8\n");
    expectShowsWhatFinderDraws(w, true);
    EXPECT_EQ(w.status()["finder"]["launches"], 4);

    // A display plugged in while hidden and headed nowhere else changes nothing.
    w.run(
        "defaults write xq.morv.Tidra externalScreenTrigger -bool true\n"
        "display add Projector\nwait 5\n");
    expectShowsWhatFinderDraws(w, true);
    EXPECT_EQ(w.status()["finder"]["launches"], 4);
    EXPECT_EQ(w.status()["finder"]["instances"][0]["windows"], kAllWindows);
}

int finderLaunches(SimWorld& w) {
    return w.status()["finder"]["launches"];
}

TEST(FinderRestart, AnExplicitHideOrShowMadeMeanwhileIsTheLatestWishAndEndsWhereItAsked) {
    SimWorld w;
    // A show right after a hide: Finder comes back without icons, then once more with them, its
    // windows each time, and the log says why.
    w.run("finder open Pictures\nopen-url tidra://hide\nopen-url tidra://show\nwait 8\n");
    expectShowsWhatFinderDraws(w, false);
    EXPECT_EQ(w.defaults("com.apple.finder")["CreateDesktop"], true);
    EXPECT_EQ(finderLaunches(w), 3);
    EXPECT_EQ(w.status()["finder"]["instances"][0]["windows"], kAllWindows);
    EXPECT_TRUE(logged(w,
                       "Finder is back; the wish made while it restarted was to show the icons: "
                       "it restarts once more"));

    // A hundred hide and show pairs: shown in the end, after one further restart at most.
    std::string pairs;
    for (int i = 0; i < 100; ++i) pairs += "open-url tidra://hide\nopen-url tidra://show\n";
    w.run(pairs + "wait 8\n");
    expectShowsWhatFinderDraws(w, false);
    EXPECT_EQ(finderLaunches(w), 5);
    EXPECT_TRUE(logged(w,
                       "Finder is back; the last of 199 wishes made while it restarted was to "
                       "show the icons: it restarts once more"));

    // Bursts of 200 in any order end on the last wish, with at most one further restart; the
    // menu's toggle item is as explicit as a URL and says what it does.
    unsigned seed = 31;
    for (int burst = 0; burst < 6; ++burst) {
        SCOPED_TRACE(burst);
        const bool before = w.status()["clean"];
        const int launches = finderLaunches(w);
        std::string lines;
        bool lastHides = before;
        for (int i = 0; i < 200; ++i) {
            seed = seed * 1103515245u + 12345u;
            lastHides = (seed >> 16) & 1;
            lines += lastHides ? "open-url tidra://hide\n" : "open-url tidra://show\n";
        }
        if (burst == 5) {
            // The item reads what Finder draws until it is back: the opposite of that.
            lines += before ? "menu Show That Mess\n" : "menu Tidra That Mess!\n";
            lastHides = !before;
        }
        w.run(lines + "wait 12\n");
        expectShowsWhatFinderDraws(w, lastHides);
        EXPECT_EQ(w.defaults("com.apple.finder")["CreateDesktop"], !lastHides);
        EXPECT_LE(finderLaunches(w), launches + 2);
    }

    // A click still means the opposite of what the icon shows, which changes only once Finder
    // is back: a click after a show asked for meanwhile hides, as the first click did.
    w.run("open-url tidra://show\nwait 8\n");
    const int launches = finderLaunches(w);
    w.run("click\nwait 0.2\nopen-url tidra://show\nclick\nwait 8\n");
    expectShowsWhatFinderDraws(w, true);
    EXPECT_EQ(finderLaunches(w), launches + 1);
    EXPECT_TRUE(logged(w,
                       "Finder is back; the last of 2 wishes made while it restarted was to hide "
                       "the icons, and it draws none"));
}

TEST(FinderRestart, FinderIsStartedWhenTidraEndedMidRestartOrTheRestartGoesAstray) {
    SimWorld w;
    // Tidra quits before it hears Finder has gone: nobody brings Finder back until its next
    // launch, which does.
    w.run("click\nwait 0.2\nquit\nwait 5\n");
    EXPECT_TRUE(w.status()["finder"]["instances"].empty());
    w.run("launch\n");
    EXPECT_TRUE(logged(w, "Finder was not running: starting it"));
    w.run("wait 3\n");
    expectShowsWhatFinderDraws(w, true);
    EXPECT_EQ(w.status()["finder"]["instances"][0]["windows"], json({"Documents", "Downloads"}));

    // Finder's start gets lost on the way: it is started again after ten seconds.
    w.run("finder launch off\nclick\nwait 5\nfinder launch on\nwait 4\n");
    EXPECT_TRUE(w.status()["finder"]["instances"].empty());
    EXPECT_EQ(w.status()["statusItem"]["image"], "statusIconClean");
    w.run("wait 3\n");
    EXPECT_TRUE(logged(w, "Finder did not come back within 10 seconds: starting it"));
    expectShowsWhatFinderDraws(w, false);

    // Starts that keep failing are given up after three, and the state follows what is stored.
    w.run("finder launch off\nclick\nwait 45\n");
    EXPECT_TRUE(logged(w, "Finder did not come back after 3 starts"));
    EXPECT_TRUE(w.status()["finder"]["instances"].empty());
    // Nothing draws the desktop; what is stored and the icon say hidden.
    EXPECT_EQ(w.status()["clean"], nullptr);
    EXPECT_EQ(w.defaults("com.apple.finder")["CreateDesktop"], false);
    EXPECT_EQ(w.status()["statusItem"]["image"], "statusIconClean");
    // The next launch finds Finder stopped and starts it.
    w.run("finder launch on\nquit\nlaunch\nwait 3\n");
    expectShowsWhatFinderDraws(w, true);
}

}  // namespace
}  // namespace tidra
