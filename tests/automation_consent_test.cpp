// The system's automation prompt: from 10.14 the first script Tidra sends to System Events waits
// for the user's consent, which the Mac keeps; 10.13 asks nothing.
#include <gtest/gtest.h>

#include "sim_world.h"

namespace tidra {
namespace {

using testing::SimWorld;

constexpr const char* kPrompt =
    "“Tidra” wants access to control “System Events”. Allowing control will provide access to "
    "documents and data in “System Events”, and to perform actions within that app.";
constexpr const char* kConsentFile =
    "/Users/me/Library/Application Support/com.apple.TCC/Automation.plist";

sim::MacOptions runs(OperatingSystemVersion version) {
    sim::MacOptions options;
    options.systemVersion = version;
    return options;
}

// A new Mac on which Tidra has never asked; it is launched by the first script.
std::unique_ptr<SimWorld> newMac(OperatingSystemVersion version) {
    return std::make_unique<SimWorld>(runs(version), false, true);
}

nlohmann::json tidraItem() {
    return {{"name", "Tidra"}, {"path", "/Applications/Tidra.app"}, {"hidden", false}};
}

nlohmann::json answer(bool allowed) {
    return nlohmann::json::array({{{"client", "xq.morv.Tidra"},
                                   {"target", "com.apple.systemevents"},
                                   {"allowed", allowed}}});
}

TEST(AutomationConsent, TheFirstScriptAsksAndWaitsForTheAnswerWhichTheMacKeeps) {
    for (const OperatingSystemVersion version :
         {OperatingSystemVersion{10, 14, 0}, OperatingSystemVersion{12, 0, 0}}) {
        const std::string name = sim::systemVersionText(version);
        auto w = newMac(version);
        // The launch reads the login items: the prompt shows, the launch waits, and only the
        // answer goes on meanwhile.
        const std::string shown = w->launch("status\nclick\n");
        // Under the question, the reason Tidra's Info.plist gives.
        EXPECT_NE(shown.find(std::string("Automation prompt: ") + kPrompt +
                             " Tidra asks System Events to add or remove its login item, and "
                             "Finder to move an old copy of Tidra to the Trash. [Don’t Allow] "
                             "[OK] (`system-events consent allow|deny`)"),
                  std::string::npos)
            << name << shown;
        EXPECT_NE(shown.find("the automation prompt \"" + std::string(kPrompt) +
                             "\" (`system-events consent allow|deny`) is waiting for an answer"),
                  std::string::npos)
            << name << shown;
        EXPECT_EQ(w->lastStatus(), 2) << name;
        // Nobody answered: the script failed as refused, and nothing was kept.
        nlohmann::json status = w->status();
        EXPECT_EQ(status["automation"]["answers"], nlohmann::json::array()) << name;
        EXPECT_TRUE(status["automation"]["prompt"].is_null()) << name;
        EXPECT_FALSE(w->exists(kConsentFile)) << name;
        EXPECT_TRUE(w->mac().tidraRunning()) << name;

        // Asked again after a restart; allowed, the script runs, and so does Launch at Login.
        w->restartMac(false);
        const std::string allowed =
            w->launch("status --json\nsystem-events consent allow\nmenu Launch at Login\n");
        ASSERT_EQ(w->lastStatus(), 0) << name << allowed;
        EXPECT_NE(allowed.find("\"kind\":\"automation\""), std::string::npos) << name << allowed;
        status = w->status();
        EXPECT_EQ(status["automation"]["answers"], answer(true)) << name;
        EXPECT_EQ(status["loginItems"], nlohmann::json::array({tidraItem()})) << name;
        EXPECT_TRUE(w->mac().console().lines().empty()) << name;

        // Kept with the Mac: the next start asks nothing, and the status says it.
        w->restartMac();
        RUN_OK(*w, "menu Launch at Login\n");
        status = w->status();
        EXPECT_TRUE(status["automation"]["prompt"].is_null()) << name;
        EXPECT_EQ(status["automation"]["answers"], answer(true)) << name;
        EXPECT_EQ(status["loginItems"], nlohmann::json::array()) << name;
        EXPECT_NE(w->frontend().statusText().find(
                      "Automation of System Events: allowed (`system-events consent allow|deny`)"),
                  std::string::npos)
            << name;
    }
}

TEST(AutomationConsent, DeniedScriptsFailAsOnAMacAndTheSwitchTurnsThemBackOn) {
    auto w = newMac(OperatingSystemVersion{12, 6, 0});
    const std::string out =
        w->launch("system-events consent deny\nmenu Launch at Login\nnotifications allow\n");
    ASSERT_EQ(w->lastStatus(), 0) << out;
    nlohmann::json status = w->status();
    EXPECT_EQ(status["automation"]["answers"], answer(false));
    EXPECT_EQ(status["loginItems"], nlohmann::json::array());
    const auto lines = w->mac().console().lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.back().find("NSAppleScriptErrorNumber = \"-1743\";"), std::string::npos)
        << lines.back();
    EXPECT_NE(lines.back().find("Not authorized to send Apple events to System Events."),
              std::string::npos)
        << lines.back();
    ASSERT_EQ(status["notifications"].size(), 1u);
    EXPECT_NE(status["notifications"][0]["text"].get<std::string>().find(
                  "System Preferences › Security & Privacy › Privacy › Automation"),
              std::string::npos);

    // A denial survives a restart; the Automation switch then allows it without a prompt.
    w->restartMac();
    status = w->status();
    EXPECT_TRUE(status["automation"]["prompt"].is_null());
    EXPECT_EQ(status["automation"]["answers"], answer(false));
    RUN_OK(*w, "system-events consent allow\nmenu Launch at Login\n");
    status = w->status();
    EXPECT_EQ(status["automation"]["answers"], answer(true));
    EXPECT_EQ(status["loginItems"], nlohmann::json::array({tidraItem()}));
}

TEST(AutomationConsent, TheSwitchListsTidraOnlyOnceItAsked) {
    // A Mac whose Tidra never sent System Events a script: nothing to switch.
    SimWorld w(runs(OperatingSystemVersion{13, 0, 0}), false, true);
    w.launch("");
    const std::string out = w.run("system-events consent allow\n");
    EXPECT_EQ(w.lastStatus(), 2);
    EXPECT_NE(out.find("Tidra has not asked to control System Events yet"), std::string::npos)
        << out;
    EXPECT_EQ(w.status()["automation"]["answers"], nlohmann::json::array());
}

// Every script fails as a denied one does.
class RefusedScripts : public AppleScripting {
  public:
    std::unique_ptr<AppleScript> scriptWithSource(const std::string&) override {
        struct Refused : AppleScript {
            std::shared_ptr<EventDescriptor> executeAndReturnError(Dictionary* error) override {
                (*error)[Value("NSAppleScriptErrorNumber")] = Value(std::int64_t(-1743));
                (*error)[Value("NSAppleScriptErrorMessage")] =
                    Value("Not authorized to send Apple events to System Events.");
                return nullptr;
            }
        };
        return std::make_unique<Refused>();
    }
};

TEST(AutomationConsent, HighSierraAsksNothingAndHasNoAutomationPane) {
    SimWorld w(runs(OperatingSystemVersion{10, 13, 6}), false, true);
    const std::string out = w.launch("menu Launch at Login\nsystem-events consent deny\n");
    EXPECT_EQ(w.lastStatus(), 2);
    EXPECT_NE(out.find("system-events: macOS 10.13 asks no consent for automation and has no "
                       "Automation pane; both come with macOS 10.14"),
              std::string::npos)
        << out;
    const nlohmann::json status = w.status();
    EXPECT_TRUE(status["automation"].is_null());
    EXPECT_EQ(status["loginItems"], nlohmann::json::array({tidraItem()}));
    EXPECT_EQ(w.frontend().statusText().find("Automation"), std::string::npos);
    EXPECT_FALSE(w.exists(kConsentFile));

    // Should a script be refused all the same, the notice sends nobody to a pane 10.13 lacks.
    w.run("quit\n");
    w.mac().replaceAppleScript(std::make_unique<RefusedScripts>());
    RUN_OK(w, "launch\nmenu Launch at Login\n");
    const nlohmann::json notes = w.status()["notifications"];
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0]["text"].get<std::string>().find("Automation"), std::string::npos)
        << notes[0]["text"];
}

}  // namespace
}  // namespace tidra
