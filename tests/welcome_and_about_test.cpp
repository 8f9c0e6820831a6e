// The welcome popover and the About window on a simulated Mac, driven through the front end as a
// user would.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "about/companion_store.h"
#include "frontend/frontend.h"
#include "frontend/window_commands.h"
#include "menu/popover_view_controller.h"
#include "menu/status_menu_controller.h"
#include "sim/formats/plist_value.h"
#include "sim/interface/views.h"
#include "sim/mac.h"
#include "test_files.h"
#include "test_folder.h"

namespace tidra::sim {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

class WelcomeAndAbout : public ::testing::Test {
  protected:
    void SetUp() override { root = testing::freshTestFolder("welcome-about"); }
    void TearDown() override {
        frontend.reset();
        mac.reset();
        fs::remove_all(root);
    }

    void newMac(std::optional<OperatingSystemVersion> version = std::nullopt,
                const std::string& bundleIn = "applications") {
        frontend.reset();
        mac.reset();
        fs::remove_all(root);
        MacOptions options;
        options.root = root.string();
        options.systemVersion = version;
        // Installed already unless asked otherwise: no offer to move it stands in the way.
        options.bundleIn = bundleIn;
        mac = std::make_unique<Mac>(options);
        frontend = std::make_unique<Frontend>(*mac, out);
    }
    void run(const std::string& line) {
        ASSERT_TRUE(frontend->executeLine(line)) << line << "\n" << out.str();
    }
    json status() { return frontend->statusJson(); }
    // Rewrites the installed bundle's Info.plist, as a differently built Tidra would have it.
    void setBundleVersion(std::optional<std::string> version) {
        Dictionary info{{Value("CFBundleIdentifier"), Value("xq.morv.Tidra")}};
        if (version) info[Value("CFBundleVersion")] = Value(*version);
        auto bytes = toBinaryPlist(Value(info));
        ASSERT_TRUE(bytes);
        testing::writeBytes(mac->disk().real(mac->bundlePath() + "/Contents/Info.plist"), *bytes);
    }
    std::vector<SimWindow*> aboutWindows() {
        std::vector<SimWindow*> out;
        for (SimWindow* w : mac->windows().windows())
            if (w->nibName() == "TransluscentWindow") out.push_back(w);
        return out;
    }
    std::string versionText(SimWindow& w) {
        auto* label = dynamic_cast<TextField*>(viewWithIdentifier(w.contentView(), "versionLabel"));
        return label ? label->stringValue() : "<no label>";
    }

    fs::path root;
    std::ostringstream out;
    std::unique_ptr<Mac> mac;
    std::unique_ptr<Frontend> frontend;
};

TEST_F(WelcomeAndAbout, FirstLaunchWelcomesOnceAndOnlyItsControlClosesIt) {
    newMac();
    run("launch");
    SimPopover* popover = tidraPopover(*mac);
    ASSERT_NE(popover, nullptr);
    EXPECT_TRUE(popover->isShown());
    EXPECT_EQ(popover->behavior(), kPopoverBehaviorApplicationDefined);
    EXPECT_EQ(popover->appearance(), std::optional<std::string>(kAppearanceNameVibrantDark));
    // Under the status item: its button's bounds, in its view, below the menu bar.
    StatusBarButton* button = mac->statusItem()->button();
    EXPECT_EQ(popover->anchorView(), button->view());
    EXPECT_EQ(popover->anchorRect(), button->bounds());
    EXPECT_EQ(popover->preferredEdge(), RectEdge::MaxY);
    // The content is the welcome view, with its close control in the controller's outlet.
    auto content =
        std::dynamic_pointer_cast<PopoverViewController>(popover->contentViewController());
    ASSERT_TRUE(content);
    EXPECT_EQ(content->mainController(), mac->controller());
    SimButton* close = buttonWithAction(popover->contentView(), "closePopover:");
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(content->button(), close);
    EXPECT_EQ(status()["defaults"]["xq.morv.Tidra"]["hasShownWelcomeMessage"], json(true));

    // Clicks elsewhere and the menu leave it open.
    std::istringstream script("click\nwait 3\nright-click\ndismiss\n");
    ASSERT_EQ(frontend->runScript(script), 0) << out.str();
    EXPECT_TRUE(popover->isShown());
    EXPECT_EQ(status()["popover"]["shown"], json(true));

    run("popover close");
    EXPECT_FALSE(popover->isShown());
    EXPECT_EQ(
        status()["popover"],
        (json{{"shown", false}, {"behavior", 0}, {"appearance", kAppearanceNameVibrantDark}}));
    EXPECT_FALSE(frontend->executeLine("popover close"));

    // A second launch of the same Mac: no welcome.
    run("quit");
    run("launch");
    ASSERT_NE(tidraPopover(*mac), nullptr);
    EXPECT_FALSE(tidraPopover(*mac)->isShown());
    EXPECT_EQ(tidraPopover(*mac)->timesShown(), 0);
}

TEST_F(WelcomeAndAbout, AFirstLaunchThatMovesItselfLeavesTheWelcomeToTheMovedCopy) {
    newMac(std::nullopt, "downloads");
    std::istringstream script("alert Move to Applications Folder\n");
    frontend->attach(script, false);
    frontend->launch();
    ASSERT_EQ(frontend->runScript(script), 0) << out.str();
    ASSERT_EQ(mac->tidraLaunches(), 2);
    ASSERT_EQ(mac->bundlePath(), "/Applications/Tidra.app");
    SimPopover* popover = tidraPopover(*mac);
    ASSERT_NE(popover, nullptr);
    EXPECT_TRUE(popover->isShown());
    EXPECT_EQ(status()["defaults"]["xq.morv.Tidra"]["hasShownWelcomeMessage"], json(true));

    // Shown once the launch has finished, the welcome is not offered again.
    run("popover close");
    run("quit");
    run("launch");
    EXPECT_EQ(tidraPopover(*mac)->timesShown(), 0);
}

TEST_F(WelcomeAndAbout, ShowPopoverTogglesAndTransientPopoversCloseOnOutsideClicks) {
    newMac();
    run("launch");
    StatusMenuController* c = mac->controller();
    SimPopover* popover = tidraPopover(*mac);
    ASSERT_TRUE(c && popover && popover->isShown());
    c->showPopover(nullptr);
    EXPECT_FALSE(popover->isShown());
    EXPECT_TRUE(c->performAction("showPopover:", nullptr));
    EXPECT_TRUE(popover->isShown());
    EXPECT_EQ(popover->timesShown(), 2);

    // The welcome's own behaviour is what keeps it open: a transient one goes with a click.
    popover->setBehavior(kPopoverBehaviorTransient);
    run("click");
    EXPECT_FALSE(popover->isShown());

    // Without a main controller the close control does nothing.
    PopoverViewController orphan(mac->platform().interfaces, "PopoverViewController");
    EXPECT_TRUE(orphan.performAction("closePopover:", nullptr));
}

TEST_F(WelcomeAndAbout, AboutWindowIsLoadedOnceAndShownAboveEverything) {
    newMac(OperatingSystemVersion{10, 15, 0});
    run("launch");
    setBundleVersion("123");
    EXPECT_TRUE(aboutWindows().empty());  // loaded at its first showing only
    run("menu About Tidra");
    auto windows = aboutWindows();
    ASSERT_EQ(windows.size(), 1u);
    SimWindow& w = *windows[0];
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.isKey());
    EXPECT_EQ(mac->windows().onScreen().front(), &w);
    EXPECT_EQ(versionText(w), "Version 123");

    // Content view (layer-backed) > visual-effect view of its size > mainView, pinned.
    View* content = w.contentView();
    ASSERT_NE(content, nullptr);
    EXPECT_TRUE(content->wantsLayer());
    auto subviews = content->subviews();
    ASSERT_EQ(subviews.size(), 1u);
    auto* effect = dynamic_cast<SimVisualEffectView*>(subviews[0].get());
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->frame(), (Rect{{0, 0}, content->visibleRect().size}));
    ASSERT_EQ(effect->subviews().size(), 1u);
    View* mainView = effect->subviews()[0].get();
    EXPECT_EQ(mainView->identifier(), "mainView");
    EXPECT_EQ(mainView->superview(), effect);
    ASSERT_EQ(effect->constraints().size(), 4u);
    for (const auto& c : effect->constraints()) {
        EXPECT_EQ(c.first, mainView);
        EXPECT_EQ(c.second, effect);
    }

    // The link opens the store page and leaves the window open.
    run("about link");
    EXPECT_EQ(mac->workspace().openedURLs(),
              std::vector<std::string>{kBrimleStoreAddressPlaceholder});
    EXPECT_TRUE(w.isVisible());

    // Closed and shown again: the same window, its look built once.
    run("window close 0");
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(frontend->executeLine("about link"));
    run("menu About Tidra");
    ASSERT_EQ(aboutWindows(), std::vector<SimWindow*>{&w});
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(content->subviews().size(), 1u);
    EXPECT_EQ(effect->constraints().size(), 4u);
    json described = status()["windows"];
    ASSERT_EQ(described.size(), 1u);
    EXPECT_EQ(described[0]["level"], w.level());
}

TEST_F(WelcomeAndAbout, MaterialFollowsTheRunningSystemAndAMissingVersionKeepsTheLabel) {
    const std::vector<std::pair<OperatingSystemVersion, int>> cases{
        {{10, 10, 5}, kVisualEffectMaterialDark},
        {{10, 11, 0}, kVisualEffectMaterialUltraDark},
        {{11, 0, 0}, kVisualEffectMaterialUltraDark},
        {{9, 12, 0}, kVisualEffectMaterialDark},
    };
    for (const auto& [version, material] : cases) {
        newMac(version);
        run("launch");
        setBundleVersion(std::nullopt);
        run("menu About Tidra");
        auto windows = aboutWindows();
        ASSERT_EQ(windows.size(), 1u);
        auto* effect =
            dynamic_cast<SimVisualEffectView*>(windows[0]->contentView()->subviews()[0].get());
        ASSERT_NE(effect, nullptr);
        EXPECT_EQ(effect->material(), material) << version.major << "." << version.minor;
        EXPECT_EQ(versionText(*windows[0]), "Version");
    }
}

TEST_F(WelcomeAndAbout, MissingDescriptionsLeaveNothingToShowWithoutHarm) {
    newMac();
    run("launch");
    SimInterfaceLoader nowhere(SimInterfaceLoader::inFolder((root / "none").string()),
                               mac->windows(), mac->console());
    TransluscentWindow about(nowhere, mac->ui(), mac->bundle(), mac->workspace(), mac->system());
    about.showWindow(nullptr);
    EXPECT_EQ(about.window(), nullptr);
    EXPECT_TRUE(about.isWindowLoaded());
    PopoverViewController content(nowhere, "PopoverViewController");
    EXPECT_EQ(content.view(), nullptr);
    auto log = mac->console().lines();
    EXPECT_NE(std::find_if(log.begin(), log.end(),
                           [](const std::string& l) {
                               return l.find("TransluscentWindow") != std::string::npos;
                           }),
              log.end());
    // Nothing reached the screen.
    EXPECT_TRUE(mac->windows().windows().empty());
}

}  // namespace
}  // namespace tidra::sim
