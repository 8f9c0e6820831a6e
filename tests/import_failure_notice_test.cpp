// A custom picture that could not be imported, on a simulated Mac: the user is told what failed
// and what to do, once per failure however often the click is repeated.
#include <gtest/gtest.h>

#include "sim_world.h"

namespace tidra {
namespace {

using testing::SimWorld;

constexpr const char* kImport =
    "menu Wallpaper > Custom Image…\npanel choose ~/Pictures/Mountains.jpg\n";

TEST(ImportFailureNotice, AFullDiskAndARefusedFolderAreToldOnceEach) {
    SimWorld w;
    w.run("popover close\nsupport-folder full on\n" + std::string(kImport) +
          "notifications allow\n" + kImport);
    ASSERT_EQ(w.lastStatus(), 0);
    nlohmann::json notes = w.status()["notifications"];
    ASSERT_EQ(notes.size(), 1u) << notes;
    EXPECT_EQ(notes[0]["identifier"], "xq.morv.Tidra.diskFullNotification");
    EXPECT_EQ(notes[0]["title"], "The disk is full");
    EXPECT_EQ(notes[0]["text"],
              "There is not enough free space for a copy of the picture. Free some space on the "
              "disk, then choose the picture again from Tidra's Wallpaper menu.");
    EXPECT_EQ(notes[0]["hasActionButton"], false);
    EXPECT_EQ(notes[0]["presented"], true);
    // The log keeps each attempt's error.
    EXPECT_EQ(w.mac().console().lines().size(), 2u);

    // Another cause is another failure.
    w.run("support-folder full off\nsupport-folder writable off\n" + std::string(kImport) +
          kImport);
    notes = w.status()["notifications"];
    ASSERT_EQ(notes.size(), 2u) << notes;
    EXPECT_EQ(notes[1]["identifier"], "xq.morv.Tidra.customWallpaperFailedNotification");
    EXPECT_EQ(notes[1]["title"], "The picture could not be set as replacement wallpaper");
    const std::string text = notes[1]["text"];
    EXPECT_TRUE(
        text.ends_with(" Choose the picture again, or another one, from Tidra's Wallpaper menu."))
        << text;
    EXPECT_NE(text.find("Mountains.jpg"), std::string::npos) << text;

    // Once an import works, the next failure is news again.
    w.run("support-folder writable on\n" + std::string(kImport) + "support-folder full on\n" +
          "menu Wallpaper > Custom Image…\npanel choose ~/Pictures/Mountains.jpg\n");
    notes = w.status()["notifications"];
    ASSERT_EQ(notes.size(), 4u) << notes;
    EXPECT_EQ(notes[2]["identifier"], "xq.morv.Tidra.customWallpaperSetNotification");
    EXPECT_EQ(notes[3]["identifier"], "xq.morv.Tidra.diskFullNotification");
}

}  // namespace
}  // namespace tidra
