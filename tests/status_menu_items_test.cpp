// The status menu's own items, chosen as a user chooses them, and a status item without a button.
#include <gtest/gtest.h>

#include "sim_world.h"

namespace tidra {
namespace {

using testing::SimWorld;

TEST(StatusMenu, QuitTidraEndsTidraAndFeedbackOpensTheFeedbackAddress) {
    SimWorld w;
    const size_t launchCalls = w.status()["devMate"].size();
    std::string out = w.run("menu Send Feedback…\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    auto s = w.status();
    ASSERT_EQ(s["devMate"].size(), launchCalls + 1);
    EXPECT_EQ(s["devMate"].back(), "showFeedbackDialog:nil inMode:0");
    // The framework is closed; Tidra's stand-in for it opens the address in the mail program.
    EXPECT_EQ(s["openedURLs"], nlohmann::json({kFeedbackAddressPlaceholder}));
    EXPECT_EQ(s["app"]["running"], true);
    EXPECT_EQ(s["statusItem"]["menuAttached"], false);
    EXPECT_TRUE(s["windows"].empty());

    // Quit undoes nothing: the desktop stays clean and Finder keeps the preference.
    out = w.run("click\nwait 3\nmenu Quit Tidra\nwait 5\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    s = w.status();
    EXPECT_EQ(s["app"]["running"], false);
    EXPECT_EQ(s["statusItem"], nullptr);
    EXPECT_EQ(w.defaults("com.apple.finder")["CreateDesktop"], false);
    EXPECT_TRUE(s["finder"]["instances"][0]["desktopIcons"].empty());
    EXPECT_EQ(s["devMate"].size(), launchCalls + 1);
}

TEST(StatusMenu, WithoutAButtonNothingOpensAndQuitSaysTidraStillRuns) {
    SimWorld w;
    w.restartMac(false);
    w.mac().statusBar().setButtonsAvailable(false);
    std::string out = w.run("defaults delete xq.morv.Tidra hasShownWelcomeMessage\nlaunch\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    // No button to show the welcome under: it waits for a launch that can show it.
    auto s = w.status();
    EXPECT_EQ(s["app"]["running"], true);
    EXPECT_EQ(s["popover"]["shown"], false);
    EXPECT_FALSE(w.defaults("xq.morv.Tidra").contains("hasShownWelcomeMessage"));
    EXPECT_EQ(s["statusItem"]["image"], "statusIconDirty");

    // Clicks reach nothing, and the menu with its Quit item cannot be opened.
    out = w.run("click\nwait 3\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_EQ(w.status()["finder"]["launches"], 1);
    out = w.run("menu About Tidra\n");
    EXPECT_EQ(w.lastStatus(), 2);
    EXPECT_NE(out.find("menu: the status menu did not open: \"About Tidra\" was not chosen"),
              std::string::npos)
        << out;
    out = w.run("quit\n");
    EXPECT_EQ(w.lastStatus(), 2);
    EXPECT_NE(out.find("quit: the status menu did not open"), std::string::npos) << out;
    EXPECT_EQ(w.status()["app"]["running"], true);
}

}  // namespace
}  // namespace tidra
