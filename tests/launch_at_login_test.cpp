// Launch at login on a simulated Mac, driven through the front end: the menu's tick, System
// Events' login items, and what a launch reads back.
#include <gtest/gtest.h>

#include <thread>

#include "login/login_items.h"
#include "sim_world.h"

namespace tidra {
namespace {

using testing::SimWorld;

sim::MacOptions inApplications() {
    sim::MacOptions options;
    options.bundleIn = "applications";
    return options;
}

nlohmann::json item(const std::string& name, const std::string& path) {
    return {{"name", name}, {"path", path}, {"hidden", false}};
}

TEST(LaunchAtLogin, TickingAndUntickingKeepsOneEntryAndALaunchReadsItBack) {
    SimWorld world(inApplications());
    EXPECT_EQ(world.defaults("xq.morv.Tidra")["launchAtLogin"], false);
    // The wake-up's query ran on the global queue's worker while the main thread waited.
    const auto runs = world.mac().simAppleScript().runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].source, loginItemQueryScript());
    EXPECT_EQ(runs[0].thread, world.mac().dispatch().workerId());
    EXPECT_NE(runs[0].thread, std::this_thread::get_id());

    world.run(
        "login-items add Mail /Applications/Mail.app\n"
        "login-items add tidra \"/Applications/tidra.app\"\n"
        "menu Launch at Login\n"
        "defaults write xq.morv.Tidra launchAtLogin -bool true\n");
    ASSERT_EQ(world.lastStatus(), 0);
    const nlohmann::json withTidra = {item("Mail", "/Applications/Mail.app"),
                                      item("tidra", "/Applications/tidra.app"),
                                      item("Tidra", "/Applications/Tidra.app")};
    EXPECT_EQ(world.status()["loginItems"], withTidra);

    // The entry outlives Tidra and the Mac's restart; the next launch finds it.
    world.run("quit\n");
    world.restartMac();
    EXPECT_EQ(world.status()["loginItems"], withTidra);
    EXPECT_EQ(world.defaults("xq.morv.Tidra")["launchAtLogin"], true);

    world.run("menu Launch at Login\n");
    EXPECT_EQ(world.status()["loginItems"],
              nlohmann::json({item("Mail", "/Applications/Mail.app"),
                              item("tidra", "/Applications/tidra.app")}));
    EXPECT_TRUE(world.mac().console().lines().empty());
}

TEST(LaunchAtLogin, WithoutSystemEventsTheQueryIsFalseAndTheAddLogsTheError) {
    SimWorld world(inApplications());
    world.run("menu Launch at Login\nquit\nsystem-events off\nlaunch\n");
    ASSERT_EQ(world.lastStatus(), 0);
    EXPECT_EQ(world.defaults("xq.morv.Tidra")["launchAtLogin"], false);
    EXPECT_TRUE(world.mac().console().lines().empty());

    world.run("menu Launch at Login\n");
    const auto lines = world.mac().console().lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].starts_with("{\n    NSAppleScriptErrorAppName = \"System Events\";\n"))
        << lines[0];
    EXPECT_NE(lines[0].find("NSAppleScriptErrorNumber = \"-600\";"), std::string::npos);

    // The entry made before System Events went away is still there once it is back.
    world.run("system-events on\nquit\nlaunch\n");
    EXPECT_EQ(world.defaults("xq.morv.Tidra")["launchAtLogin"], true);
    EXPECT_EQ(world.status()["loginItems"],
              nlohmann::json({item("Tidra", "/Applications/Tidra.app")}));
}

}  // namespace
}  // namespace tidra
