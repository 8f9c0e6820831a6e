// Which picture on a screen is Tidra's and which is the user's, on a simulated Mac driven
// through the front end: Tidra's picture is never recorded as a screen's own, whichever copy of
// Tidra put it there, and a picture the user chose is never overwritten or lost.
#include <gtest/gtest.h>

#include <filesystem>

#include "sim_world.h"

namespace tidra {
namespace {

using Strings = std::vector<std::string>;
using testing::kGrey;
using testing::kMountains;
using testing::kSunset;
using testing::kSystemPicture;
using testing::picture;
using testing::pictures;
using testing::putFile;
using testing::SimWorld;

constexpr const char* kOldGrey = "/Users/me/Downloads/Tidra.app/Contents/Resources/wallpaper.png";
constexpr const char* kCopy = "/Users/me/Library/Application Support/Tidra/Mountains.jpg";

std::string checkedItem(SimWorld& w) {
    const nlohmann::json status = w.status();
    std::string checked;
    for (const auto& item : status["menu"])
        for (const auto& sub : item.value("submenu", nlohmann::json::array()))
            if (sub.value("state", 0) == 1) checked += sub["title"].get<std::string>();
    return checked;
}

bool onDisk(SimWorld& w, const std::string& macPath) {
    return std::filesystem::exists(w.mac().disk().real(macPath));
}

int wallpaperErrors(SimWorld& w) {
    int errors = 0;
    // The status is kept: a range-for over a part of a temporary would outlive it.
    const nlohmann::json status = w.status();
    for (const auto& line : status["log"])
        errors += line.get<std::string>().find("wallpaper") != std::string::npos;
    return errors;
}

// Hidden with the grey image of a copy in Downloads, then moved to Applications: the new copy
// knows the old copy's picture for Tidra's, also from records that say nothing of what Tidra
// put on the screens.
TEST(TidrasPicture, MovingTidraWhileHiddenBringsEveryScreensOwnPictureBack) {
    for (const bool olderRecords : {false, true}) {
        SCOPED_TRACE(olderRecords ? "records without what Tidra put on the screens" : "");
        sim::MacOptions options;
        options.bundleIn = "downloads";
        SimWorld w(options);
        RUN_OK(w,
               "popover close\ndisplay add Studio Display\n"
               "wallpaper set 1 ~/Pictures/Mountains.jpg\nmenu Wallpaper > Grey\nclick\nwait 6\n");
        ASSERT_EQ(pictures(w), (Strings{kOldGrey, kOldGrey}));
        if (olderRecords) RUN_OK(w, "defaults delete xq.morv.Tidra wallpapersApplied\n");

        RUN_OK(w, "quit\nlaunch\nalert Move to Applications Folder\nwait 6\n");
        ASSERT_EQ(w.mac().bundlePath(), "/Applications/Tidra.app");
        EXPECT_EQ(w.status()["clean"], true);
        EXPECT_EQ(picture(w, 1), kGrey);
        EXPECT_EQ(checkedItem(w), "Grey");
        RUN_OK(w, "click\nwait 3\n");
        EXPECT_EQ(w.status()["clean"], false);
        EXPECT_EQ(pictures(w), (Strings{kMountains, kSystemPicture}));
        EXPECT_EQ(wallpaperErrors(w), 0) << w.status()["log"];
    }
}

// A picture the user set from Tidra's support folder is the user's own; a record written before
// Tidra kept what it put on the screens still knows the support folder's picture for Tidra's.
TEST(TidrasPicture, APictureFromTheSupportFolderIsTheUsersWhenTidraDidNotPutItThere) {
    SimWorld w;
    RUN_OK(w,
           "popover close\nmenu Wallpaper > Custom Image…\npanel choose ~/Pictures/Mountains.jpg\n"
           "menu Wallpaper > Grey\n"
           "wallpaper set 1 \"~/Library/Application Support/Tidra/Mountains.jpg\"\n"
           "click\nwait 6\n");
    ASSERT_EQ(picture(w, 1), kGrey);
    RUN_OK(w, "click\nwait 3\n");
    EXPECT_EQ(picture(w, 1), kCopy);
    // The same picture as the replacement in force: still the user's, before and after Tidra
    // put it on the screen itself.
    RUN_OK(w, "menu Wallpaper > Custom Image…\npanel choose ~/Pictures/Mountains.jpg\n");
    RUN_OK(w, "click\nwait 6\nclick\nwait 3\n");
    EXPECT_EQ(picture(w, 1), kCopy);
    RUN_OK(w, "wallpaper set 1 ~/Pictures/Sunset.heic\nclick\nwait 6\nquit\nlaunch\nwait 6\n");
    ASSERT_EQ(picture(w, 1), kCopy);
    RUN_OK(w, "click\nwait 3\n");
    EXPECT_EQ(picture(w, 1), kSunset);

    // Hidden by a version that kept no such record, then started again while hidden.
    RUN_OK(w,
           "click\nwait 6\ndefaults delete xq.morv.Tidra wallpapersApplied\nquit\nlaunch\n"
           "wait 6\n");
    ASSERT_EQ(picture(w, 1), kCopy);
    RUN_OK(w, "click\nwait 3\n");
    EXPECT_EQ(picture(w, 1), kSunset);
    EXPECT_EQ(wallpaperErrors(w), 0) << w.status()["log"];
}

// A later import clears away the earlier imported pictures, but never one the user set by hand
// from the support folder: neither while a screen shows it nor while a record holds it to be put
// back.
TEST(TidrasPicture, AnImportKeepsTheSupportFolderPicturesTheUserSet) {
    const std::string lake = "/Users/me/Library/Application Support/Tidra/Lake.png";
    const std::string river = "/Users/me/Library/Application Support/Tidra/River.png";
    {
        SCOPED_TRACE("recorded while hidden");
        SimWorld w;
        putFile(w, "/Users/me/Pictures/Lake.png", "lake");
        RUN_OK(w,
               "popover close\ndisplay add Studio Display\n"
               "wallpaper set 1 ~/Pictures/Sunset.heic\n"
               "menu Wallpaper > Custom Image…\npanel choose ~/Pictures/Mountains.jpg\n"
               "wallpaper set 2 \"~/Library/Application Support/Tidra/Mountains.jpg\"\n"
               "click\nwait 6\n");
        ASSERT_EQ(w.status()["clean"], true);
        ASSERT_EQ(picture(w, 2), kCopy);
        RUN_OK(w, "menu Wallpaper > Custom Image…\npanel choose ~/Pictures/Lake.png\n");
        EXPECT_EQ(pictures(w), (Strings{lake, lake}));
        EXPECT_TRUE(onDisk(w, kCopy));
        RUN_OK(w, "click\nwait 3\n");
        EXPECT_EQ(pictures(w), (Strings{kSunset, kCopy}));
        EXPECT_EQ(wallpaperErrors(w), 0) << w.status()["log"];
    }
    {
        SCOPED_TRACE("on a screen while shown");
        SimWorld w;
        putFile(w, "/Users/me/Pictures/Lake.png", "lake");
        putFile(w, "/Users/me/Pictures/River.png", "river");
        RUN_OK(w,
               "popover close\nmenu Wallpaper > Custom Image…\n"
               "panel choose ~/Pictures/Mountains.jpg\n"
               "wallpaper set 1 \"~/Library/Application Support/Tidra/Mountains.jpg\"\n"
               "menu Wallpaper > Custom Image…\npanel choose ~/Pictures/Lake.png\n");
        EXPECT_TRUE(onDisk(w, kCopy));
        EXPECT_TRUE(onDisk(w, lake));
        // The earlier import that no screen shows goes as before.
        RUN_OK(w, "menu Wallpaper > Custom Image…\npanel choose ~/Pictures/River.png\n");
        EXPECT_TRUE(onDisk(w, kCopy));
        EXPECT_FALSE(onDisk(w, lake));
        EXPECT_TRUE(onDisk(w, river));
        RUN_OK(w, "click\nwait 6\n");
        EXPECT_EQ(picture(w, 1), river);
        RUN_OK(w, "click\nwait 3\n");
        EXPECT_EQ(picture(w, 1), kCopy);
        EXPECT_EQ(wallpaperErrors(w), 0) << w.status()["log"];
    }
}

// While the icons are hidden, a new choice reaches the screens that show Tidra's picture at once;
// the re-application that follows a hiding uses the choice of the moment.
TEST(HiddenWallpapers, ANewChoiceAppliesAtOnceToTheScreensShowingTidrasPicture) {
    SimWorld w;
    putFile(w, "/Users/me/Pictures/Lake.png", "lake");
    const std::string lake = "/Users/me/Library/Application Support/Tidra/Lake.png";
    RUN_OK(w,
           "popover close\ndisplay add Studio Display\nwallpaper set 1 ~/Pictures/Mountains.jpg\n"
           "menu Wallpaper > Grey\nclick\nwait 6\nwallpaper set 2 ~/Pictures/Sunset.heic\n"
           "menu Wallpaper > Custom Image…\npanel choose ~/Pictures/Lake.png\n");
    EXPECT_EQ(pictures(w), (Strings{lake, kSunset}));

    // Keep Wallpaper puts the own pictures back at once; Grey then replaces like a hiding.
    RUN_OK(w, "menu Wallpaper > Keep Wallpaper\n");
    EXPECT_EQ(pictures(w), (Strings{kMountains, kSunset}));
    RUN_OK(w, "menu Wallpaper > Grey\n");
    EXPECT_EQ(pictures(w), (Strings{kGrey, kGrey}));
    RUN_OK(w, "click\nwait 3\n");
    EXPECT_EQ(pictures(w), (Strings{kMountains, kSunset}));

    // A choice made within the five seconds after a hiding is what the re-application sets.
    RUN_OK(w, "click\nwait 3\nmenu Wallpaper > Custom Image…\npanel choose ~/Pictures/Lake.png\n");
    ASSERT_EQ(picture(w, 1), lake);
    RUN_OK(w, "wait 6\n");
    EXPECT_EQ(pictures(w), (Strings{lake, lake}));
    RUN_OK(w, "click\nwait 3\n");
    EXPECT_EQ(pictures(w), (Strings{kMountains, kSunset}));

    // Every picture of Tidra's replaced by hand while hidden: a new choice changes none.
    RUN_OK(w,
           "click\nwait 6\nwallpaper set 1 ~/Pictures/Sunset.heic\n"
           "wallpaper set 2 ~/Pictures/Mountains.jpg\nmenu Wallpaper > Grey\n");
    EXPECT_EQ(pictures(w), (Strings{kSunset, kMountains}));
    EXPECT_EQ(wallpaperErrors(w), 0) << w.status()["log"];
}

// The re-application that follows a hiding leaves a picture the user set since, and gives a
// display connected since Tidra's picture after keeping its own.
TEST(HiddenWallpapers, TheReapplicationTouchesOnlyTidrasScreensAndNewOnes) {
    SimWorld w;
    RUN_OK(w,
           "popover close\ndisplay add Studio Display\nwallpaper set 1 ~/Pictures/Mountains.jpg\n"
           "menu Wallpaper > Grey\nclick\nwait 2\n");
    ASSERT_EQ(w.status()["clean"], true);
    ASSERT_EQ(picture(w, 1), kGrey);
    RUN_OK(w,
           "wallpaper set 1 ~/Pictures/Sunset.heic\ndisplay add LG\n"
           "wallpaper set 3 ~/Pictures/Mountains.jpg\nwait 6\n");
    EXPECT_EQ(pictures(w), (Strings{kSunset, kGrey, kGrey}));
    RUN_OK(w, "click\nwait 3\n");
    EXPECT_EQ(pictures(w), (Strings{kSunset, kSystemPicture, kMountains}));
    EXPECT_EQ(wallpaperErrors(w), 0) << w.status()["log"];
}

}  // namespace
}  // namespace tidra
