#include "login/login_items.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "awkward_paths.h"
#include "sim/apple_scripting.h"
#include "sim/apps/system_events.h"
#include "sim/bundle.h"
#include "sim/console_log.h"
#include "sim/disk.h"
#include "sim/dispatch.h"
#include "sim/run_loop.h"
#include "sim/user_trash.h"
#include "test_folder.h"
#include "text/apple_script_literal.h"

namespace tidra {
namespace {

namespace fs = std::filesystem;
using sim::LoginItem;

class LoginItemsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root = testing::freshTestFolder("login");
        disk = std::make_unique<sim::Disk>(root.string());
        disk->populate();
        console = std::make_unique<sim::ConsoleLog>(loop, (root / "console.log").string());
        dispatch = std::make_unique<sim::SimDispatch>(loop);
        events = std::make_unique<sim::SimSystemEvents>(
            *disk, disk->home() + "/Library/Preferences/com.apple.loginitems.plist");
        scripting = std::make_unique<sim::SimAppleScripting>(
            *events, [this](const std::string& p) { return sim::moveToUserTrash(*disk, p); });
        useBundle("/Applications/Tidra.app");
    }
    void useBundle(const std::string& path) {
        items.reset();
        bundle = std::make_unique<sim::SimBundle>(*disk, path);
        items = std::make_unique<LoginItems>(*scripting, *dispatch, *bundle, *console);
    }
    void seed(const std::vector<std::string>& names) {
        for (const auto& name : names) events->addLoginItem({name, "/Applications/" + name, false});
    }

    fs::path root;
    sim::RunLoop loop{false};
    std::unique_ptr<sim::Disk> disk;
    std::unique_ptr<sim::ConsoleLog> console;
    std::unique_ptr<sim::SimDispatch> dispatch;
    std::unique_ptr<sim::SimSystemEvents> events;
    std::unique_ptr<sim::SimAppleScripting> scripting;
    std::unique_ptr<sim::SimBundle> bundle;
    std::unique_ptr<LoginItems> items;
};

TEST(AppleScriptStringLiteral, EscapesOnlyQuotesAndBackslashes) {
    EXPECT_EQ(appleScriptStringLiteral(""), "\"\"");
    EXPECT_EQ(appleScriptStringLiteral("/Users/me/My Apps/Tidra.app"),
              "\"/Users/me/My Apps/Tidra.app\"");
    EXPECT_EQ(appleScriptStringLiteral("a\"b"), "\"a\\\"b\"");
    EXPECT_EQ(appleScriptStringLiteral("a\\b"), "\"a\\\\b\"");
    // An escaped quote must not be re-opened by a preceding backslash.
    EXPECT_EQ(appleScriptStringLiteral("x\\\"y"), "\"x\\\\\\\"y\"");
    EXPECT_EQ(appleScriptStringLiteral("/Users/zoë/Tidra ☃.app"), "\"/Users/zoë/Tidra ☃.app\"");
}

TEST_F(LoginItemsTest, QueryFindsOnlyAnExactNameOffTheMainThread) {
    EXPECT_FALSE(items->query());  // no login items at all
    seed({"tidra", "TIDRA", "Tidra Helper", "TidraX", " Tidra"});
    EXPECT_FALSE(items->query());
    seed({"Mail", "Tidra", "Safari"});
    const int before = dispatch->globalQueueRuns();
    EXPECT_TRUE(items->query());
    EXPECT_EQ(dispatch->globalQueueRuns(), before + 1);

    // Every script ran on the global queue's worker, never on the calling (main) thread, and
    // the caller had its answer only once the script was done.
    const auto runs = scripting->runs();
    ASSERT_EQ(runs.size(), 3u);
    for (const auto& run : runs) {
        EXPECT_EQ(run.source, loginItemQueryScript());
        EXPECT_EQ(run.thread, dispatch->workerId());
        EXPECT_NE(run.thread, std::this_thread::get_id());
    }

    // Without an answer the state is unknown, not "no entry", and the error is kept.
    events->setAvailable(false);
    EXPECT_EQ(items->lookUp(), std::nullopt);
    EXPECT_FALSE(items->query());
    EXPECT_EQ(console->lines().size(), 2u);
    EXPECT_EQ(items->lastErrorNumber(), -600);
}

TEST_F(LoginItemsTest, AddLeavesExactlyOneEntryForTheCurrentBundle) {
    seed({"Mail", "tidra"});
    items->add();
    items->add();
    EXPECT_EQ(events->loginItems(),
              (std::vector<LoginItem>{{"Mail", "/Applications/Mail", false},
                                      {"tidra", "/Applications/tidra", false},
                                      {"Tidra", "/Applications/Tidra.app", false}}));
    EXPECT_TRUE(items->query());

    // A moved application is re-pointed the next time the option is ticked.
    useBundle("/Users/me/Applications/Tidra.app");
    items->add();
    EXPECT_EQ(events->loginItems().back().path, "/Users/me/Applications/Tidra.app");
    EXPECT_EQ(events->loginItems().size(), 3u);

    // An entry named "Tidra" that points elsewhere is Tidra's: it is the one removed.
    items->remove();
    EXPECT_EQ(events->loginItems().size(), 2u);
    EXPECT_FALSE(items->query());
    EXPECT_TRUE(console->lines().empty());
}

TEST_F(LoginItemsTest, AnyBundlePathReachesSystemEventsUnchanged) {
    for (const std::string& path : testing::awkwardBundlePaths("/Users/me")) {
        useBundle(path);
        items->add();
        ASSERT_EQ(events->loginItems().size(), 1u) << path;
        EXPECT_EQ(events->loginItems()[0], (LoginItem{"Tidra", path, false}));
    }
    EXPECT_TRUE(console->lines().empty());
}

TEST_F(LoginItemsTest, ARefusalIsLoggedAndAMissingEntryIsNot) {
    EXPECT_TRUE(items->remove());  // no entry: nothing to do, and nobody hears of it
    ASSERT_EQ(scripting->runs().size(), 1u);
    EXPECT_TRUE(console->lines().empty());

    seed({"Tidra"});
    events->setAvailable(false);
    EXPECT_FALSE(items->remove());
    ASSERT_EQ(console->lines().size(), 1u);
    EXPECT_TRUE(console->lines()[0].starts_with(
        "{\n"
        "    NSAppleScriptErrorAppName = \"System Events\";\n"
        "    NSAppleScriptErrorBriefMessage = \"Application isn\\U2019t running.\";\n"))
        << console->lines()[0];
    EXPECT_EQ(items->lastErrorNumber(), -600);
    // Nothing is made beside an entry that could not go.
    const size_t runs = scripting->runs().size();
    EXPECT_FALSE(items->add());
    EXPECT_EQ(scripting->runs().size(), runs + 1);
    EXPECT_EQ(console->lines().size(), 2u);
    EXPECT_EQ(events->loginItems().size(), 1u);

    events->setAvailable(true);
    EXPECT_TRUE(items->add());
    EXPECT_EQ(console->lines().size(), 2u);
    EXPECT_EQ(events->loginItems().size(), 1u);
}

}  // namespace
}  // namespace tidra
