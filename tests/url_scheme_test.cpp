// tidra://hide, show and toggle, opened from outside as `open URL` would.
#include <gtest/gtest.h>

#include "sim_world.h"

namespace tidra {
namespace {

using testing::SimWorld;

TEST(UrlScheme, HideShowAndToggleDoWhatTheySayAndRepeatsDoNothing) {
    SimWorld w;
    w.run("open-url tidra://hide\nwait 3\n");
    EXPECT_EQ(w.status()["clean"], true);
    EXPECT_EQ(w.status()["finder"]["launches"], 2);
    // Hidden already: no write, no Finder restart.
    const nlohmann::json finder = w.status()["finder"]["instances"];
    w.run("open-url TIDRA://Hide/\nwait 3\n");
    EXPECT_EQ(w.status()["clean"], true);
    EXPECT_EQ(w.status()["finder"]["launches"], 2);
    // The same Finder, its windows and its empty desktop as they were.
    EXPECT_EQ(w.status()["finder"]["instances"], finder);
    EXPECT_TRUE(finder[0]["desktopIcons"].empty());
    EXPECT_EQ(w.defaults("com.apple.finder")["CreateDesktop"], false);

    w.run("open-url tidra://show\nwait 3\n");
    EXPECT_EQ(w.status()["clean"], false);
    EXPECT_EQ(w.defaults("com.apple.finder")["CreateDesktop"], true);
    w.run("open-url tidra://show\nwait 3\n");
    EXPECT_EQ(w.status()["finder"]["launches"], 3);

    w.run("open-url tidra://toggle\nwait 3\n");
    EXPECT_EQ(w.status()["clean"], true);
    w.run("open-url tidra://toggle\nwait 3\n");
    EXPECT_EQ(w.status()["clean"], false);
    EXPECT_EQ(w.status()["finder"]["launches"], 5);
}

TEST(UrlScheme, OtherUrlsAreIgnoredWithOneSafeLogLineAndUnknownSchemesRefused) {
    SimWorld w;
    w.run("log\nopen-url tidra://explode\nopen-url 'tidra://hide?now'\n");
    w.run("open-url 'tidra://x\rForged line'\nwait 3\n");
    auto log = w.status()["log"];
    ASSERT_GE(log.size(), 3u);
    const size_t n = log.size();
    EXPECT_EQ(log[n - 3],
              "Ignored the URL tidra://explode: Tidra takes tidra://hide, "
              "tidra://show and tidra://toggle");
    EXPECT_NE(log[n - 2].get<std::string>().find("tidra://hide?now"), std::string::npos);
    // A carriage return in the URL cannot start a line of its own.
    EXPECT_NE(log[n - 1].get<std::string>().find("tidra://x\\x0DForged line"), std::string::npos);
    EXPECT_EQ(w.status()["clean"], false);
    EXPECT_EQ(w.status()["finder"]["launches"], 1);

    // Long URLs are cut in the log.
    w.run("open-url tidra://" + std::string(5000, 'a') + "\n");
    EXPECT_LT(w.status()["log"].back().get<std::string>().size(), 400u);

    // A scheme nobody registered never reaches Tidra.
    std::string out = w.run("open-url nothing://hide\n");
    EXPECT_EQ(w.lastStatus(), 2);
    EXPECT_NE(out.find("no application is registered for the scheme \"nothing\""),
              std::string::npos)
        << out;
    out = w.run("open-url hide\n");
    EXPECT_NE(out.find("not a URL"), std::string::npos) << out;
}

TEST(UrlScheme, AUrlStartsTidraWhenItIsNotRunning) {
    SimWorld w;
    w.run("quit\nopen-url tidra://hide\nwait 3\n");
    auto s = w.status();
    EXPECT_EQ(s["app"]["running"], true);
    EXPECT_EQ(s["app"]["launches"], 2);
    EXPECT_EQ(s["clean"], true);
}

}  // namespace
}  // namespace tidra
