// The Settings window end to end: each option changed there shows in the status menu and the
// stored preferences and the reverse, the presenting list edited from /Applications, and what
// the window is on each system.
#include <gtest/gtest.h>

#include <filesystem>

#include "sim/interface/views.h"
#include "sim_world.h"

namespace tidra {
namespace {

using testing::menuState;
using testing::onSystem;
using testing::SimWorld;

sim::SimWindow* settingsWindow(SimWorld& w) {
    for (sim::SimWindow* window : w.mac().windows().windows())
        if (window->nibName() == "SettingsWindow") return window;
    return nullptr;
}

// A control of the Settings window as the simulated Mac shows it.
sim::SimButton* control(SimWorld& w, const std::string& id) {
    sim::SimWindow* window = settingsWindow(w);
    return window
               ? dynamic_cast<sim::SimButton*>(sim::viewWithIdentifier(window->contentView(), id))
               : nullptr;
}

bool isOn(SimWorld& w, const std::string& id) {
    sim::SimButton* button = control(w, id);
    return button && button->state() == kControlStateOn;
}

std::vector<std::string> presentingRows(SimWorld& w) {
    std::vector<std::string> rows;
    auto* list = dynamic_cast<sim::SimListView*>(
        sim::viewWithIdentifier(settingsWindow(w)->contentView(), "presentingList"));
    if (list)
        for (const ListRow& row : list->rows()) rows.push_back(row.title);
    return rows;
}

std::string presentingMessage(SimWorld& w) {
    return testing::windowText(w, "SettingsWindow", "presentingMessage");
}

bool desktopClean(SimWorld& w) {
    return w.status()["clean"] == true;
}

TEST(SettingsWindow, EachOptionChangedInTheWindowShowsInTheMenuAndTheStoreAndTheReverse) {
    SimWorld w(onSystem(15));
    RUN_OK(w, "popover close\nmenu Settings...\n");
    ASSERT_NE(settingsWindow(w), nullptr);
    EXPECT_EQ(settingsWindow(w)->title(), "Tidra Settings");
    EXPECT_TRUE(settingsWindow(w)->isKey());

    // Window to menu and store.
    RUN_OK(w, "window click Restore Finder Windows\n");
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["restoreFinder"], false);
    EXPECT_EQ(menuState(w, "Restore Finder Windows"), kControlStateOff);
    RUN_OK(w, "window click Hide on Display Connect\n");
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["externalScreenTrigger"], true);
    EXPECT_EQ(menuState(w, "Hide on Display Connect"), kControlStateOn);
    RUN_OK(w, "window click Launch at Login\n");
    EXPECT_EQ(w.status()["appService"]["status"], "enabled");
    EXPECT_EQ(menuState(w, "Launch at Login"), kControlStateOn);
    RUN_OK(w, "window click Grey\n");
    EXPECT_NE(w.defaults("xq.morv.Tidra")["replaceWallpaper"].dump().find("wallpaper.png"),
              std::string::npos);
    EXPECT_EQ(menuState(w, "Grey"), kControlStateOn);
    EXPECT_TRUE(isOn(w, "greyWallpaper"));
    EXPECT_FALSE(isOn(w, "keepWallpaper"));
    RUN_OK(w, "window click Hide Widgets\n");
    EXPECT_EQ(menuState(w, "Hide Widgets"), kControlStateOff);
    EXPECT_FALSE(isOn(w, "hideWidgets"));

    // Menu and store to window, while it stays open.
    RUN_OK(w, "menu Restore Finder Windows\nmenu Keep Wallpaper\nmenu Hide Widgets\n");
    EXPECT_TRUE(isOn(w, "restoreFinder"));
    EXPECT_TRUE(isOn(w, "keepWallpaper"));
    EXPECT_FALSE(isOn(w, "greyWallpaper"));
    EXPECT_TRUE(isOn(w, "hideWidgets"));
    RUN_OK(w, "defaults write xq.morv.Tidra externalScreenDisconnect -bool true\n");
    EXPECT_TRUE(isOn(w, "showOnDisconnect"));
    RUN_OK(w, "defaults write xq.morv.Tidra hideWhilePresenting -bool true\n");
    EXPECT_TRUE(isOn(w, "hideWhilePresenting"));

    // A cancelled picture leaves the choice where it was, in the window as in the menu.
    RUN_OK(w, "window click Custom Image\npanel cancel\n");
    EXPECT_TRUE(isOn(w, "keepWallpaper"));
    EXPECT_FALSE(isOn(w, "imageWallpaper"));
    // A chosen one is named and previewed.
    RUN_OK(w, "window click Choose...\npanel choose ~/Pictures/Mountains.jpg\nwait 1\n");
    EXPECT_TRUE(isOn(w, "imageWallpaper"));
    EXPECT_EQ(menuState(w, "Custom Image…"), kControlStateOn);
    EXPECT_EQ(testing::windowText(w, "SettingsWindow", "pictureName"), "Mountains.jpg");
    auto* preview = dynamic_cast<sim::SimImageView*>(
        sim::viewWithIdentifier(settingsWindow(w)->contentView(), "picturePreview"));
    ASSERT_NE(preview, nullptr);
    EXPECT_NE(preview->imageFile().value_or("").find("Application Support/Tidra/Mountains.jpg"),
              std::string::npos);
}

TEST(SettingsWindow, OneWindowClosedByKeysAndItsFrameRememberedAcrossLaunches) {
    SimWorld w(onSystem(14));
    RUN_OK(w, "popover close\nmenu Settings...\nmenu Settings...\nopen-app Tidra\n");
    int shown = 0;
    for (sim::SimWindow* window : w.mac().windows().onScreen())
        shown += window->nibName() == "SettingsWindow";
    EXPECT_EQ(shown, 1);

    // ⌘W and Escape close it; other keys with ⌘ do not.
    RUN_OK(w, "type cmd+Q\n");
    EXPECT_TRUE(settingsWindow(w)->isVisible());
    RUN_OK(w, "type cmd+W\n");
    EXPECT_FALSE(settingsWindow(w)->isVisible());
    RUN_OK(w, "menu Settings...\ntype escape\n");
    EXPECT_FALSE(settingsWindow(w)->isVisible());
    EXPECT_NE(w.run("type cmd+W\n").find("no window of Tidra's is in front"), std::string::npos);
    // Keys for the recorder go on to it; the shortcut is not taken by the window.
    RUN_OK(w, "menu Settings...\ntype ctrl+cmd+K\n");
    EXPECT_EQ(w.status()["shortcut"], "⌃⌘K");

    // Dragged somewhere, it opens there after a relaunch; a saved place off every screen is
    // not taken.
    RUN_OK(w, "window move 120 80\nquit\nlaunch\nmenu Settings...\n");
    EXPECT_EQ(settingsWindow(w)->frame().origin.x, 120);
    EXPECT_EQ(settingsWindow(w)->frame().origin.y, 80);
    RUN_OK(w, "window move 99000 99000\nquit\nlaunch\nmenu Settings...\n");
    EXPECT_LT(settingsWindow(w)->frame().origin.x, 1440);
    RUN_OK(w,
           "quit\ndefaults write xq.morv.Tidra \"NSWindow Frame TidraSettings\" -string "
           "garbage\nlaunch\nmenu Settings...\n");
    EXPECT_TRUE(settingsWindow(w)->isCentered());

    // Quitting with the window and its panel open answers nothing afterwards.
    RUN_OK(w, "window click +\nquit\nlaunch\n");
    EXPECT_NE(w.run("panel choose /Applications/Notes.app\n").find("no open panel"),
              std::string::npos);
    EXPECT_TRUE(w.defaults("xq.morv.Tidra")["presentingApps"].is_null());
}

TEST(SettingsWindow, PresentingListEditedChangesWhatHidesTheDesktop) {
    SimWorld w(onSystem(15));
    RUN_OK(w, "popover close\nmenu Settings...\nwindow click Hide While Presenting\n");
    // The built-in list, named where the application is installed; − waits for a selection.
    EXPECT_FALSE(control(w, "removePresentingApp")->isEnabled());
    EXPECT_EQ(presentingRows(w),
              (std::vector<std::string>{"Keynote", "com.microsoft.Powerpoint", "zoom.us",
                                        "com.microsoft.teams2", "Cisco-Systems.Spark"}));

    // Added from /Applications: Notes now hides the desktop.
    RUN_OK(w, "window click +\npanel choose /Applications/Notes.app\n");
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["presentingApps"].back(), "com.apple.Notes");
    EXPECT_EQ(presentingRows(w).back(), "Notes");
    RUN_OK(w, "app launch com.apple.Notes Notes\nwait 3\n");
    EXPECT_TRUE(desktopClean(w));
    RUN_OK(w, "app quit com.apple.Notes\nwait 3\n");
    EXPECT_FALSE(desktopClean(w));
    // Chosen twice: said, not added again.
    RUN_OK(w, "window click +\npanel choose /Applications/Notes.app\n");
    EXPECT_EQ(presentingMessage(w), "“Notes” is already in the list.");
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["presentingApps"].size(), 6u);

    // What is no application the panel greys out, and bundles Tidra cannot read are refused
    // with what is wrong; nothing stored changes.
    RUN_OK(w, "window click +\n");
    EXPECT_NE(w.run("panel choose ~/Documents/notes.txt\n").find("does not accept"),
              std::string::npos);
    RUN_OK(w, "panel cancel\n");
    namespace fs = std::filesystem;
    fs::create_directories(w.mac().disk().real("/Applications/Empty.app/Contents"));
    testing::putFile(w, "/Applications/Damaged.app/Contents/Info.plist", "bplist00\x01\x02");
    testing::putFile(w, "/Applications/Anonymous.app/Contents/Info.plist",
                     "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleName"
                     "</key><string>Anonymous</string></dict></plist>");
    const nlohmann::json before = w.defaults("xq.morv.Tidra")["presentingApps"];
    for (auto [app, said] : {std::pair{"Empty", "“Empty.app” has no Info.plist"},
                             {"Damaged", "The Info.plist of “Damaged.app” is damaged"},
                             {"Anonymous", "“Anonymous.app” has no bundle identifier"}}) {
        RUN_OK(w, std::string("window click +\npanel choose /Applications/") + app + ".app\n");
        EXPECT_EQ(presentingMessage(w).rfind(said, 0), 0u) << presentingMessage(w);
        EXPECT_NE(w.status()["log"].back().get<std::string>().find(said), std::string::npos);
    }
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["presentingApps"], before);

    // Removed: Keynote no longer hides.
    RUN_OK(w, "window select Keynote\nwindow click -\n");
    EXPECT_EQ(presentingRows(w).front(), "com.microsoft.Powerpoint");
    RUN_OK(w, "app launch com.apple.iWork.Keynote Keynote\nwait 3\n");
    EXPECT_FALSE(desktopClean(w));
    // Restore Defaults: the stored list goes, and the running Keynote counts again at once.
    RUN_OK(w, "window click Restore Defaults\nwait 3\n");
    EXPECT_TRUE(w.defaults("xq.morv.Tidra")["presentingApps"].is_null());
    EXPECT_EQ(presentingRows(w).front(), "Keynote");
    EXPECT_TRUE(desktopClean(w));
}

TEST(SettingsWindow, DamagedAndOverlongStoredListsAreShownAsTheyCountAndKeptIntact) {
    SimWorld w(onSystem(15));
    // Not a list: the built-in one is shown and used, told once.
    RUN_OK(w,
           "popover close\ndefaults write xq.morv.Tidra presentingApps -string oops\n"
           "menu Settings...\nwindow close\nmenu Settings...\n");
    EXPECT_EQ(presentingRows(w).front(), "Keynote");
    int told = 0;
    const nlohmann::json status = w.status();
    for (const auto& line : status["log"])
        told += line.get<std::string>().find("presentingApps is not a list") != std::string::npos;
    EXPECT_EQ(told, 1);
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["presentingApps"], "oops");

    // A list past what a person keeps: the first 200 count, and nothing more is added.
    std::string many = "defaults write xq.morv.Tidra presentingApps -array";
    for (int i = 0; i < 250; ++i) many += " com.example.app" + std::to_string(i);
    RUN_OK(w, many + "\nwindow close\nmenu Settings...\n");
    EXPECT_EQ(presentingRows(w).size(), 200u);
    RUN_OK(w, "window click +\npanel choose /Applications/Notes.app\n");
    EXPECT_EQ(presentingMessage(w).rfind("The list holds 200 applications", 0), 0u);
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["presentingApps"].size(), 250u);
    // Removing one keeps every other entry, those past 200 included.
    RUN_OK(w, "window select com.example.app3\nwindow click -\n");
    const nlohmann::json kept = w.defaults("xq.morv.Tidra")["presentingApps"];
    EXPECT_EQ(kept.size(), 249u);
    EXPECT_EQ(kept[3], "com.example.app4");
    EXPECT_EQ(kept.back(), "com.example.app249");

    // Entries that are no bundle identifier (a number, an empty text) are passed over and stay
    // where they are through an edit.
    UserDefaults& store = w.mac().prefs().standardUserDefaults();
    w.mac().intoTidra([&] {
        store.setObject(
            Value(Array{Value(7), Value("com.apple.Notes"), Value(""), Value("us.zoom.xos")}),
            "presentingApps");
        store.synchronize();
    });
    RUN_OK(w, "window close\nmenu Settings...\n");
    EXPECT_EQ(presentingRows(w), (std::vector<std::string>{"Notes", "zoom.us"}));
    RUN_OK(w, "window select zoom.us\nwindow click -\n");
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["presentingApps"],
              (nlohmann::json{7, "com.apple.Notes", ""}));
}

TEST(SettingsWindow, NamedAndFurnishedAsEachSystemHasIt) {
    {
        SimWorld w(onSystem(12));
        RUN_OK(w, "popover close\nmenu Preferences...\n");
        EXPECT_EQ(settingsWindow(w)->title(), "Tidra Preferences");
        // No desktop widgets before macOS 14: no switch for them.
        EXPECT_TRUE(control(w, "hideWidgets")->isHidden());
        EXPECT_NE(w.run("window click Hide Widgets\n").find("has no button titled"),
                  std::string::npos);
    }
    {
        SimWorld w(onSystem(26));
        RUN_OK(w, "popover close\n");
        // The item shows its key equivalent.
        EXPECT_NE(w.type("right-click\n").find("Settings…   ⌘,"), std::string::npos);
        RUN_OK(w, "menu Launch at Login\napp-service disable\nmenu Settings...\n");
        // Switched off in System Settings: the window says where to allow it and opens the pane.
        EXPECT_EQ(w.status()["appService"]["status"], "requiresApproval");
        EXPECT_EQ(testing::windowText(w, "SettingsWindow", "loginStatus"),
                  "Tidra opens at login once you allow it in System Settings › General › Login "
                  "Items & Extensions.");
        EXPECT_FALSE(isOn(w, "launchAtLogin"));
        RUN_OK(w, "window click Open Login Items...\n");
        EXPECT_EQ(w.mac().appService().settingsOpened(), 1);
        RUN_OK(w, "app-service enable\nwindow close\nmenu Settings...\n");
        EXPECT_TRUE(isOn(w, "launchAtLogin"));
        EXPECT_TRUE(control(w, "openLoginItems")->isHidden());
    }
}

TEST(SettingsWindow, RowsASystemOrAStateDoesWithoutLeaveNoGap) {
    auto top = [](SimWorld& w, const std::string& id) {
        const Rect f = sim::viewWithIdentifier(settingsWindow(w)->contentView(), id)->frame();
        return f.origin.y + f.size.height;
    };
    auto bottom = [](SimWorld& w, const std::string& id) {
        return sim::viewWithIdentifier(settingsWindow(w)->contentView(), id)->frame().origin.y;
    };
    {
        // macOS 12: no widgets, no approval to wait for. The rows close up, each section keeping
        // the space before it.
        SimWorld w(onSystem(12));
        RUN_OK(w, "popover close\nmenu Preferences...\n");
        EXPECT_EQ(bottom(w, "launchAtLogin") - top(w, "restoreFinder"), 4);
        EXPECT_EQ(bottom(w, "showOnDisconnect") - top(w, "keepWallpaper"), 16);
        EXPECT_EQ(bottom(w, "showOnDisconnect") - top(w, "wallpaperHeading"), 16);
    }
    {
        // macOS 26: the approval line opens its row while it is needed, and closes it after.
        SimWorld w(onSystem(26));
        RUN_OK(w, "popover close\nmenu Settings...\n");
        const double closed = top(w, "restoreFinder");
        EXPECT_EQ(bottom(w, "launchAtLogin") - closed, 4);
        EXPECT_EQ(bottom(w, "showOnDisconnect") - top(w, "hideWidgets"), 4);
        RUN_OK(w, "window close\nmenu Launch at Login\napp-service disable\nmenu Settings...\n");
        EXPECT_FALSE(control(w, "openLoginItems")->isHidden());
        EXPECT_GT(bottom(w, "launchAtLogin") - top(w, "restoreFinder"), 60);
        EXPECT_GT(bottom(w, "openLoginItems"), top(w, "restoreFinder"));
        RUN_OK(w, "app-service enable\nwindow close\nmenu Settings...\n");
        EXPECT_EQ(top(w, "restoreFinder"), closed);
    }
}

}  // namespace
}  // namespace tidra
