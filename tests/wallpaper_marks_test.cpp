// The three wallpaper items' check marks follow the stored choice, at launch and on every change.
#include <gtest/gtest.h>

#include <filesystem>

#include "sim_world.h"

namespace tidra {
namespace {

using testing::SimWorld;

std::vector<int> marks(SimWorld& w) {
    std::vector<int> out;
    const nlohmann::json status = w.status();
    for (const auto& item : status["menu"][2]["submenu"]) out.push_back(item["state"]);
    return out;
}

TEST(WallpaperMarks, FollowTheStoredChoiceWithStandardisedPaths) {
    sim::MacOptions options;
    options.bundleIn = "user-applications";
    SimWorld w(options);
    using V = std::vector<int>;
    EXPECT_EQ(marks(w), (V{1, 0, 0}));

    // The grey image's path with a redundant component, then abbreviated with "~".
    w.run(
        "defaults write xq.morv.Tidra replaceWallpaper -string "
        "'/Users/me/Applications/Tidra.app/Contents/./Resources//wallpaper.png'\n");
    EXPECT_EQ(marks(w), (V{0, 0, 1}));
    w.run("quit\nlaunch\n");
    EXPECT_EQ(marks(w), (V{0, 0, 1}));
    w.run(
        "defaults write xq.morv.Tidra replaceWallpaper -string "
        "~/Applications/Tidra.app/Contents/Resources/wallpaper.png\n");
    EXPECT_EQ(marks(w), (V{0, 0, 1}));

    w.run("defaults write xq.morv.Tidra replaceWallpaper -string ~/Pictures/beach.jpg\n");
    EXPECT_EQ(marks(w), (V{0, 1, 0}));
    w.run("quit\nlaunch\n");
    EXPECT_EQ(marks(w), (V{0, 1, 0}));
    w.run("defaults delete xq.morv.Tidra replaceWallpaper\n");
    EXPECT_EQ(marks(w), (V{1, 0, 0}));
    // Not a path: nothing is marked.
    w.run("defaults write xq.morv.Tidra replaceWallpaper -int 7\n");
    EXPECT_EQ(marks(w), (V{0, 0, 0}));

    // Without the grey image in the bundle no item can be told apart, so none is marked.
    std::filesystem::remove(
        w.mac().disk().real("/Users/me/Applications/Tidra.app/Contents/Resources/wallpaper.png"));
    w.run("defaults write xq.morv.Tidra replaceWallpaper -string ~/Pictures/beach.jpg\n");
    EXPECT_EQ(marks(w), (V{0, 0, 0}));
}

}  // namespace
}  // namespace tidra
