// Launch at login on a simulated Mac, driven through the front end: the menu's tick, System
// Events' login items, and what a launch reads back.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "install_rig.h"
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

// The tick of "Launch at Login", as the user sees it.
int tick(SimWorld& world) {
    return testing::menuState(world, "Launch at Login");
}

// A System Events that refuses every change and, asked afterwards, reports the opposite of what
// was asked for (an entry after a refused removal, none after a refused addition), as one being
// switched about might. Left unchecked, Tidra's correction of the option would set off the
// opposite change, and so on without end.
class ContraryLoginItems : public AppleScripting {
  public:
    explicit ContraryLoginItems(AppleScripting& real) : real_(real) {}
    std::unique_ptr<AppleScript> scriptWithSource(const std::string& source) override {
        // Far more than any one change needs: stop answering rather than run for ever.
        if (++scripts > 100) return nullptr;
        if (source == loginItemQueryScript())
            return real_.scriptWithSource(lastWasAdd_ ? "set answer to {}"
                                                      : "set answer to {\"Tidra\"}");
        if (source.starts_with("tell application \"System Events\" to make login item"))
            lastWasAdd_ = true;
        else if (source == loginItemDeleteScript())
            lastWasAdd_ = false;
        // A make with no path: System Events' handler fails.
        return real_.scriptWithSource(
            "tell application \"System Events\" to make login item at end with properties "
            "{path:\"\"}");
    }
    std::atomic<int> scripts = 0;

  private:
    AppleScripting& real_;
    std::atomic<bool> lastWasAdd_ = false;
};

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

TEST(LaunchAtLogin, ALaunchWithoutAnAnswerKeepsTheStateLastKnown) {
    SimWorld world(inApplications());
    world.run("menu Launch at Login\nquit\nsystem-events off\nlaunch\n");
    ASSERT_EQ(world.lastStatus(), 0);
    // System Events could not say: the entry made before is no less there.
    EXPECT_EQ(world.defaults("xq.morv.Tidra")["launchAtLogin"], true);
    EXPECT_EQ(tick(world), 1);
    const auto lines = world.mac().console().lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].starts_with("{\n    NSAppleScriptErrorAppName = \"System Events\";\n"))
        << lines[0];
    EXPECT_NE(lines[0].find("NSAppleScriptErrorNumber = \"-600\";"), std::string::npos);
    // Nobody clicked: nothing to tell.
    EXPECT_TRUE(world.status()["notifications"].empty());

    world.run("system-events on\nquit\nlaunch\n");
    EXPECT_EQ(world.defaults("xq.morv.Tidra")["launchAtLogin"], true);
    EXPECT_EQ(world.status()["loginItems"],
              nlohmann::json({item("Tidra", "/Applications/Tidra.app")}));
}

TEST(LaunchAtLogin, AnAddThatSystemEventsRefusesLeavesTheOptionOff) {
    for (const char* refusal : {"system-events off", "system-events consent deny"}) {
        SimWorld world(inApplications());
        world.run(std::string(refusal) + "\nmenu Launch at Login\nnotifications allow\n");
        ASSERT_EQ(world.lastStatus(), 0) << refusal;
        EXPECT_EQ(world.defaults("xq.morv.Tidra")["launchAtLogin"], false) << refusal;
        EXPECT_EQ(tick(world), 0) << refusal;
        EXPECT_TRUE(world.status()["loginItems"].empty()) << refusal;
        // The refused delete's error and the read-back's: an entry that cannot go would stay
        // beside a new one, so nothing is made.
        const auto lines = world.mac().console().lines();
        ASSERT_EQ(lines.size(), 2u) << refusal;
        EXPECT_TRUE(lines[0].starts_with("{\n")) << lines[0];
        // Delete, the read-back query: the write of the read-back starts nothing more.
        EXPECT_EQ(world.mac().simAppleScript().runs().size(), 1u + 2u) << refusal;
        EXPECT_EQ(world.status()["notifications"].size(), 1u) << refusal;
    }
    // Consent declined: the platform's own wording, not System Events'.
    SimWorld world(inApplications());
    world.run("system-events consent deny\nmenu Launch at Login\n");
    const std::string line = world.mac().console().lines().at(0);
    EXPECT_NE(line.find("NSAppleScriptErrorNumber = \"-1743\";"), std::string::npos) << line;
    EXPECT_NE(line.find("NSAppleScriptErrorMessage = \"Not authorized to send Apple events to "
                        "System Events.\";"),
              std::string::npos)
        << line;
    // Allowed again, the option works.
    world.run("system-events consent allow\nmenu Launch at Login\n");
    EXPECT_EQ(world.defaults("xq.morv.Tidra")["launchAtLogin"], true);
    EXPECT_EQ(tick(world), 1);
    EXPECT_EQ(world.status()["loginItems"],
              nlohmann::json({item("Tidra", "/Applications/Tidra.app")}));
}

TEST(LaunchAtLogin, ARefusedRemovalKeepsTheTickAndTellsTheUserOnce) {
    for (const char* refusal : {"system-events off", "system-events consent deny"}) {
        SimWorld world(inApplications());
        world.run(std::string("menu Launch at Login\n") + refusal +
                  "\nmenu Launch at Login\nmenu Launch at Login\nnotifications allow\n");
        ASSERT_EQ(world.lastStatus(), 0) << refusal;
        // Tidra still starts at login, and its menu says so.
        EXPECT_EQ(world.status()["loginItems"],
                  nlohmann::json({item("Tidra", "/Applications/Tidra.app")}))
            << refusal;
        EXPECT_EQ(world.defaults("xq.morv.Tidra")["launchAtLogin"], true) << refusal;
        EXPECT_EQ(tick(world), 1) << refusal;
        // Two clicks, one failure: one notification.
        const nlohmann::json notes = world.status()["notifications"];
        ASSERT_EQ(notes.size(), 1u) << refusal;
        EXPECT_EQ(notes[0]["identifier"], "xq.morv.Tidra.launchAtLoginFailedNotification");
        EXPECT_EQ(notes[0]["title"], "Launch at Login could not be changed");

        // Back again, the option works, and a later refusal is news again.
        world.run(std::string(refusal == std::string("system-events off")
                                  ? "system-events on"
                                  : "system-events consent allow") +
                  "\nmenu Launch at Login\n" + refusal + "\nmenu Launch at Login\n");
        EXPECT_TRUE(world.status()["loginItems"].empty()) << refusal;
        EXPECT_EQ(world.defaults("xq.morv.Tidra")["launchAtLogin"], false) << refusal;
        EXPECT_EQ(tick(world), 0) << refusal;
        EXPECT_EQ(world.status()["notifications"].size(), 2u) << refusal;
    }
}

TEST(LaunchAtLogin, TheNotificationSaysWhatToDo) {
    const auto text = [](std::optional<OperatingSystemVersion> version, const char* refusal) {
        sim::MacOptions options = inApplications();
        options.systemVersion = version;
        SimWorld world(options);
        world.run(std::string(refusal) + "\nmenu Launch at Login\nnotifications allow\n");
        const nlohmann::json notes = world.status()["notifications"];
        EXPECT_EQ(notes.size(), 1u) << refusal;
        return notes.empty() ? std::string() : notes[0]["text"].get<std::string>();
    };
    EXPECT_EQ(text(OperatingSystemVersion{12, 6, 0}, "system-events consent deny"),
              "Tidra is not allowed to control System Events. Turn on System Events under Tidra "
              "in System Preferences › Security & Privacy › Privacy › Automation, then choose "
              "Launch at Login again.");
    EXPECT_EQ(text(std::nullopt, "system-events off"),
              "System Events did not answer. Wait a moment, then choose Launch at Login again.");
}

TEST(LaunchAtLogin, EveryEntryNamedTidraGoesAndAnAddLeavesOne) {
    SimWorld world(inApplications());
    world.run(
        "quit\n"
        "login-items add Tidra /Users/me/Old/Tidra.app\n"
        "login-items add Mail /Applications/Mail.app\n"
        "login-items add Tidra /Applications/Tidra.app\n"
        "launch\n");
    EXPECT_EQ(tick(world), 1);
    world.run("menu Launch at Login\n");
    EXPECT_EQ(world.status()["loginItems"],
              nlohmann::json({item("Mail", "/Applications/Mail.app")}));
    EXPECT_EQ(world.defaults("xq.morv.Tidra")["launchAtLogin"], false);
    // What System Events stored: the next start of the Mac reads no Tidra back.
    world.restartMac(false);
    EXPECT_EQ(world.status()["loginItems"],
              nlohmann::json({item("Mail", "/Applications/Mail.app")}));
    world.run("launch\n");
    EXPECT_EQ(tick(world), 0);

    // Adding beside an older copy's entries leaves the running copy's alone.
    world.run(
        "login-items add Tidra /Users/me/Old/Tidra.app\n"
        "login-items add Tidra /Users/me/Older/Tidra.app\n"
        "menu Launch at Login\n");
    EXPECT_EQ(world.status()["loginItems"],
              nlohmann::json({item("Mail", "/Applications/Mail.app"),
                              item("Tidra", "/Applications/Tidra.app")}));
    EXPECT_EQ(tick(world), 1);
    EXPECT_TRUE(world.mac().console().lines().empty());
    EXPECT_TRUE(world.status()["notifications"].empty());
}

TEST(LaunchAtLogin, ASystemEventsThatKeepsRefusingStartsNoRunOfChanges) {
    SimWorld world(inApplications());
    world.run("quit\n");
    auto contrary = std::make_unique<ContraryLoginItems>(world.mac().simAppleScript());
    ContraryLoginItems& events = *contrary;
    world.mac().replaceAppleScript(std::move(contrary));
    world.run("launch\n");
    const int atLaunch = events.scripts;

    // The launch read an entry. Off: the removal is refused and an entry is read back.
    EXPECT_EQ(world.defaults("xq.morv.Tidra")["launchAtLogin"], true);
    world.run("menu Launch at Login\n");
    ASSERT_EQ(world.lastStatus(), 0);
    EXPECT_EQ(events.scripts - atLaunch, 2);  // delete, query
    EXPECT_EQ(world.defaults("xq.morv.Tidra")["launchAtLogin"], true);
    EXPECT_EQ(tick(world), 1);

    // Asked again: refused again, read back again, and not told twice.
    world.run("notifications allow\ndefaults write xq.morv.Tidra launchAtLogin -bool true\n");
    EXPECT_EQ(events.scripts - atLaunch, 2 + 2);  // delete, query
    EXPECT_EQ(world.defaults("xq.morv.Tidra")["launchAtLogin"], true);
    EXPECT_EQ(tick(world), 1);
    EXPECT_EQ(world.status()["notifications"].size(), 1u);
    EXPECT_TRUE(world.mac().tidraRunning());
    world.run("quit\n");
}

TEST(LaunchAtLogin, AfterAMoveTheEntryOpensTheCopyInApplications) {
    testing::InstallRig rig;  // Tidra in Downloads, declined once, launch at login chosen
    rig.launch("alert Do Not Move\nmenu Launch at Login\n");
    EXPECT_EQ(rig.status()["loginItems"],
              nlohmann::json({item("Tidra", "/Users/me/Downloads/Tidra.app")}));
    rig.run("quit\nlaunch\nalert Move to Applications Folder\n");
    ASSERT_EQ(rig.mac().bundlePath(), "/Applications/Tidra.app");
    ASSERT_TRUE(rig.mac().tidraRunning());
    EXPECT_EQ(rig.status()["loginItems"],
              nlohmann::json({item("Tidra", "/Applications/Tidra.app")}));
    EXPECT_EQ(rig.status()["defaults"]["xq.morv.Tidra"]["launchAtLogin"], true);

    // An entry that opens another copy still in place is left as it is.
    ASSERT_TRUE(sim::installTidraBundle(rig.mac().disk(), "/Users/me/Desktop/Tidra.app",
                                        TIDRA_RESOURCES_DIR, "1"));
    rig.run("quit\n");
    rig.mac().systemEvents().deleteLoginItem("Tidra");
    rig.run("login-items add Tidra /Users/me/Desktop/Tidra.app\nlaunch\n");
    EXPECT_EQ(rig.status()["loginItems"],
              nlohmann::json({item("Tidra", "/Users/me/Desktop/Tidra.app")}));
    EXPECT_EQ(rig.status()["defaults"]["xq.morv.Tidra"]["launchAtLogin"], true);
}

}  // namespace
}  // namespace tidra
