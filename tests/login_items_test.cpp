#include "login/login_items.h"

#include <gtest/gtest.h>

#include <thread>

#include "fake_platform.h"
#include "login/apple_script_literal.h"

namespace tidra {
namespace {

// The real queue runs the work elsewhere while the caller waits; so does this one.
struct ThreadDispatch : fake::InlineDispatch {
    int syncCalls = 0;
    void globalQueueSync(const std::function<void()>& work) override {
        ++syncCalls;
        std::thread(work).join();
    }
};

struct LoginItemsTest : ::testing::Test {
    fake::FakeScripting scripting;
    ThreadDispatch dispatch;
    fake::FakeBundle bundle;
    fake::FakeConsole console;
    LoginItems items{scripting, dispatch, bundle, console};
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

TEST_F(LoginItemsTest, QueryFindsOnlyAnExactName) {
    EXPECT_FALSE(items.query());  // no login items at all
    scripting.loginItems = {"tidra", "Tidra Helper", "TidraX"};
    EXPECT_FALSE(items.query());
    scripting.loginItems = {"Mail", "", "Tidra"};
    EXPECT_TRUE(items.query());
    scripting.answerText = true;  // not a list
    EXPECT_FALSE(items.query());
    scripting.answerText = false;
    scripting.answerNothing = true;
    EXPECT_FALSE(items.query());
    scripting.refuse = true;
    EXPECT_FALSE(items.query());
    EXPECT_EQ(scripting.sources.front(),
              "tell application \"System Events\" to get the name of every login item");
    EXPECT_TRUE(console.lines.empty());
}

TEST_F(LoginItemsTest, AddReplacesTheEntryAndQuotesThePath) {
    scripting.loginItems = {"Tidra"};
    bundle.path = "/Users/me/Apps \"new\"/Tidra\\1.app";
    items.add();
    EXPECT_EQ(scripting.loginItems, std::vector<std::string>{"Tidra"});
    ASSERT_EQ(scripting.sources.size(), 2u);
    EXPECT_EQ(scripting.sources[0],
              "tell application \"System Events\" to delete login item \"Tidra\"");
    EXPECT_EQ(scripting.sources[1],
              "tell application \"System Events\" to make login item at end with properties "
              "{path:\"/Users/me/Apps \\\"new\\\"/Tidra\\\\1.app\", hidden:false, "
              "name:\"Tidra\"}");
    EXPECT_EQ(dispatch.syncCalls, 2);

    EXPECT_EQ(loginItemAddScript("/Applications/My Tidra.app"),
              "tell application \"System Events\" to make login item at end with properties "
              "{path:\"/Applications/My Tidra.app\", hidden:false, name:\"Tidra\"}");
    EXPECT_TRUE(console.lines.empty());
}

TEST_F(LoginItemsTest, OnlyTheAddScriptReportsItsError) {
    items.remove();  // no entry: silent
    EXPECT_TRUE(console.lines.empty());
    scripting.addError[Value("NSAppleScriptErrorNumber")] = Value(-1743);
    items.add();
    ASSERT_EQ(console.lines.size(), 1u);
    EXPECT_EQ(console.lines[0], Value(scripting.addError).description());
    scripting.refuse = true;
    items.add();
    items.remove();
    EXPECT_EQ(console.lines.size(), 1u);
}

}  // namespace
}  // namespace tidra
