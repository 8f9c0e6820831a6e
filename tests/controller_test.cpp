#include <gtest/gtest.h>

#include "app/app_delegate.h"
#include "app/class_registry.h"
#include "fake_platform.h"
#include "menu/popover_view_controller.h"
#include "menu/status_menu_controller.h"

namespace tidra {
namespace {

using fake::World;

struct ControllerTest : ::testing::Test {
    World w;
    std::unique_ptr<StatusMenuController> controller;

    StatusMenuController& launch() {
        controller.reset();
        w.ui.popover = std::make_shared<fake::FakePopover>();
        controller = std::make_unique<StatusMenuController>(w.platform());
        controller->setOutlet("statusMenu", &w.menu);
        controller->setOutlet("wallpaperNoReplaceMenuItem", &w.noReplace);
        controller->setOutlet("wallpaperReplaceWithImageMenuItem", &w.image);
        controller->setOutlet("wallpaperReplaceWithGreyMenuItem", &w.grey);
        controller->awakeFromNib();
        return *controller;
    }
    Value store(const std::string& key) { return w.prefs.standard.objectForKey(key); }
    Value finder(const std::string& key) { return w.prefs.finder->objectForKey(key); }
    std::string icon() { return w.statusBar.item->imageName; }
    std::vector<int> marks() { return {w.noReplace.state(), w.image.state(), w.grey.state()}; }
    void finderQuits() {
        w.workspace.center.post(
            kWorkspaceDidTerminateApplicationNotification,
            Dictionary{{Value(kApplicationBundleIdentifierKey), Value("com.apple.finder")}});
    }
};

TEST_F(ControllerTest, FirstLaunchSetsUpOnceAndLaterLaunchesKeepTheUsersChoice) {
    launch();
    EXPECT_EQ(finder("NSQuitAlwaysKeepsWindows"), Value(true));
    EXPECT_EQ(store("restoreFinder"), Value(true));
    EXPECT_EQ(store("hasSetRestoreFinderPref"), Value(true));
    EXPECT_EQ(store("hasShownWelcomeMessage"), Value(true));
    EXPECT_EQ(store("launchAtLogin"), Value(false));
    EXPECT_TRUE(store("replaceWallpaper").isNil());
    EXPECT_EQ(w.statusBar.item->title, "Tidra");
    EXPECT_EQ(icon(), "statusIconDirty");
    EXPECT_EQ(w.statusBar.item->length(), 18);
    EXPECT_EQ(w.toggle.title(), "Tidra That Mess!");
    auto& button = *w.statusBar.item->button_;
    EXPECT_EQ(button.target, controller.get());
    EXPECT_EQ(button.action, "itemClicked:");
    EXPECT_EQ(button.mask, 20u);
    EXPECT_EQ(w.ui.popover->shows, 1);
    EXPECT_EQ(w.ui.popover->behavior, kPopoverBehaviorApplicationDefined);
    EXPECT_EQ(w.ui.popover->appearance, std::string(kAppearanceNameVibrantDark));
    EXPECT_EQ(marks(), (std::vector<int>{1, 0, 0}));

    // The user turned window restoration off in Finder; the welcome is not shown again.
    w.prefs.finder->setBool(false, "NSQuitAlwaysKeepsWindows");
    launch();
    EXPECT_EQ(finder("NSQuitAlwaysKeepsWindows"), Value(false));
    EXPECT_EQ(store("restoreFinder"), Value(false));
    EXPECT_EQ(w.ui.popover->shows, 0);

    // The popover's own control closes it; a second showPopover: closes it too.
    controller->showPopover(nullptr);
    auto content = std::dynamic_pointer_cast<PopoverViewController>(w.ui.popover->content);
    ASSERT_TRUE(content);
    EXPECT_TRUE(content->performAction("closePopover:", nullptr));
    EXPECT_FALSE(w.ui.popover->shown);
    controller->showPopover(nullptr);
    controller->showPopover(nullptr);
    EXPECT_FALSE(w.ui.popover->shown);
}

TEST_F(ControllerTest, UnreachableFinderDomainIsSkippedButRemembered) {
    w.prefs.finderReachable = false;
    launch();
    EXPECT_EQ(store("hasSetRestoreFinderPref"), Value(true));
    EXPECT_TRUE(store("restoreFinder").isNil());
    EXPECT_FALSE(controller->clean());
    EXPECT_EQ(icon(), "statusIconDirty");

    controller->performAction("hideMessClicked:", nullptr);
    EXPECT_EQ(w.console.lines, std::vector<std::string>{"Could not get Finder defaults"});
    EXPECT_EQ(w.workspace.finders[0]->terminations, 0);
}

TEST_F(ControllerTest, ToggleTakesEffectOnlyAfterFindersRelaunch) {
    w.workspace.finders.push_back(std::make_shared<fake::RunningApp>("com.apple.finder"));
    launch();
    w.application.event = Event{EventType::LeftMouseUp};
    controller->performAction("itemClicked:", nullptr);
    EXPECT_EQ(finder("CreateDesktop"), Value(false));
    EXPECT_EQ(w.workspace.finders[0]->terminations, 1);
    EXPECT_EQ(w.workspace.finders[1]->terminations, 0);
    EXPECT_FALSE(controller->clean());
    EXPECT_EQ(icon(), "statusIconDirty");

    // Another application quitting, or a look-alike identifier, is not Finder.
    w.workspace.center.post(
        kWorkspaceDidTerminateApplicationNotification,
        Dictionary{{Value(kApplicationBundleIdentifierKey), Value("com.apple.Finder")}});
    EXPECT_TRUE(w.workspace.launched.empty());

    finderQuits();
    EXPECT_EQ(w.workspace.launched, std::vector<std::string>{"com.apple.finder"});
    EXPECT_TRUE(controller->clean());
    EXPECT_EQ(icon(), "statusIconClean");
    EXPECT_EQ(w.toggle.title(), "Show That Mess");

    // The theme does not touch the clean icon.
    w.global["AppleInterfaceStyle"] = Value("Dark");
    w.distributed.post(kInterfaceThemeChangedNotification);
    EXPECT_EQ(icon(), "statusIconClean");

    controller->performAction("hideMessClicked:", nullptr);
    EXPECT_EQ(finder("CreateDesktop"), Value(true));
    finderQuits();
    EXPECT_FALSE(controller->clean());
    EXPECT_EQ(icon(), "statusIconDirtyDark");
    EXPECT_TRUE(controller->darkMode());
    w.global["AppleInterfaceStyle"] = Value(3);
    w.distributed.post(kInterfaceThemeChangedNotification);
    EXPECT_EQ(icon(), "statusIconDirty");
}

TEST_F(ControllerTest, RightClickOpensTheMenuOnlyWhileTracking) {
    launch();
    w.application.event = Event{EventType::RightMouseUp};
    controller->performAction("itemClicked:", nullptr);
    EXPECT_EQ(w.statusBar.item->popUps, std::vector<std::string>{"attached"});
    EXPECT_EQ(w.statusBar.item->menu(), nullptr);
    EXPECT_EQ(w.statusBar.item->button_->action, "itemClicked:");
    EXPECT_TRUE(finder("CreateDesktop").isNil());

    w.application.event.reset();
    controller->performAction("itemClicked:", nullptr);
    EXPECT_TRUE(finder("CreateDesktop").isNil());
}

TEST_F(ControllerTest, WallpaperMarksFollowTheStoredChoice) {
    const std::string greyPath = *w.bundle.grey->path();
    w.prefs.standard.values["replaceWallpaper"] =
        Value("/Applications/Tidra.app/./Resources/wallpaper.png");
    launch();
    EXPECT_EQ(marks(), (std::vector<int>{0, 0, 1}));

    auto& store = w.prefs.standard;
    store.setObject(Value("~/Pictures/beach.jpg"), "replaceWallpaper");
    EXPECT_EQ(marks(), (std::vector<int>{0, 1, 0}));
    store.removeObjectForKey("replaceWallpaper");
    EXPECT_EQ(marks(), (std::vector<int>{1, 0, 0}));
    store.setObject(Value(greyPath + "/"), "replaceWallpaper");
    EXPECT_EQ(marks(), (std::vector<int>{0, 0, 1}));
    store.setObject(Value(7), "replaceWallpaper");  // not a path: nothing marked
    EXPECT_EQ(marks(), (std::vector<int>{0, 0, 0}));

    // "~" abbreviations compare equal to the full path.
    w.bundle.grey = Url::fileURLWithPath("/Users/me/Tidra.app/wallpaper.png");
    store.setObject(Value("~/Tidra.app/wallpaper.png"), "replaceWallpaper");
    EXPECT_EQ(marks(), (std::vector<int>{0, 0, 1}));

    w.bundle.grey.reset();
    store.setObject(Value("~/Tidra.app/wallpaper.png"), "replaceWallpaper");
    EXPECT_EQ(marks(), (std::vector<int>{0, 0, 0}));
}

TEST_F(ControllerTest, PreferenceChangesReachLoginItemsAndFinder) {
    w.scripting.loginItems = {"Mail", "Tidra"};
    launch();
    EXPECT_EQ(store("launchAtLogin"), Value(true));
    ASSERT_EQ(w.scripting.sources.size(), 1u);  // the launch query starts no add or remove

    auto& store = w.prefs.standard;
    store.setBool(true, "launchAtLogin");
    EXPECT_EQ(w.scripting.loginItems, (std::vector<std::string>{"Mail", "Tidra"}));
    ASSERT_EQ(w.scripting.sources.size(), 3u);
    EXPECT_NE(w.scripting.sources[1].find("delete login item"), std::string::npos);
    EXPECT_NE(w.scripting.sources[2].find("{path:\"/Applications/Tidra.app\""), std::string::npos);
    store.setBool(false, "launchAtLogin");
    EXPECT_EQ(w.scripting.loginItems, std::vector<std::string>{"Mail"});
    store.setObject(Value("yes"), "launchAtLogin");  // not a Boolean: ignored
    EXPECT_EQ(w.scripting.sources.size(), 4u);

    store.setBool(false, "restoreFinder");
    EXPECT_EQ(finder("NSQuitAlwaysKeepsWindows"), Value(false));
    controller->updateRestoreFinder(true, false);
    EXPECT_EQ(finder("NSQuitAlwaysKeepsWindows"), Value(true));
    EXPECT_EQ(this->store("restoreFinder"), Value(false));

    // A key the controller did not register for goes to the base class.
    controller->observeValueForKeyPath(std::string("other"), nullptr, std::nullopt, nullptr);
    controller->observeValueForKeyPath(std::nullopt, nullptr, std::nullopt, nullptr);
    controller->observeValueForKeyPath(std::string("restoreFinder"), nullptr, std::nullopt,
                                       nullptr);
    EXPECT_EQ(controller->baseObservationsReceived(), 2);

    controller.reset();
    EXPECT_TRUE(w.prefs.standard.observers.empty());
    EXPECT_TRUE(w.workspace.center.observers.empty());
    EXPECT_TRUE(w.distributed.observers.empty());
}

TEST_F(ControllerTest, ConnectingADisplayHidesTheDesktopWhenAsked) {
    launch();
    ASSERT_TRUE(w.screens.callback);
    w.screens.callback(2, kDisplayAddFlag, w.screens.userInfo);
    EXPECT_TRUE(finder("CreateDesktop").isNil());

    w.prefs.standard.setBool(true, "externalScreenTrigger");
    w.screens.callback(2, kDisplayAddFlag, w.screens.userInfo);
    EXPECT_EQ(finder("CreateDesktop"), Value(false));
    EXPECT_EQ(icon(), "statusIconClean");  // at once, before Finder is back
    EXPECT_FALSE(controller->clean());
    EXPECT_EQ(w.workspace.finders[0]->terminations, 1);
}

TEST(AppDelegate, LaunchDutiesRunInOrder) {
    World w;
    int offers = 0;
    AppDelegate delegate(w.prefs.standard, w.devMate, w.userNotifications, [&] { ++offers; });
    delegate.applicationWillFinishLaunching({});
    EXPECT_EQ(offers, 1);
    EXPECT_TRUE(w.devMate.calls.empty());
    delegate.applicationDidFinishLaunching({});
    EXPECT_EQ(w.devMate.calls, (std::vector<std::string>{"report", "issues:all"}));
    EXPECT_EQ(w.userNotifications.delegate, &delegate);
    EXPECT_TRUE(delegate.userNotificationCenterShouldPresentNotification({}));

    auto classes = makeTidraClasses(w.platform());
    EXPECT_TRUE(std::dynamic_pointer_cast<ApplicationDelegate>(classes.make("AppDelegate")));
    EXPECT_TRUE(
        std::dynamic_pointer_cast<StatusMenuController>(classes.make("StatusMenuController")));
    EXPECT_EQ(classes.make("Nothing"), nullptr);

    // Quit ends the application and leaves Finder's preference as it is.
    StatusMenuController controller(w.platform());
    w.prefs.finder->setBool(false, "CreateDesktop");
    EXPECT_THROW(controller.performAction("quitClicked:", nullptr), fake::Exit);
    EXPECT_EQ(w.prefs.finder->objectForKey("CreateDesktop"), Value(false));
    controller.performAction("showFeedbackDialog:", nullptr);
    EXPECT_EQ(w.devMate.calls.back(), "feedback:0");
    controller.performAction("aboutClicked:", nullptr);
    EXPECT_EQ(w.loader.loaded, std::vector<std::string>{"TransluscentWindow"});
}

}  // namespace
}  // namespace tidra
