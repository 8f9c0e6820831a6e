// Desktop widgets on macOS 14 and later: a clean desktop hides them too, and the user's own
// window-manager settings come back exactly, whatever happens in between.
#include <gtest/gtest.h>

#include "sim/formats/value_json.h"
#include "sim_world.h"

namespace tidra {
namespace {

using nlohmann::json;
using testing::onSystem;
using testing::SimWorld;

json windowManager(SimWorld& w) {
    return sim::valueToJson(w.mac().prefs().domainSnapshot("com.apple.WindowManager"));
}

const json* itemTitled(const json& menu, const std::string& title) {
    for (const auto& item : menu)
        if (item.value("title", "") == title) return &item;
    return nullptr;
}

TEST(Widgets, HiddenWithTheIconsAndTheUsersValuesComeBackExactly) {
    SimWorld w(onSystem(14));
    const json menu = w.status()["menu"];
    const json* item = itemTitled(menu, "Hide Widgets");
    ASSERT_TRUE(item);
    EXPECT_EQ((*item)["state"], 1);  // on unless turned off
    // The user shows widgets in the standard desktop and hides them in Stage Manager.
    w.run(
        "widgets add Weather\nwidgets add Calendar\n"
        "defaults write com.apple.WindowManager StageManagerHideWidgets -int 1\n");
    EXPECT_EQ(
        w.status()["widgets"],
        json::parse(R"([{"name":"Weather","visible":true},{"name":"Calendar","visible":true}])"));

    w.run("click\nwait 3\n");
    ASSERT_EQ(w.status()["clean"], true);
    EXPECT_EQ(windowManager(w),
              json::parse(R"({"StandardHideWidgets":1,"StageManagerHideWidgets":1})"));
    EXPECT_EQ(w.status()["widgets"][0]["visible"], false);

    w.run("click\nwait 3\n");
    ASSERT_EQ(w.status()["clean"], false);
    EXPECT_EQ(windowManager(w), json::parse(R"({"StageManagerHideWidgets":1})"));
    EXPECT_EQ(w.status()["widgets"][1]["visible"], true);
    EXPECT_FALSE(w.defaults("xq.morv.Tidra").contains("userWidgetSettings"));
    // As stored on the disk, the whole number still a whole number.
    w.restartMac(false);
    EXPECT_EQ(windowManager(w), json::parse(R"({"StageManagerHideWidgets":1})"));
    w.run("launch\n");

    // A user who hides widgets anyway keeps them hidden.
    w.run(
        "defaults write com.apple.WindowManager StandardHideWidgets -bool true\n"
        "click\nwait 3\nclick\nwait 3\n");
    EXPECT_EQ(windowManager(w),
              json::parse(R"({"StandardHideWidgets":true,"StageManagerHideWidgets":1})"));
    EXPECT_EQ(w.status()["widgets"][0]["visible"], false);
}

TEST(Widgets, TheSettingActsAtOnceAndSurvivesQuitAndCrash) {
    SimWorld w(onSystem(15));
    w.run("widgets add Weather\nclick\nwait 3\n");
    ASSERT_EQ(w.status()["widgets"][0]["visible"], false);

    // Off while hidden: the widgets come back at once; on again: hidden again.
    w.run("menu Hide Widgets\n");
    EXPECT_EQ(w.status()["widgets"][0]["visible"], true);
    EXPECT_EQ(windowManager(w), json::object());
    EXPECT_EQ((*itemTitled(w.status()["menu"], "Hide Widgets"))["state"], 0);
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["hideWidgets"], false);
    w.run("menu Hide Widgets\n");
    EXPECT_EQ(w.status()["widgets"][0]["visible"], false);

    // Quit, then the whole Mac going down with Tidra in it: the next launches still know that
    // the user had set nothing, and hiding again does not take Tidra's values for the user's.
    w.run("quit\nlaunch\nwait 3\n");
    EXPECT_EQ(w.status()["widgets"][0]["visible"], false);
    w.restartMac();
    w.run("wait 3\n");
    EXPECT_EQ(w.status()["clean"], true);
    EXPECT_EQ(w.status()["widgets"][0]["visible"], false);
    w.run("click\nwait 3\n");
    EXPECT_EQ(w.status()["widgets"][0]["visible"], true);
    EXPECT_EQ(windowManager(w), json::object());
}

TEST(Widgets, OlderSystemsHaveNoneAndTidraLeavesTheWindowManagerAlone) {
    SimWorld w(onSystem(13));
    EXPECT_FALSE(itemTitled(w.status()["menu"], "Hide Widgets"));
    const std::string out = w.run("widgets add Weather\n");
    EXPECT_NE(out.find("desktop widgets come with macOS 14; this Mac runs 13"), std::string::npos)
        << out;
    w.run("click\nwait 3\n");
    EXPECT_EQ(w.status()["clean"], true);
    EXPECT_EQ(windowManager(w), json::object());
    EXPECT_FALSE(w.defaults("xq.morv.Tidra").contains("userWidgetSettings"));
}

}  // namespace
}  // namespace tidra
