// "Hide While Presenting": presentation and meeting applications hide the desktop, the last one
// to quit brings back what Tidra hid, and nothing else.
#include <gtest/gtest.h>

#include "sim_world.h"

namespace tidra {
namespace {

using testing::SimWorld;

// Script lines, each followed by whether the desktop is hidden afterwards.
struct Step {
    const char* script;
    bool clean;
};
void follow(SimWorld& w, std::initializer_list<Step> steps) {
    for (const Step& step : steps) {
        SCOPED_TRACE(step.script);
        RUN_OK(w, step.script);
        // Null while no Finder draws the desktop, which no step expects.
        EXPECT_EQ(w.status()["clean"], step.clean);
    }
}

TEST(HideWhilePresenting, OffByDefaultThenOneAndTwoApplicationsHideAndTheLastQuitShows) {
    SimWorld w;
    follow(w, {{"app launch com.apple.iWork.Keynote Keynote\nwait 3\n",
                false},  // option off
                         // Turned on while Keynote runs: hidden at once.
               {"menu Hide While Presenting\nwait 3\n", true}});
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["hideWhilePresenting"], true);

    // A second one starts and the first quits: still hidden; the last quits: shown.
    follow(w,
           {{"app launch us.zoom.xos zoom.us\nwait 3\napp quit com.apple.iWork.Keynote\nwait 3\n",
             true},
            {"app quit us.zoom.xos\nwait 3\n", false}});
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["hiddenWhilePresenting"], nullptr);

    // Bundle identifiers match in any case; other applications do nothing.
    follow(w, {{"app launch com.apple.TextEdit TextEdit\nwait 3\n", false},
               {"app launch com.microsoft.powerpoint PowerPoint\nwait 3\n", true},
               {"app quit com.microsoft.powerpoint\nwait 3\n", false}});
}

TEST(HideWhilePresenting, NeverShowsADesktopTheUserHidAndForgetsWhenTheUserShowedIt) {
    SimWorld w;
    follow(w, {{"defaults write xq.morv.Tidra hideWhilePresenting -bool true\n", false},
               // Hidden by hand before the meeting: the meeting's end leaves it hidden.
               {"click\nwait 3\napp launch com.microsoft.teams2 Teams\nwait 3\n"
                "app quit com.microsoft.teams2\nwait 3\n",
                true},
               // Hidden by Tidra, shown by the user meanwhile, hidden again by the user: the end
               // of the presentation leaves the user's choice alone.
               {"click\nwait 3\napp launch Cisco-Systems.Spark Webex\nwait 3\n", true},
               {"click\nwait 3\n", false},
               {"click\nwait 3\napp quit Cisco-Systems.Spark\nwait 3\n", true}});

    // Hidden by hand and presenting meanwhile: at the end Finder is not even restarted, and it
    // still draws no icons.
    RUN_OK(w, "app launch com.apple.iWork.Keynote Keynote\nwait 3\n");
    const nlohmann::json finder = w.status()["finder"];
    follow(w, {{"app quit com.apple.iWork.Keynote\nwait 3\n", true}});
    EXPECT_EQ(w.status()["finder"], finder);
    EXPECT_TRUE(finder["instances"][0]["desktopIcons"].empty());

    // Shown by the user while presenting and left so: it stays shown, with no Finder restart.
    RUN_OK(w, "click\nwait 3\napp launch us.zoom.xos zoom.us\nwait 3\nclick\nwait 3\n");
    const int launches = w.status()["finder"]["launches"];
    follow(w, {{"app quit us.zoom.xos\nwait 3\n", false}});
    EXPECT_EQ(w.status()["finder"]["launches"], launches);
}

TEST(HideWhilePresenting, AnApplicationStartingWhileTheUserHidesOrShowsLeavesTheWishTheirs) {
    SimWorld w;
    RUN_OK(w, "defaults write xq.morv.Tidra hideWhilePresenting -bool true\n");
    // The user hides and Keynote starts before Finder is back: the hide is the user's, and
    // Keynote's end leaves it.
    follow(w, {{"click\nwait 0.2\napp launch com.apple.iWork.Keynote Keynote\nwait 5\n", true},
               {"app quit com.apple.iWork.Keynote\nwait 5\n", true}});
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["hiddenWhilePresenting"], nullptr);

    // The user shows and Zoom starts before Finder is back: the show is done first, then the
    // desktop hides for the meeting, and comes back at its end.
    RUN_OK(w, "click\nwait 0.2\napp launch us.zoom.xos zoom.us\n");
    for (int tenths = 0; tenths < 50 && w.status()["clean"] != false; ++tenths)
        RUN_OK(w, "wait 0.1\n");
    EXPECT_EQ(w.status()["clean"], false);
    follow(w, {{"wait 5\n", true}, {"app quit us.zoom.xos\nwait 5\n", false}});

    // Hidden for Keynote, shown by the user, and Teams starts meanwhile: hidden again for Teams,
    // and shown when the last of them quits.
    follow(w, {{"app launch com.apple.iWork.Keynote Keynote\nwait 5\n", true},
               {"click\nwait 0.2\napp launch com.microsoft.teams2 Teams\nwait 8\n", true},
               {"app quit com.apple.iWork.Keynote\nwait 5\n", true},
               {"app quit com.microsoft.teams2\nwait 5\n", false}});

    // Keynote starts and the user asks for the desktop by URL while it hides: shown, and
    // Keynote's end restarts nothing.
    follow(w, {{"app launch com.apple.iWork.Keynote Keynote\nwait 0.2\nopen-url tidra://show\n"
                "wait 8\n",
                false}});
    const int launches = w.status()["finder"]["launches"];
    follow(w, {{"app quit com.apple.iWork.Keynote\nwait 5\n", false}});
    EXPECT_EQ(w.status()["finder"]["launches"], launches);
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["hiddenWhilePresenting"], nullptr);
}

TEST(HideWhilePresenting, TheStateSurvivesTidrasRelaunchAndTheListCanBeChanged) {
    SimWorld w;
    follow(w, {{"defaults write xq.morv.Tidra hideWhilePresenting -bool true\n"
                "app launch com.apple.iWork.Keynote Keynote\nwait 3\nquit\nlaunch\nwait 3\n",
                true},
               {"app quit com.apple.iWork.Keynote\nwait 3\n", false},
               // The application quits while Tidra is not running: the next launch shows the
               // desktop.
               {"app launch com.apple.iWork.Keynote Keynote\nwait 3\nquit\n"
                "app quit com.apple.iWork.Keynote\nlaunch\nwait 3\n",
                false}});
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["hiddenWhilePresenting"], nullptr);

    // Turning the option off keeps the desktop hidden and forgets it was Tidra's.
    follow(w, {{"app launch com.apple.iWork.Keynote Keynote\nwait 3\nmenu Hide While Presenting\n"
                "app quit com.apple.iWork.Keynote\nwait 3\n",
                true}});

    // A list that is no list: logged once, and the built-in list serves.
    follow(w, {{"click\nwait 3\nmenu Hide While Presenting\n"
                "defaults write xq.morv.Tidra presentingApps -string Keynote\n"
                "app launch us.zoom.xos zoom.us\nwait 3\n",
                true}});
    int mentions = 0;
    const nlohmann::json log = w.status()["log"];
    for (const auto& line : log)
        if (line.get<std::string>().find("presentingApps is not a list") != std::string::npos)
            ++mentions;
    EXPECT_EQ(mentions, 1) << log.dump();
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["presentingApps"], "Keynote");
    // However long the stored value, the line that quotes it stays short.
    w.run("quit\ndefaults write xq.morv.Tidra presentingApps -string " + std::string(100000, 'K') +
          "\nlaunch\napp launch com.apple.iWork.Keynote Keynote\nwait 3\napp quit "
          "com.apple.iWork.Keynote\nwait 3\n");
    bool quoted = false;
    const nlohmann::json after = w.status()["log"];
    for (const auto& line : after) {
        const std::string text = line.get<std::string>();
        if (text.find("presentingApps is not a list") == std::string::npos) continue;
        quoted = true;
        EXPECT_LT(text.size(), 400u);
    }
    EXPECT_TRUE(quoted);
    w.run("defaults write xq.morv.Tidra presentingApps -string Keynote\n");

    // A list of its own replaces the built-in one.
    follow(w, {{"app quit us.zoom.xos\nwait 3\n"
                "defaults write xq.morv.Tidra presentingApps -array org.videolan.vlc\n"
                "app launch com.apple.iWork.Keynote Keynote\nwait 3\n",
                false},
               {"app launch org.videolan.vlc VLC\nwait 3\n", true}});
}

}  // namespace
}  // namespace tidra
