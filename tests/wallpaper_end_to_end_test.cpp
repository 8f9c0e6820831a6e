// The wallpapers on a simulated Mac driven through the front end: hiding turns every screen
// grey, showing brings each one's own picture back, also across relaunches while hidden.
#include <gtest/gtest.h>

#include "sim_world.h"

namespace tidra {
namespace {

using testing::SimWorld;

constexpr const char* kGrey = "/Applications/Tidra.app/Contents/Resources/wallpaper.png";
constexpr const char* kMountains = "/Users/me/Pictures/Mountains.jpg";

TEST(WallpaperEndToEnd, LaunchWhileHiddenKeepsTheUsersOwnWallpaper) {
    SimWorld w;
    auto s = w.status();
    ASSERT_EQ(s["screens"].size(), 1u);
    EXPECT_EQ(s["screens"][0]["number"], 1);
    EXPECT_EQ(s["screens"][0]["wallpaper"], "/Library/Desktop Pictures/Monterey Graphic.heic");
    std::string out = w.run(
        "display add Studio Display\n"
        "wallpaper set 1 ~/Pictures/Mountains.jpg\n"
        "menu Wallpaper > Grey\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    nlohmann::json ownOptions = w.status()["screens"][1]["options"];
    out = w.run("click\nwait 3\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    s = w.status();
    ASSERT_EQ(s["clean"], true);
    for (const auto& screen : s["screens"]) {
        EXPECT_EQ(screen["wallpaper"], kGrey);
        EXPECT_EQ(screen["options"], nlohmann::json::object());
    }

    // Tidra quits and comes back while the icons are hidden, then the whole Mac restarts.
    out = w.run("quit\nlaunch\nwait 6\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_EQ(w.status()["screens"][0]["wallpaper"], kGrey);
    w.restartMac();
    w.run("wait 6\n");
    EXPECT_EQ(w.status()["screens"][0]["wallpaper"], kGrey);

    out = w.run("click\nwait 3\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    s = w.status();
    EXPECT_EQ(s["clean"], false);
    EXPECT_EQ(s["screens"][0]["wallpaper"], kMountains);
    EXPECT_EQ(s["screens"][1]["wallpaper"], "/Library/Desktop Pictures/Monterey Graphic.heic");
    EXPECT_EQ(s["screens"][1]["options"], ownOptions);
    EXPECT_NE(s["screens"][1]["options"], nlohmann::json::object());
}

TEST(WallpaperEndToEnd, CustomImageThroughThePanel) {
    SimWorld w;
    std::string out = w.run("menu Wallpaper > Custom Image…\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    auto panel = w.status()["panel"];
    ASSERT_FALSE(panel.is_null());
    EXPECT_EQ(panel["directory"], "/Users/me/Pictures");
    EXPECT_EQ(panel["allowedFileTypes"].size(), 7u);

    out = w.run("panel cancel\n");
    EXPECT_TRUE(w.status()["panel"].is_null());
    EXPECT_TRUE(w.status()["notifications"].empty());

    out = w.run(
        "menu Wallpaper > Custom Image…\npanel choose ~/Pictures/Mountains.jpg\n"
        "notifications allow\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    auto s = w.status();
    const std::string copy = "/Users/me/Library/Application Support/Tidra/Mountains.jpg";
    EXPECT_EQ(s["defaults"]["xq.morv.Tidra"]["replaceWallpaper"],
              "~/Library/Application Support/Tidra/Mountains.jpg");
    ASSERT_EQ(s["notifications"].size(), 1u);
    EXPECT_EQ(s["notifications"][0]["identifier"], "xq.morv.Tidra.customWallpaperSetNotification");
    EXPECT_EQ(s["notifications"][0]["presented"], true);

    // A screen that refuses is logged; the other one still changes.
    out = w.run("display add\nscreen fail 2 on\nclick\nwait 3\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    s = w.status();
    EXPECT_EQ(s["screens"][0]["wallpaper"], copy);
    EXPECT_EQ(s["screens"][1]["fails"], true);
    bool logged = false;
    for (const auto& line : s["log"])
        logged |= line.get<std::string>().starts_with("Error when hiding wallpaper: ");
    EXPECT_TRUE(logged);
    EXPECT_NE(w.frontend().picture().find("screen 1 (Built-in Retina Display): Mountains.jpg"),
              std::string::npos)
        << w.frontend().picture();
}

}  // namespace
}  // namespace tidra
