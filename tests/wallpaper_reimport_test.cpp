// Importing a picture whose name differs from the current copy's only in case, on a simulated Mac
// whose disk ignores case as a Mac's default volume does: the new picture takes the old copy's
// place in one step, and the choice stays on it.
#include <gtest/gtest.h>

#include <filesystem>

#include "sim_world.h"

namespace tidra {
namespace {

namespace fs = std::filesystem;
using testing::contents;
using testing::kSupport;
using testing::SimWorld;

std::vector<std::string> supportFolder(SimWorld& w) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(w.mac().disk().real(kSupport)))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(WallpaperReimport, APictureNamedLikeTheCopyInAnotherCaseReplacesIt) {
    SimWorld w;
    ASSERT_FALSE(w.mac().disk().writeFile("/Users/me/Pictures/photo.jpg", "first photo"));
    ASSERT_FALSE(w.mac().disk().writeFile("/Users/me/Downloads/Photo.JPG", "second photo"));
    RUN_OK(w,
           "popover close\nmenu Wallpaper > Custom Image…\npanel choose ~/Pictures/photo.jpg\n"
           "notifications allow\nclick\nwait 6\n");
    EXPECT_EQ(w.status()["screens"][0]["wallpaper"], std::string(kSupport) + "/photo.jpg");
    RUN_OK(w, "click\nwait 3\n");

    RUN_OK(w, "menu Wallpaper > Custom Image…\npanel choose ~/Downloads/Photo.JPG\n");
    auto s = w.status();
    EXPECT_TRUE(s["log"].empty()) << s["log"];
    EXPECT_EQ(s["defaults"]["xq.morv.Tidra"]["replaceWallpaper"],
              "~/Library/Application Support/Tidra/Photo.JPG");
    EXPECT_EQ(s["notifications"].size(), 2u);
    // One copy, under the chosen file's own spelling, holding the new picture.
    EXPECT_EQ(supportFolder(w), std::vector<std::string>{"Photo.JPG"});
    EXPECT_EQ(contents(w, std::string(kSupport) + "/Photo.JPG"), "second photo");

    // Hiding shows the new picture, not the grey one.
    RUN_OK(w, "click\nwait 6\n");
    EXPECT_EQ(w.status()["screens"][0]["wallpaper"], std::string(kSupport) + "/Photo.JPG");

    // Back to the first spelling, with the icons hidden: still one copy, still the choice.
    RUN_OK(w, "menu Wallpaper > Custom Image…\npanel choose ~/Pictures/photo.jpg\n");
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["replaceWallpaper"],
              "~/Library/Application Support/Tidra/photo.jpg");
    EXPECT_EQ(supportFolder(w), std::vector<std::string>{"photo.jpg"});
    EXPECT_EQ(contents(w, std::string(kSupport) + "/photo.jpg"), "first photo");
    EXPECT_TRUE(w.status()["log"].empty()) << w.status()["log"];

    // Where the copy's old spelling cannot be told the new picture still takes its place, and
    // the next import clears away whatever else stayed.
    ASSERT_FALSE(w.mac().disk().writeFile("/Users/me/Pictures/Ölberg.png", "hill"));
    ASSERT_FALSE(w.mac().disk().writeFile("/Users/me/Downloads/ölberg.png", "same hill"));
    RUN_OK(w,
           "menu Wallpaper > Custom Image…\npanel choose ~/Pictures/Ölberg.png\n"
           "menu Wallpaper > Custom Image…\npanel choose ~/Downloads/ölberg.png\n");
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["replaceWallpaper"],
              "~/Library/Application Support/Tidra/ölberg.png");
    EXPECT_EQ(contents(w, std::string(kSupport) + "/ölberg.png"), "same hill");
    RUN_OK(w, "click\nwait 3\nclick\nwait 6\n");
    EXPECT_EQ(w.status()["screens"][0]["wallpaper"], std::string(kSupport) + "/ölberg.png");
    RUN_OK(w, "menu Wallpaper > Custom Image…\npanel choose ~/Pictures/photo.jpg\n");
    EXPECT_EQ(supportFolder(w), std::vector<std::string>{"photo.jpg"});
    EXPECT_TRUE(w.status()["log"].empty()) << w.status()["log"];
}

}  // namespace
}  // namespace tidra
