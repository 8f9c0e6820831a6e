// The user's own pictures on a simulated Mac driven through the front end: whatever happens to
// the icons, the displays and the imports, a picture Tidra did not put on a screen stays there,
// and every picture Tidra replaced comes back.
#include <gtest/gtest.h>

#include "sim/formats/keyed_archiver.h"
#include "sim_world.h"

namespace tidra {
namespace {

using Strings = std::vector<std::string>;
using testing::kGrey;
using testing::kMountains;
using testing::kSunset;
using testing::kSupport;
using testing::kSystemPicture;
using testing::picture;
using testing::pictures;
using testing::putFile;
using testing::SimWorld;

// Screen numbers in the stored `wallpapers` record.
std::vector<int64_t> storedScreens(SimWorld& w) {
    std::vector<int64_t> out;
    Value data = w.mac().prefs().standardUserDefaults().objectForKey("wallpapers");
    if (!data.isData()) return out;
    Value record = sim::KeyedArchiver().unarchiveObjectWithData(data.data());
    if (!record.isDictionary()) return out;
    for (const auto& [key, url] : record.dictionary()) out.push_back(key.intValue());
    return out;
}

TEST(UsersPictures, AHandChosenPictureSurvivesRelaunchesAndFinderRestarts) {
    SimWorld w;
    RUN_OK(w,
           "popover close\nwallpaper set 1 ~/Pictures/Mountains.jpg\nmenu Wallpaper > Grey\n"
           "click\nwait 6\nclick\nwait 3\n");
    ASSERT_EQ(picture(w, 1), kMountains);
    // Shown again, the user picks another picture; then a display comes that Tidra never saw.
    RUN_OK(w, "wallpaper set 1 ~/Pictures/Sunset.heic\ndisplay add Studio Display\nwait 1\n");
    RUN_OK(w, "quit\nlaunch\nwait 6\n");
    EXPECT_EQ(pictures(w), (Strings{kSunset, kSystemPicture}));
    RUN_OK(w, "finder quit\nwait 3\n");
    EXPECT_EQ(pictures(w), (Strings{kSunset, kSystemPicture}));
    w.restartMac();
    RUN_OK(w, "wait 6\n");
    EXPECT_EQ(picture(w, 1), kSunset);

    // The next cycle records the new picture and brings it back.
    RUN_OK(w, "click\nwait 6\n");
    EXPECT_EQ(pictures(w), (Strings{kGrey, kGrey}));
    RUN_OK(w, "click\nwait 3\n");
    EXPECT_EQ(pictures(w), (Strings{kSunset, kSystemPicture}));
    EXPECT_TRUE(w.status()["log"].empty()) << w.status()["log"];
}

TEST(UsersPictures, KeepWallpaperChosenWhileHiddenRestoresAtOnce) {
    SimWorld w;
    RUN_OK(w,
           "popover close\nwallpaper set 1 ~/Pictures/Mountains.jpg\nmenu Wallpaper > Grey\n"
           "click\nwait 6\nmenu Wallpaper > Keep Wallpaper\n");
    EXPECT_EQ(picture(w, 1), kMountains);
    RUN_OK(w, "menu Show That Mess\nwait 3\n");
    EXPECT_EQ(w.status()["clean"], false);
    EXPECT_EQ(picture(w, 1), kMountains);
    // With Keep Wallpaper, hiding leaves the picture alone.
    RUN_OK(w, "click\nwait 6\n");
    EXPECT_EQ(w.status()["clean"], true);
    EXPECT_EQ(picture(w, 1), kMountains);

    // The same with the user's imported picture in force.
    RUN_OK(w,
           "click\nwait 3\nmenu Wallpaper > Custom Image…\npanel choose ~/Pictures/Mountains.jpg\n"
           "wallpaper set 1 ~/Pictures/Sunset.heic\nclick\nwait 6\n");
    ASSERT_EQ(picture(w, 1), std::string(kSupport) + "/Mountains.jpg");
    RUN_OK(w, "menu Wallpaper > Keep Wallpaper\n");
    EXPECT_EQ(picture(w, 1), kSunset);
    RUN_OK(w, "click\nwait 3\n");
    EXPECT_EQ(picture(w, 1), kSunset);
}

TEST(UsersPictures, ADozenDisplaysOverTimeKeepTheRecordWithinWhatALaunchAccepts) {
    SimWorld w;
    RUN_OK(w, "popover close\nmenu Wallpaper > Grey\n");
    for (int i = 1; i <= 12; ++i) {
        SCOPED_TRACE(i);
        const std::string slide = "/Users/me/Pictures/slide-" + std::to_string(i) + ".png";
        const std::string number = std::to_string(i + 1);
        putFile(w, slide, "slide " + std::to_string(i));
        RUN_OK(w, "display add Projector " + std::to_string(i) + "\nwallpaper set " + number + " " +
                      slide + "\nclick\nwait 6\n");
        EXPECT_LE(storedScreens(w).size(), 10u);
        RUN_OK(w, "click\nwait 3\n");
        EXPECT_EQ(picture(w, i + 1), slide);
        if (i < 12) RUN_OK(w, "display remove " + number + "\n");
    }
    // Hidden, then Tidra starts again and the icons come back: every connected screen has its
    // own picture again.
    RUN_OK(w, "click\nwait 6\nquit\nlaunch\nwait 6\n");
    auto kept = storedScreens(w);
    EXPECT_EQ(kept.size(), 10u);
    EXPECT_NE(std::find(kept.begin(), kept.end(), 1), kept.end());
    EXPECT_NE(std::find(kept.begin(), kept.end(), 13), kept.end());
    RUN_OK(w, "click\nwait 3\n");
    EXPECT_EQ(picture(w, 1), kSystemPicture);
    EXPECT_EQ(picture(w, 13), "/Users/me/Pictures/slide-12.png");
}

TEST(UsersPictures, ADisplayUnpluggedWhileHiddenComesBackWithItsOwnPicture) {
    SimWorld w;
    RUN_OK(w,
           "popover close\ndisplay add Studio Display\nwallpaper set 2 ~/Pictures/Sunset.heic\n"
           "menu Wallpaper > Grey\nclick\nwait 6\n");
    ASSERT_EQ(picture(w, 2), kGrey);
    RUN_OK(w, "display remove 2\nclick\nwait 3\n");
    EXPECT_EQ(picture(w, 1), kSystemPicture);
    // Plugged back, it shows what it showed when it left, and then its own picture.
    std::string out = w.run("display add Studio Display\n");
    EXPECT_NE(out.find("display 2 connected: Studio Display\n"), std::string::npos) << out;
    RUN_OK(w, "wait 1\n");
    EXPECT_EQ(picture(w, 2), kSunset);
    // A display Tidra never replaced keeps its picture.
    RUN_OK(w, "display add LG\nwait 1\n");
    EXPECT_EQ(picture(w, 3), kSystemPicture);

    // With the trigger on, the display that comes back is recorded with its own picture before
    // the desktop hides again.
    RUN_OK(w,
           "click\nwait 6\ndisplay remove 2\nclick\nwait 3\n"
           "defaults write xq.morv.Tidra externalScreenTrigger -bool true\n"
           "display add Studio Display\nwait 6\n");
    EXPECT_EQ(w.status()["clean"], true);
    EXPECT_EQ(picture(w, 2), kGrey);
    RUN_OK(w, "click\nwait 3\n");
    EXPECT_EQ(picture(w, 2), kSunset);
    EXPECT_TRUE(w.status()["log"].empty()) << w.status()["log"];
}

}  // namespace
}  // namespace tidra
