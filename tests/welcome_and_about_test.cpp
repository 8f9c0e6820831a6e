// The welcome popover and the About window on a simulated Mac, driven through the front end as a
// user would.
#include <gtest/gtest.h>

#include <algorithm>

#include "about/companion_store.h"
#include "frontend/window_commands.h"
#include "menu/popover_view_controller.h"
#include "sim/formats/plist_value.h"
#include "sim/interface/views.h"
#include "sim_world.h"

namespace tidra::sim {
namespace {

using nlohmann::json;
using testing::SimWorld;

// A new simulated Mac running `version` (10.15 unless given), Tidra installed and launched.
std::unique_ptr<SimWorld> newMac(std::optional<OperatingSystemVersion> version = std::nullopt) {
    MacOptions options;
    options.systemVersion = version;
    return std::make_unique<SimWorld>(options);
}

// Rewrites the installed bundle's Info.plist, as a differently built Tidra would have it: the
// build number and the marketing version, each left out when not given.
void setBundleVersion(Mac& mac, std::optional<Value> version,
                      std::optional<Value> shortVersion = std::nullopt) {
    Dictionary info{{Value("CFBundleIdentifier"), Value("xq.morv.Tidra")}};
    if (version) info[Value("CFBundleVersion")] = *version;
    if (shortVersion) info[Value("CFBundleShortVersionString")] = *shortVersion;
    auto bytes = toBinaryPlist(Value(info));
    ASSERT_TRUE(bytes);
    testing::writeBytes(mac.disk().real(mac.bundlePath() + "/Contents/Info.plist"), *bytes);
}

std::vector<SimWindow*> aboutWindows(Mac& mac) {
    std::vector<SimWindow*> out;
    for (SimWindow* w : mac.windows().windows())
        if (w->nibName() == "TransluscentWindow") out.push_back(w);
    return out;
}

// The About window's version label as `status --json` reports it; "(no window)" when no About
// window is on the list.
std::string reportedVersion(SimWorld& w) {
    const json windows = w.status()["windows"];
    for (const json& window : windows) {
        if (window["nib"] != "TransluscentWindow") continue;
        std::vector<json> views{window["contentView"]};
        while (!views.empty()) {
            json view = views.back();
            views.pop_back();
            if (view.value("id", "") == "versionLabel") return view["stringValue"];
            for (const json& child : view["subviews"]) views.push_back(child);
        }
        return "(no label)";
    }
    return "(no window)";
}

std::string versionText(SimWindow& w) {
    auto* label = dynamic_cast<TextField*>(viewWithIdentifier(w.contentView(), "versionLabel"));
    return label ? label->stringValue() : "<no label>";
}

TEST(WelcomeAndAbout, FirstLaunchWelcomesOnceAndOnlyItsControlClosesIt) {
    auto w = newMac();
    Mac& mac = w->mac();
    SimPopover* popover = tidraPopover(mac);
    ASSERT_NE(popover, nullptr);
    EXPECT_TRUE(popover->isShown());
    EXPECT_EQ(popover->behavior(), kPopoverBehaviorApplicationDefined);
    EXPECT_EQ(popover->appearance(), std::optional<std::string>(kAppearanceNameVibrantDark));
    // Under the status item: its button's bounds, in its view, below the menu bar.
    StatusBarButton* button = mac.statusItem()->button();
    EXPECT_EQ(popover->anchorView(), button->view());
    EXPECT_EQ(popover->anchorRect(), button->bounds());
    EXPECT_EQ(popover->preferredEdge(), RectEdge::MaxY);
    // The content is the welcome view, with its close control in the controller's outlet.
    auto content =
        std::dynamic_pointer_cast<PopoverViewController>(popover->contentViewController());
    ASSERT_TRUE(content);
    EXPECT_EQ(content->mainController(), w->controller());
    SimButton* close = buttonWithAction(popover->contentView(), "closePopover:");
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(content->button(), close);
    EXPECT_EQ(w->defaults("xq.morv.Tidra")["hasShownWelcomeMessage"], json(true));

    // Clicks elsewhere and the menu leave it open.
    RUN_OK(*w, "click\nwait 3\nright-click\ndismiss\n");
    EXPECT_TRUE(popover->isShown());
    EXPECT_EQ(w->status()["popover"]["shown"], json(true));

    RUN_OK(*w, "popover close\n");
    EXPECT_FALSE(popover->isShown());
    EXPECT_EQ(
        w->status()["popover"],
        (json{{"shown", false}, {"behavior", 0}, {"appearance", kAppearanceNameVibrantDark}}));
    EXPECT_FALSE(w->frontend().executeLine("popover close"));

    // A second launch of the same Mac: no welcome.
    RUN_OK(*w, "quit\nlaunch\n");
    ASSERT_NE(tidraPopover(mac), nullptr);
    EXPECT_FALSE(tidraPopover(mac)->isShown());
    EXPECT_EQ(tidraPopover(mac)->timesShown(), 0);
}

TEST(WelcomeAndAbout, AFirstLaunchThatMovesItselfLeavesTheWelcomeToTheMovedCopy) {
    MacOptions options;
    options.bundleIn = "downloads";
    SimWorld w(options, false);
    w.launch("alert Move to Applications Folder\n");
    ASSERT_EQ(w.lastStatus(), 0);
    ASSERT_EQ(w.mac().tidraLaunches(), 2);
    ASSERT_EQ(w.mac().bundlePath(), "/Applications/Tidra.app");
    SimPopover* popover = tidraPopover(w.mac());
    ASSERT_NE(popover, nullptr);
    EXPECT_TRUE(popover->isShown());
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["hasShownWelcomeMessage"], json(true));

    // Shown once the launch has finished, the welcome is not offered again.
    RUN_OK(w, "popover close\nquit\nlaunch\n");
    EXPECT_EQ(tidraPopover(w.mac())->timesShown(), 0);
}

TEST(WelcomeAndAbout, ShowPopoverTogglesAndTransientPopoversCloseOnOutsideClicks) {
    auto w = newMac();
    StatusMenuController* c = w->controller();
    SimPopover* popover = tidraPopover(w->mac());
    ASSERT_TRUE(c && popover && popover->isShown());
    c->showPopover(nullptr);
    EXPECT_FALSE(popover->isShown());
    EXPECT_TRUE(c->performAction("showPopover:", nullptr));
    EXPECT_TRUE(popover->isShown());
    EXPECT_EQ(popover->timesShown(), 2);

    // The welcome's own behaviour is what keeps it open: a transient one goes with a click.
    popover->setBehavior(kPopoverBehaviorTransient);
    RUN_OK(*w, "click\n");
    EXPECT_FALSE(popover->isShown());

    // Without a main controller the close control does nothing.
    PopoverViewController orphan(w->mac().platform().interfaces, "PopoverViewController");
    EXPECT_TRUE(orphan.performAction("closePopover:", nullptr));
}

TEST(WelcomeAndAbout, AboutWindowIsLoadedOnceAndShownAboveEverything) {
    auto w = newMac(OperatingSystemVersion{10, 15, 0});
    Mac& mac = w->mac();
    setBundleVersion(mac, Value("123"));
    EXPECT_TRUE(aboutWindows(mac).empty());  // loaded at its first showing only
    RUN_OK(*w, "menu About Tidra\n");
    auto windows = aboutWindows(mac);
    ASSERT_EQ(windows.size(), 1u);
    SimWindow& about = *windows[0];
    EXPECT_TRUE(about.isVisible());
    EXPECT_TRUE(about.isKey());
    EXPECT_EQ(mac.windows().onScreen().front(), &about);
    EXPECT_EQ(versionText(about), "Version 123");

    // The link opens the store page and leaves the window open.
    RUN_OK(*w, "about link\n");
    EXPECT_EQ(mac.workspace().openedURLs(),
              std::vector<std::string>{kBrimleStoreAddressPlaceholder});
    EXPECT_NE(w->run("status\n")
                  .find(std::string("Opened by Tidra:\n  ") + kBrimleStoreAddressPlaceholder),
              std::string::npos);
    EXPECT_TRUE(about.isVisible());

    // Closed and shown again: the same window.
    RUN_OK(*w, "window close 0\n");
    EXPECT_FALSE(about.isVisible());
    EXPECT_FALSE(w->frontend().executeLine("about link"));
    RUN_OK(*w, "menu About Tidra\n");
    ASSERT_EQ(aboutWindows(mac), std::vector<SimWindow*>{&about});
    EXPECT_TRUE(about.isVisible());
    json described = w->status()["windows"];
    ASSERT_EQ(described.size(), 1u);
    EXPECT_EQ(described[0]["level"], about.level());
}

TEST(WelcomeAndAbout, TheVersionReadsAsAMacWritesItFromTheMarketingVersionAndTheBuild) {
    // Tidra as built: its marketing version and its build number.
    auto w = newMac();
    RUN_OK(*w, "menu About Tidra\n");
    EXPECT_EQ(reportedVersion(*w), "Version " TIDRA_SHORT_VERSION " (" TIDRA_BUNDLE_VERSION ")");
    EXPECT_NE(
        w->run("status\n").find("  Version " TIDRA_SHORT_VERSION " (" TIDRA_BUNDLE_VERSION ")\n"),
        std::string::npos);

    struct Case {
        std::optional<Value> build, marketing;
        std::string shown;
    };
    const std::vector<Case> cases{
        {Value("100"), Value("1.0.0"), "Version 1.0.0 (100)"},
        {Value("100"), std::nullopt, "Version 100"},  // as Tidra showed it before
        {std::nullopt, Value("2.1"), "Version 2.1"},
        {Value("1.0"), Value("1.0"), "Version 1.0"},  // one number once
        {Value("7"), Value(""), "Version 7"},
        {Value("7"), Value(3), "Version 7"},  // a marketing version that is no string is none
        {Value(Array{}), Value("2.1"), "Version 2.1"},
        // Without either there is no version line, rather than "Version" alone.
        {std::nullopt, std::nullopt, ""},
        {Value(""), Value(true), ""},
    };
    for (const Case& c : cases) {
        auto mac = newMac();
        setBundleVersion(mac->mac(), c.build, c.marketing);
        RUN_OK(*mac, "menu About Tidra\n");
        EXPECT_EQ(reportedVersion(*mac), c.shown)
            << (c.build ? c.build->description() : "no build") << ", "
            << (c.marketing ? c.marketing->description() : "no marketing version");
    }
}

TEST(WelcomeAndAbout, MaterialFollowsTheRunningSystem) {
    const std::vector<std::pair<OperatingSystemVersion, int>> cases{
        {{10, 10, 5}, kVisualEffectMaterialDark},
        {{10, 11, 0}, kVisualEffectMaterialUltraDark},
        {{11, 0, 0}, kVisualEffectMaterialUltraDark},
        {{9, 12, 0}, kVisualEffectMaterialDark},
    };
    for (const auto& [version, material] : cases) {
        auto w = newMac(version);
        setBundleVersion(w->mac(), std::nullopt);
        RUN_OK(*w, "menu About Tidra\n");
        auto windows = aboutWindows(w->mac());
        ASSERT_EQ(windows.size(), 1u);
        auto* effect =
            dynamic_cast<SimVisualEffectView*>(windows[0]->contentView()->subviews()[0].get());
        ASSERT_NE(effect, nullptr);
        EXPECT_EQ(effect->material(), material) << version.major << "." << version.minor;
    }
}

TEST(WelcomeAndAbout, MissingDescriptionsLeaveNothingToShowWithoutHarm) {
    auto w = newMac();
    Mac& mac = w->mac();
    SimInterfaceLoader nowhere(
        SimInterfaceLoader::inFolder((testing::freshTestFolder("none") / "none").string()),
        mac.windows(), mac.console());
    TransluscentWindow about(nowhere, mac.ui(), mac.bundle(), mac.workspace(), mac.system());
    about.showWindow(nullptr);
    EXPECT_EQ(about.window(), nullptr);
    EXPECT_TRUE(about.isWindowLoaded());
    PopoverViewController content(nowhere, "PopoverViewController");
    EXPECT_EQ(content.view(), nullptr);
    auto log = mac.console().lines();
    EXPECT_NE(std::find_if(log.begin(), log.end(),
                           [](const std::string& l) {
                               return l.find("TransluscentWindow") != std::string::npos;
                           }),
              log.end());
    // Nothing reached the screen.
    EXPECT_TRUE(mac.windows().windows().empty());
}

}  // namespace
}  // namespace tidra::sim
