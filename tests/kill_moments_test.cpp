// What lies on the simulated disk at any moment is what a kill -9 of Tidra would leave: the disk
// is copied at moments of hiding and showing, a Mac is started from each copy, and the user's own
// values must come back there.
#include <gtest/gtest.h>

#include <filesystem>

#include "sim/formats/value_json.h"
#include "sim_world.h"

namespace tidra {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using testing::SimWorld;

sim::MacOptions onSystem(int major, const std::string& root = "") {
    sim::MacOptions options;
    options.systemVersion = OperatingSystemVersion{major, 0, 0};
    options.root = root;
    return options;
}

// A Mac started from the disk as it is now, Tidra launched and the desktop shown: what the
// user's window-manager values and first screen's picture are then.
std::string afterAStopNow(SimWorld& w, int moment) {
    const fs::path copy = testing::freshTestFolder("stopped-" + std::to_string(moment));
    fs::copy(w.mac().disk().real("/"), copy,
             fs::copy_options::recursive | fs::copy_options::copy_symlinks |
                 fs::copy_options::overwrite_existing);
    SimWorld again(onSystem(14, copy.string()));
    again.run("wait 3\n");
    if (again.status()["clean"] == true) again.run("click\nwait 3\n");
    again.run("wait 1\n");
    const json wm = sim::valueToJson(again.mac().prefs().domainSnapshot("com.apple.WindowManager"));
    return wm.dump() + " " + testing::picture(again, 1);
}

TEST(KillMoments, AStopAtAnyMomentOfHideOrShowLeavesTheUsersWidgetsAndPicture) {
    SimWorld w(onSystem(14));
    RUN_OK(w,
           "popover close\nwallpaper set 1 ~/Pictures/Sunset.heic\n"
           "defaults write com.apple.WindowManager StandardHideWidgets -bool false\n"
           "defaults write com.apple.WindowManager StageManagerHideWidgets -int 1\n"
           "menu Wallpaper > Custom Image…\npanel choose ~/Pictures/Mountains.jpg\nwait 2\n");
    const std::string users = R"({"StageManagerHideWidgets":1,"StandardHideWidgets":false} )" +
                              std::string(testing::kSunset);
    int moment = 0;
    for (const char* action : {"click\n", "click\n", "click\n", "click\n"}) {
        RUN_OK(w, action);
        for (int step = 0; step < 10; ++step) {
            EXPECT_EQ(afterAStopNow(w, ++moment), users) << "moment " << moment;
            RUN_OK(w, "wait 0.25\n");
        }
    }
    EXPECT_EQ(w.status()["clean"], false);
}

}  // namespace
}  // namespace tidra
