#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "sim/interface/status_bar.h"
#include "test_files.h"
#include "test_folder.h"
#include "wallpaper_rig.h"

namespace tidra::sim {
namespace {

namespace fs = std::filesystem;

std::string rootFor() {
    return testing::freshTestFolder("wallpaper").string();
}

Data fixture(const std::string& name) {
    return testing::testData("keyed-archives/" + name);
}

const Dictionary kPhotoOptions{{Value("NSWorkspaceDesktopImageScalingKey"), Value(1)},
                               {Value("NSWorkspaceDesktopImageAllowClippingKey"), Value(false)}};

struct Wallpapers : ::testing::Test {
    WallpaperRig rig{rootFor()};
    const std::string defaultPicture = rig.screens.defaultPicture();

    // Screen 1 shows the default picture; screen 2 a photo with options of its own; one more
    // screen has no number at all.
    void threeScreens() {
        rig.file("/Users/me/Pictures/Beach.jpg");
        rig.screens.addScreen("Studio Display");
        rig.screens.addScreen("Projector", false);
        ASSERT_FALSE(rig.screens.setPictureByHand(2, "~/Pictures/Beach.jpg"));
        rig.screens.setOptions(2, Value(kPhotoOptions));
        rig.loop.runDue();
    }
    Value stored(const char* key) {
        Value v = rig.defaults().objectForKey(key);
        return v.isData() ? rig.archiver.unarchiveObjectWithData(v.data()) : Value();
    }
};

TEST_F(Wallpapers, HidingReplacesEveryScreenAndShowingPutsEachOneBack) {
    threeScreens();
    Value defaultOptions = rig.options(1);
    rig.chooseGrey();
    rig.hide();
    auto shots = rig.screens.snapshot();
    ASSERT_EQ(shots.size(), 3u);
    for (const auto& s : shots) {
        EXPECT_EQ(s.wallpaper, kGreyPath) << s.name;
        EXPECT_EQ(s.options, Value(Dictionary{})) << s.name;
    }
    const Dictionary expected{
        {Value(1), Value(Url::fileURLWithPath(defaultPicture))},
        {Value(2), Value(Url::fileURLWithPath("/Users/me/Pictures/Beach.jpg"))}};
    EXPECT_EQ(rig.switcher->wallpapers(), expected);
    EXPECT_EQ(rig.switcher->wallpapersOptions(),
              (Dictionary{{Value(1), defaultOptions}, {Value(2), Value(kPhotoOptions)}}));
    // Stored as archives, already on disk.
    EXPECT_EQ(stored("wallpapers"), Value(expected));
    EXPECT_EQ(stored("wallpapersOptions")[Value(2)], Value(kPhotoOptions));
    SimPreferences reread(rig.disk, kTidraBundleIdentifier, rig.console);
    EXPECT_TRUE(reread.standardUserDefaults().objectForKey("wallpapers").isData());

    // Five seconds later the replacement is set once more on every screen.
    const int applied = rig.screens.pictureChanges();
    rig.loop.advance(4.9);
    EXPECT_EQ(rig.screens.pictureChanges(), applied);
    rig.loop.advance(0.1);
    EXPECT_EQ(rig.screens.pictureChanges(), applied + 3);

    rig.show();
    EXPECT_EQ(rig.picture(1), defaultPicture);
    EXPECT_EQ(rig.options(1), defaultOptions);
    EXPECT_EQ(rig.picture(2), "/Users/me/Pictures/Beach.jpg");
    EXPECT_EQ(rig.options(2), Value(kPhotoOptions));
    EXPECT_EQ(rig.screens.snapshot()[2].wallpaper, kGreyPath);  // no number: left alone

    // Shown again within 5 seconds of hiding: the pending re-application changes nothing.
    rig.hide();
    rig.loop.advance(2);
    rig.show();
    int changes = rig.screens.pictureChanges();
    rig.loop.advance(10);
    EXPECT_EQ(rig.screens.pictureChanges(), changes);
    EXPECT_EQ(rig.picture(2), "/Users/me/Pictures/Beach.jpg");
    // ...also when they are hidden again by then: only the latest hiding's pass runs.
    rig.hide();
    rig.loop.advance(1);
    rig.show();
    rig.hide();
    changes = rig.screens.pictureChanges();
    rig.loop.advance(4.5);
    EXPECT_EQ(rig.screens.pictureChanges(), changes);
    rig.loop.advance(0.5);
    EXPECT_EQ(rig.screens.pictureChanges(), changes + 3);
    EXPECT_TRUE(rig.console.lines().empty());
}

TEST_F(Wallpapers, TidrasOwnPicturesAreNeverRecordedAsAScreensWallpaper) {
    threeScreens();
    rig.chooseGrey();
    rig.hide();
    // Tidra starts again while the icons are hidden (launch at login, a Finder restart): the
    // screens show grey, one of them under a path written differently.
    rig.makeLogic();
    rig.switcher->loadRecords();
    ASSERT_FALSE(rig.screens.setPictureByHand(
        1, "/Applications/Tidra.app/Contents/./Resources//wallpaper.png"));
    rig.hide();
    EXPECT_EQ(rig.switcher->wallpapers().at(Value(1)), Value(Url::fileURLWithPath(defaultPicture)));
    EXPECT_EQ(rig.switcher->wallpapers().at(Value(2)),
              Value(Url::fileURLWithPath("/Users/me/Pictures/Beach.jpg")));
    rig.show();
    EXPECT_EQ(rig.picture(1), defaultPicture);
    EXPECT_EQ(rig.picture(2), "/Users/me/Pictures/Beach.jpg");

    // A custom image in force, on screen: neither it nor the grey one counts as the user's.
    const std::string custom = "/Users/me/Library/Application Support/Tidra/photo.jpg";
    rig.file(custom);
    rig.defaults().setURL(Url::fileURLWithPath(custom), prefs::kReplaceWallpaper);
    rig.hide();
    ASSERT_FALSE(rig.screens.setPictureByHand(2, kGreyPath));
    rig.hide();
    EXPECT_EQ(rig.picture(1), custom);
    rig.show();
    EXPECT_EQ(rig.picture(1), defaultPicture);
    EXPECT_EQ(rig.picture(2), "/Users/me/Pictures/Beach.jpg");

    // The custom image deleted: grey stands in, and is not recorded either.
    fs::remove(rig.disk.real(custom));
    rig.hide();
    rig.hide();
    EXPECT_EQ(rig.picture(2), kGreyPath);
    rig.show();
    EXPECT_EQ(rig.picture(2), "/Users/me/Pictures/Beach.jpg");
}

TEST_F(Wallpapers, RestoreFallsBackForScreensWithoutARecordAndFailuresAreLoggedPerScreen) {
    threeScreens();
    Value defaultOptions = rig.options(1);
    rig.chooseGrey();
    // Nothing recorded yet: showing changes nothing.
    int before = rig.screens.pictureChanges();
    rig.show();
    EXPECT_EQ(rig.screens.pictureChanges(), before);

    rig.hide();
    // Display 3 comes while hidden showing Tidra's picture, and the icons are shown before it
    // could be recorded: it takes another connected screen's wallpaper.
    rig.screens.addScreen("LG");
    ASSERT_FALSE(rig.screens.setPictureByHand(3, kGreyPath));
    rig.show();
    EXPECT_EQ(rig.picture(3), "/Users/me/Pictures/Beach.jpg");
    EXPECT_EQ(rig.options(3), Value(kPhotoOptions));
    // No connected screen has a record: the first one recorded.
    ASSERT_TRUE(rig.screens.removeScreen(1));
    ASSERT_TRUE(rig.screens.removeScreen(2));
    ASSERT_TRUE(rig.screens.setPictureByHand(3, "/nowhere.png"));  // a missing file is refused
    ASSERT_FALSE(rig.screens.setPictureByHand(3, kGreyPath));
    rig.show();
    EXPECT_EQ(rig.picture(3), defaultPicture);
    EXPECT_EQ(rig.options(3), defaultOptions);
    EXPECT_TRUE(rig.console.lines().empty());

    // One screen refuses: it is logged with its number and the others are still handled.
    rig.screens.addScreen("Dell");  // a display never seen: number 4, the default picture
    ASSERT_FALSE(rig.screens.setPictureByHand(3, kGreyPath));
    rig.screens.setFailing(3, true);
    rig.hide();
    EXPECT_EQ(rig.picture(4), kGreyPath);
    EXPECT_EQ(rig.picture(3), kGreyPath);
    ASSERT_EQ(rig.console.lines().size(), 1u);
    EXPECT_EQ(rig.console.lines()[0],
              "Error when hiding wallpaper: Error Domain=NSCocoaErrorDomain Code=512 \"The "
              "desktop picture couldn’t be changed for the display.\"");
    rig.show();
    ASSERT_EQ(rig.console.lines().size(), 2u);
    EXPECT_EQ(rig.console.lines()[1],
              "Error when setting wallpaper for screen 3: Error Domain=NSCocoaErrorDomain "
              "Code=512 \"The desktop picture couldn’t be changed for the display.\"");
    EXPECT_EQ(rig.picture(4), defaultPicture);
    // The re-application of the earlier hiding finds the icons shown and stays quiet.
    rig.loop.advance(6);
    EXPECT_EQ(rig.console.lines().size(), 2u);
}

TEST_F(Wallpapers, ShowingTouchesOnlyScreensThatShowTidrasPicture) {
    threeScreens();
    rig.chooseGrey();
    rig.hide();
    // While hidden, the user picks a picture by hand: showing leaves it.
    rig.file("/Users/me/Pictures/B.png");
    ASSERT_FALSE(rig.screens.setPictureByHand(1, "~/Pictures/B.png"));
    rig.show();
    EXPECT_EQ(rig.picture(1), "/Users/me/Pictures/B.png");
    EXPECT_EQ(rig.picture(2), "/Users/me/Pictures/Beach.jpg");
    // Later restores (a launch, Finder coming back) leave it too, and a display connected
    // since keeps its own picture instead of another screen's.
    rig.screens.addScreen("LG");
    rig.makeLogic();
    rig.switcher->loadRecords();
    rig.show();
    EXPECT_EQ(rig.picture(1), "/Users/me/Pictures/B.png");
    EXPECT_EQ(rig.picture(3), defaultPicture);

    // No replacement chosen while hidden: showing still puts every picture back.
    rig.hide();
    rig.defaults().removeObjectForKey(prefs::kReplaceWallpaper);
    rig.show();
    EXPECT_EQ(rig.picture(1), "/Users/me/Pictures/B.png");
    EXPECT_EQ(rig.picture(2), "/Users/me/Pictures/Beach.jpg");
    EXPECT_EQ(rig.picture(3), defaultPicture);
    // ...also a custom image that is gone by now, recognised by its folder.
    const std::string custom = "/Users/me/Library/Application Support/Tidra/photo.jpg";
    rig.file(custom);
    rig.defaults().setURL(Url::fileURLWithPath(custom), prefs::kReplaceWallpaper);
    rig.hide();
    ASSERT_EQ(rig.picture(2), custom);
    rig.defaults().removeObjectForKey(prefs::kReplaceWallpaper);
    fs::remove(rig.disk.real(custom));
    rig.show();
    EXPECT_EQ(rig.picture(2), "/Users/me/Pictures/Beach.jpg");
    rig.loop.advance(6);  // the earlier hidings' re-applications find the icons shown
    // Without a choice, hiding changes nothing.
    int changes = rig.screens.pictureChanges();
    rig.hide();
    rig.loop.advance(6);
    EXPECT_EQ(rig.screens.pictureChanges(), changes);
    EXPECT_TRUE(rig.console.lines().empty());
}

TEST_F(Wallpapers, TheStoredRecordStaysWithinTheLimitKeepingTheConnectedScreens) {
    // Ten displays met before, none connected now.
    Dictionary ten, tenOptions;
    for (int n = 20; n < 30; ++n) {
        ten[Value(n)] = Value(Url::fileURLWithPath("/Users/me/Pictures/" + std::to_string(n)));
        tenOptions[Value(n)] = Value(Dictionary{});
    }
    rig.defaults().setObject(Value(rig.archiver.archivedDataWithRootObject(Value(ten))),
                             "wallpapers");
    rig.defaults().setObject(Value(rig.archiver.archivedDataWithRootObject(Value(tenOptions))),
                             "wallpapersOptions");
    rig.switcher->loadRecords();
    threeScreens();
    rig.chooseGrey();
    rig.hide();
    for (const char* key : {"wallpapers", "wallpapersOptions"}) {
        Value record = stored(key);
        ASSERT_TRUE(record.isDictionary()) << key;
        EXPECT_EQ(record.dictionary().size(), 10u) << key;
        EXPECT_TRUE(record.dictionary().count(Value(1)) && record.dictionary().count(Value(2)));
        EXPECT_FALSE(record.dictionary().count(Value(20)) || record.dictionary().count(Value(21)));
    }
    EXPECT_EQ(rig.switcher->wallpapers().size(), 10u);
    // So the next launch loads it, and showing restores.
    rig.makeLogic();
    rig.switcher->loadRecords();
    rig.show();
    EXPECT_EQ(rig.picture(1), defaultPicture);
    EXPECT_EQ(rig.picture(2), "/Users/me/Pictures/Beach.jpg");

    // More connected screens than the limit: the ones listed last lose their entries.
    Dictionary twelve;
    std::vector<Value> connected;
    for (int n = 1; n <= 12; ++n) {
        twelve[Value(n)] = Value(n);
        connected.push_back(Value(13 - n));
    }
    twelve[Value(40)] = Value(40);
    trimRecord(twelve, connected, 10);
    Dictionary expected;
    for (int n = 3; n <= 12; ++n) expected[Value(n)] = Value(n);
    EXPECT_EQ(twelve, expected);
    trimRecord(twelve, {}, 10);  // within the limit: nothing goes
    EXPECT_EQ(twelve, expected);
}

TEST_F(Wallpapers, WithoutAChoiceOrAScreenListNothingHappens) {
    threeScreens();
    int before = rig.screens.pictureChanges();
    rig.hide();
    rig.show();
    EXPECT_EQ(rig.screens.pictureChanges(), before);
    EXPECT_TRUE(rig.defaults().objectForKey("wallpapers").isNil());

    rig.chooseGrey();
    rig.screens.setListAvailable(false);
    rig.hide();
    rig.loop.advance(6);
    EXPECT_EQ(rig.screens.pictureChanges(), before);
    EXPECT_TRUE(rig.defaults().objectForKey("wallpapers").isNil());

    // The platform reports no options: the URL is recorded, the earlier options entry stays.
    rig.screens.setListAvailable(true);
    rig.hide();
    rig.show();
    rig.screens.setOptions(2, Value());
    rig.hide();
    EXPECT_EQ(rig.switcher->wallpapersOptions().at(Value(2)), Value(kPhotoOptions));
    rig.show();
    EXPECT_EQ(rig.options(2), Value(kPhotoOptions));
}

TEST_F(Wallpapers, StoredRecordsLoadWithinTheLimitAndOfTheirShapeOnly) {
    KeyedArchiver& a = rig.archiver;
    rig.defaults().setObject(Value(fixture("wallpapers-10-entries.archive")), "wallpapers");
    rig.defaults().setObject(Value(fixture("wallpapersOptions-2-screens.archive")),
                             "wallpapersOptions");
    rig.switcher->loadRecords();
    EXPECT_EQ(rig.switcher->wallpapers().size(), 10u);
    EXPECT_EQ(rig.switcher->wallpapersOptions().size(), 2u);

    rig.defaults().setObject(Value(fixture("wallpapers-11-entries.archive")), "wallpapers");
    rig.makeLogic();
    rig.switcher->loadRecords();
    EXPECT_TRUE(rig.switcher->wallpapers().empty());
    EXPECT_TRUE(rig.defaults().objectForKey("wallpapers").isNil());
    EXPECT_EQ(rig.switcher->wallpapersOptions().size(), 2u);  // judged by itself

    // Eleven option entries go the same way, independently of a valid wallpapers record.
    Dictionary eleven;
    for (int i = 1; i <= 11; ++i) eleven[Value(i)] = Value(Dictionary{});
    rig.defaults().setObject(Value(a.archivedDataWithRootObject(Value(eleven))),
                             "wallpapersOptions");
    rig.defaults().setObject(Value(fixture("wallpapers-2-screens.archive")), "wallpapers");
    rig.makeLogic();
    rig.switcher->loadRecords();
    EXPECT_EQ(rig.switcher->wallpapers().size(), 2u);
    EXPECT_TRUE(rig.switcher->wallpapersOptions().empty());
    EXPECT_TRUE(rig.defaults().objectForKey("wallpapersOptions").isNil());

    // Wrong shapes and damage leave the record empty and the stored value in place.
    const std::vector<Value> bad = {
        Value(fixture("wallpapers-string-keys.archive")),
        Value(fixture("wallpapers-array-root.archive")), Value(Data{1, 2, 3}), Value("not data"),
        Value(a.archivedDataWithRootObject(Value(Dictionary{{Value(1), Value("/x.png")}})))};
    for (const Value& v : bad) {
        rig.defaults().setObject(v, "wallpapers");
        rig.defaults().setObject(v, "wallpapersOptions");
        rig.makeLogic();
        rig.switcher->loadRecords();
        EXPECT_TRUE(rig.switcher->wallpapers().empty()) << v.description();
        EXPECT_TRUE(rig.switcher->wallpapersOptions().empty()) << v.description();
        EXPECT_EQ(rig.defaults().objectForKey("wallpapers"), v);
    }
    // Options whose values are not dictionaries with string keys are not options.
    rig.defaults().setObject(Value(a.archivedDataWithRootObject(Value(
                                 Dictionary{{Value(1), Value(Dictionary{{Value(2), Value(3)}})}}))),
                             "wallpapersOptions");
    rig.switcher->loadRecords();
    EXPECT_TRUE(rig.switcher->wallpapersOptions().empty());
    EXPECT_TRUE(rig.console.lines().empty());  // set aside without a word
}

struct Chooser : Wallpapers {
    SimMenuItem item(int tag) { return SimMenuItem("", tag); }
    std::string support = "/Users/me/Library/Application Support/Tidra";
    std::optional<std::string> chosenPath() {
        auto url = rig.defaults().URLForKey(prefs::kReplaceWallpaper);
        return url ? url->path() : std::nullopt;
    }
};

TEST_F(Chooser, TheThreeItemsAndTheImportOfACustomPicture) {
    SimMenuItem grey = item(2), none = item(0), custom = item(1);
    rig.chooser->choose(grey.tag());
    EXPECT_EQ(chosenPath(), kGreyPath);
    EXPECT_EQ(rig.defaults().objectForKey("replaceWallpaper"),
              Value("/Applications/Tidra.app/Contents/Resources/wallpaper.png"));
    rig.chooser->choose(none.tag());
    EXPECT_TRUE(rig.defaults().objectForKey("replaceWallpaper").isNil());

    // Earlier imports go, a subfolder's too; other files stay.
    rig.file(support + "/old.png");
    rig.file(support + "/Sub/deep.TIFF");
    rig.file(support + "/notes.txt");
    rig.file("/Users/me/Pictures/photo.JPG", "the photo");
    rig.chooser->choose(custom.tag());
    auto panel = rig.panels.front();
    ASSERT_TRUE(panel);
    OpenPanelSettings s = panel->settings();
    EXPECT_EQ(s.prompt, "Choose");
    EXPECT_EQ(s.title, "Choose Replacement Wallpaper");
    EXPECT_EQ(s.message,
              "Please select an image to use as replacement wallpaper when Tidra is activated.");
    EXPECT_EQ(s.allowedFileTypes, (std::vector<std::string>{"jpg", "jpeg", "png", "tif", "tiff",
                                                            "bmp", "gif", "heic", "heif"}));
    EXPECT_EQ(s.directory, "/Users/me/Pictures");
    EXPECT_EQ(s.level, kMaximumWindowLevel);
    EXPECT_TRUE(s.canChooseFiles && s.resolvesAliases);

    // Cancel changes nothing; the panel is gone.
    ASSERT_FALSE(rig.panels.cancel());
    rig.loop.runDue();
    EXPECT_TRUE(rig.defaults().objectForKey("replaceWallpaper").isNil());
    EXPECT_TRUE(rig.exists(support + "/old.png"));
    EXPECT_FALSE(rig.panels.front());

    rig.chooser->choose(custom.tag());
    EXPECT_TRUE(rig.panels.choose("/Users/me/Documents/notes.txt"));  // not an image: refused
    ASSERT_FALSE(rig.panels.choose("~/Pictures/photo.JPG"));
    EXPECT_TRUE(rig.notifications.delivered().empty());  // the handler runs on the main queue
    rig.loop.runDue();
    EXPECT_EQ(chosenPath(), support + "/photo.JPG");
    EXPECT_FALSE(rig.exists(support + "/old.png"));
    EXPECT_FALSE(rig.exists(support + "/Sub/deep.TIFF"));
    EXPECT_TRUE(rig.exists(support + "/notes.txt"));
    EXPECT_TRUE(rig.exists("/Users/me/Pictures/photo.JPG"));
    EXPECT_EQ(testing::readBytes(rig.disk.real(support + "/photo.JPG")), "the photo");
    auto delivered = rig.notifications.delivered();
    ASSERT_EQ(delivered.size(), 1u);
    EXPECT_EQ(delivered[0].notification.identifier, "xq.morv.Tidra.customWallpaperSetNotification");
    EXPECT_EQ(delivered[0].notification.title, "Operation successful");
    EXPECT_EQ(delivered[0].notification.informativeText,
              "A custom image has been set as replacement wallpaper.");
    EXPECT_FALSE(delivered[0].notification.hasActionButton);
    EXPECT_FALSE(delivered[0].notification.hasReplyButton);

    // Choosing the imported copy itself keeps it: it is already where it belongs.
    rig.file(support + "/older.gif");
    rig.chooser->choose(custom.tag());
    ASSERT_FALSE(rig.panels.choose(support + "/photo.JPG"));
    rig.loop.runDue();
    EXPECT_TRUE(rig.exists(support + "/photo.JPG"));
    EXPECT_FALSE(rig.exists(support + "/older.gif"));
    EXPECT_EQ(chosenPath(), support + "/photo.JPG");
    EXPECT_EQ(rig.notifications.delivered().size(), 2u);
    EXPECT_TRUE(rig.console.lines().empty());

    // A GIF replaces the JPEG.
    rig.file("/Users/me/Downloads/cat.gif");
    rig.chooser->choose(custom.tag());
    ASSERT_FALSE(rig.panels.choose("/Users/me/Downloads/cat.gif"));
    rig.loop.runDue();
    EXPECT_FALSE(rig.exists(support + "/photo.JPG"));
    EXPECT_EQ(chosenPath(), support + "/cat.gif");
}

TEST_F(Chooser, AFailedStepStopsTheImportAndKeepsTheChoice) {
    SimMenuItem custom = item(1);
    rig.chooseGrey();
    rig.file("/Users/me/Pictures/photo.png");
    // No Tidra folder yet: the first import creates it... unless Application Support refuses.
    rig.files.setReadOnly("/Users/me/Library/Application Support", true);
    rig.chooser->choose(custom.tag());
    ASSERT_FALSE(rig.panels.choose("/Users/me/Pictures/photo.png"));
    rig.loop.runDue();
    EXPECT_EQ(chosenPath(), kGreyPath);
    ASSERT_EQ(rig.console.lines().size(), 1u);
    EXPECT_NE(rig.console.lines()[0].find("NSCocoaErrorDomain Code=513"), std::string::npos);
    EXPECT_EQ(rig.console.lines()[0].find("Error when"), std::string::npos);  // the bare error
    EXPECT_FALSE(rig.exists(support));

    rig.files.setReadOnly("/Users/me/Library/Application Support", false);
    rig.file(support + "/a.png");
    rig.file(support + "/b.png");
    rig.files.setReadOnly(support + "/b.png", true);
    rig.chooser->choose(custom.tag());
    ASSERT_FALSE(rig.panels.choose("/Users/me/Pictures/photo.png"));
    rig.loop.runDue();
    EXPECT_EQ(chosenPath(), kGreyPath);
    EXPECT_FALSE(rig.exists(support + "/a.png"));  // removed before the failure: stays removed
    EXPECT_FALSE(rig.exists(support + "/photo.png"));
    EXPECT_EQ(rig.console.lines().size(), 2u);
    // Two failures of their own, each told once.
    EXPECT_EQ(rig.notifications.delivered().size(), 2u);

    // Two panels open at once: each completion imports its own file; the last one wins.
    rig.files.setReadOnly(support + "/b.png", false);
    rig.file("/Users/me/Pictures/second.png");
    rig.chooser->choose(custom.tag());
    rig.chooser->choose(custom.tag());
    EXPECT_EQ(rig.panels.showing(), 2u);
    ASSERT_FALSE(rig.panels.choose("/Users/me/Pictures/second.png"));
    ASSERT_FALSE(rig.panels.choose("/Users/me/Pictures/photo.png"));
    rig.loop.runDue();
    EXPECT_EQ(chosenPath(), support + "/photo.png");
    EXPECT_FALSE(rig.exists(support + "/second.png"));
}

TEST_F(Chooser, TheCurrentPictureStaysUntilItsSuccessorIsWhole) {
    SimMenuItem custom = item(1);
    auto import = [&](const std::string& path) {
        rig.chooser->choose(custom.tag());
        ASSERT_FALSE(rig.panels.choose(path));
        rig.loop.runDue();
    };
    auto contents = [&](const std::string& macPath) {
        return testing::readBytes(rig.disk.real(macPath));
    };
    rig.file("/Users/me/Pictures/photo.png", "first photo");
    import("/Users/me/Pictures/photo.png");
    ASSERT_EQ(chosenPath(), support + "/photo.png");

    // The folder runs out of room half way through the copy: the broken half goes, the
    // picture in force and the choice stay.
    rig.files.setCopiesFailing(support, true);
    rig.file("/Users/me/Pictures/other.png", "another photo");
    import("/Users/me/Pictures/other.png");
    EXPECT_EQ(chosenPath(), support + "/photo.png");
    EXPECT_EQ(contents(support + "/photo.png"), "first photo");
    EXPECT_FALSE(rig.exists(support + "/other.png"));
    ASSERT_EQ(rig.console.lines().size(), 1u);
    EXPECT_NE(rig.console.lines()[0].find("Code=640"), std::string::npos);
    // A new picture of the same name fails the same way: the old copy is untouched.
    rig.file("/Users/me/Downloads/photo.png", "newer photo");
    import("/Users/me/Downloads/photo.png");
    EXPECT_EQ(contents(support + "/photo.png"), "first photo");
    EXPECT_FALSE(rig.exists(support + "/.incoming-photo.png"));
    EXPECT_EQ(rig.console.lines().size(), 2u);
    // The import's and the full disk's, told once for the two attempts.
    EXPECT_EQ(rig.notifications.delivered().size(), 2u);

    // With room again it replaces the copy, also past a half copy an interruption left.
    rig.files.setCopiesFailing(support, false);
    rig.file(support + "/.incoming-photo.png", "stale half");
    import("/Users/me/Downloads/photo.png");
    EXPECT_EQ(contents(support + "/photo.png"), "newer photo");
    EXPECT_FALSE(rig.exists(support + "/.incoming-photo.png"));
    EXPECT_EQ(chosenPath(), support + "/photo.png");
    EXPECT_EQ(rig.notifications.delivered().size(), 3u);

    // An earlier picture that cannot be removed stops the import; the one in force is removed
    // last, so it is still there for the choice that stays.
    rig.file(support + "/x.png");
    rig.files.setReadOnly(support + "/x.png", true);
    import("/Users/me/Pictures/other.png");
    EXPECT_EQ(chosenPath(), support + "/photo.png");
    EXPECT_EQ(contents(support + "/photo.png"), "newer photo");
    EXPECT_FALSE(rig.exists(support + "/other.png"));
    EXPECT_EQ(rig.console.lines().size(), 3u);
    EXPECT_EQ(rig.notifications.delivered().size(), 4u);
}

}  // namespace
}  // namespace tidra::sim
