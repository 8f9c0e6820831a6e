// Tidra in the user's language on a simulated Mac: what the menu, the Settings window, the move
// offer and the notices show, chosen from the user's preferred languages; every text on screen
// comes from the string tables; a damaged table or preference leaves English and one line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "shipped_strings.h"
#include "sim/strings_table.h"
#include "sim_world.h"

namespace tidra {
namespace {

namespace fs = std::filesystem;
using testing::shipped;
using testing::SimWorld;

constexpr const char* kResources = "/Applications/Tidra.app/Contents/Resources";

sim::MacOptions inLanguage(const std::string& language, const std::string& bundleIn = "") {
    sim::MacOptions options;
    options.languages = {language};
    options.bundleIn = bundleIn;
    return options;
}

std::string windowText(SimWorld& w) {
    const nlohmann::json status = w.status();
    return status["windows"].dump();
}

TEST(Localization, TidraSpeaksGermanAndJapaneseFromTheMenuToTheSettingsWindow) {
    for (const std::string language : {"de", "ja"}) {
        SCOPED_TRACE(language);
        auto text = [&](const std::string& table, const std::string& english) {
            return shipped(language, table, english);
        };
        // German from the user's preferences, with a region the bundle does not have; Japanese
        // as a launch argument gives it.
        SimWorld w(language == "ja" ? inLanguage("ja") : sim::MacOptions{});
        if (language == "de")
            w.run("defaults write -g AppleLanguages -array de-AT en\nquit\nlaunch\n");
        if (language == "ja") {
            const nlohmann::json popover = w.status()["popover"];
            EXPECT_NE(popover.dump().find(text("PopoverViewController", "Welcome to Tidra!")),
                      std::string::npos);
            w.run("popover close\n");
        }
        nlohmann::json status = w.status();
        EXPECT_EQ(status["menu"][0]["title"], text("MainMenu", "Tidra That Mess!"));
        EXPECT_EQ(status["menu"][2]["title"], text("MainMenu", "Wallpaper"));

        // The front end takes the titles as they are shown.
        w.run("menu " + text("MainMenu", "Tidra That Mess!") + "\nwait 5\n");
        ASSERT_EQ(w.lastStatus(), 0);
        status = w.status();
        EXPECT_EQ(status["clean"], true);
        EXPECT_EQ(status["menu"][0]["title"], text("Localizable", "Show That Mess"));
        w.run("menu " + text("Localizable", "Show That Mess") + "\nwait 5\n");
        EXPECT_EQ(w.status()["clean"], false);

        // The Settings window (Preferences before macOS 13), its checkboxes and its messages.
        w.run("menu " + text("Localizable", "Preferences…") + "\n");
        ASSERT_EQ(w.lastStatus(), 0);
        status = w.status();
        ASSERT_EQ(status["windows"].size(), 1u);
        EXPECT_EQ(status["windows"][0]["title"], text("Localizable", "Tidra Preferences"));
        const std::string shown = windowText(w);
        for (const char* english :
             {"Restore Finder Windows", "Keep Wallpaper", "Clear", "Restore Defaults", "General:"})
            EXPECT_NE(shown.find(text("SettingsWindow", english)), std::string::npos) << english;
        const bool restores = w.defaults("xq.morv.Tidra").value("restoreFinder", true);
        w.run("window click " + text("SettingsWindow", "Restore Finder Windows") + "\n");
        ASSERT_EQ(w.lastStatus(), 0);
        EXPECT_EQ(w.defaults("xq.morv.Tidra")["restoreFinder"], !restores);
        w.run("shortcut record opt+A\n");
        EXPECT_NE(windowText(w).find(
                      std::regex_replace(text("Localizable",
                                              "%@ types a character with only ⌥ or ⌥⇧, which every "
                                              "app would then lose. Add ⌘ or ⌃."),
                                         std::regex("%(1\\$)?@"), "⌥A")),
                  std::string::npos);
        // The space bar is the one key written as a word.
        w.run("shortcut record ctrl+option+space\n");
        ASSERT_EQ(w.lastStatus(), 0);
        EXPECT_NE(windowText(w).find("\"⌃⌥" + text("Localizable", "Space") + "\""),
                  std::string::npos);
        w.run("window click " + text("SettingsWindow", "Choose…") + "\n");
        status = w.status();
        EXPECT_EQ(status["panel"]["prompt"], text("Localizable", "Choose"));
        EXPECT_EQ(status["panel"]["title"], text("Localizable", "Choose Replacement Wallpaper"));

        // A failure the user caused with a click is told in the same language.
        w.run("panel cancel\nsupport-folder full on\nmenu " + text("MainMenu", "Wallpaper") +
              " > " + text("MainMenu", "Custom Image…") +
              "\npanel choose ~/Pictures/Mountains.jpg\nnotifications allow\n");
        ASSERT_EQ(w.lastStatus(), 0);
        status = w.status();
        ASSERT_EQ(status["notifications"].size(), 1u) << status["notifications"];
        EXPECT_EQ(status["notifications"][0]["title"], text("Localizable", "The disk is full"));
        // The log stays in English, for support.
        const std::string log = status["log"].dump();
        EXPECT_EQ(log.find(text("Localizable", "The disk is full")), std::string::npos);
    }
}

TEST(Localization, TraditionalChineseTitlesEndInTheMidlineEllipsisAndTakeThreeDots) {
    SimWorld w(inLanguage("zh-Hant-TW"));
    EXPECT_EQ(shipped("zh-Hant", "Localizable", "Preferences…"), "偏好設定⋯");
    w.run("popover close\nmenu 偏好設定...\n");
    ASSERT_EQ(w.lastStatus(), 0);
    const nlohmann::json status = w.status();
    ASSERT_EQ(status["windows"].size(), 1u);
    EXPECT_EQ(status["windows"][0]["title"],
              shipped("zh-Hant", "Localizable", "Tidra Preferences"));
}

TEST(Localization, TheMoveOfferIsAskedAndAnsweredInTheUsersLanguage) {
    for (const std::string language : {"de", "ja"}) {
        SCOPED_TRACE(language);
        auto text = [&](const std::string& english) {
            return shipped(language, "MoveApplication", english);
        };
        SimWorld w(inLanguage(language, "downloads"), false);
        w.launch("alert " + text("Do Not Move") + " --suppress\n");
        ASSERT_EQ(w.lastStatus(), 0);
        // What was asked, from the answered alert.
        const auto& offer = w.mac().alerts().shown().at(0);
        EXPECT_EQ(offer->messageText(), text("Move to Applications folder?"));
        EXPECT_NE(offer->informativeText().find(
                      text("This will keep your Downloads folder uncluttered.")),
                  std::string::npos);
        EXPECT_EQ(offer->suppression().title(), text("Do not show this message again"));
        EXPECT_EQ(w.defaults("xq.morv.Tidra")["moveToApplicationsFolderAlertSuppress"], true);
        EXPECT_TRUE(w.exists("/Users/me/Downloads/Tidra.app"));
    }
}

TEST(Localization, TheAutomationPromptGivesTidrasReasonInTheUsersLanguage) {
    for (const std::string language : {"de", "ja"}) {
        SCOPED_TRACE(language);
        SimWorld w(inLanguage(language), false, /*automationAsked=*/true);
        // The launch reads the login items and waits on the prompt, which the script answers.
        const std::string out = w.launch("status\nsystem-events consent allow\n");
        ASSERT_EQ(w.lastStatus(), 0) << out;
        EXPECT_NE(out.find(shipped(language, "InfoPlist", "NSAppleEventsUsageDescription") +
                           " [Don’t Allow]"),
                  std::string::npos)
            << out;
    }
}

// A language of the test's own whose every text is marked, so that a text on screen that is not
// marked came from somewhere else than the tables.
void addMarkedLanguage(SimWorld& w) {
    const fs::path folder = w.mac().disk().real(std::string(kResources) + "/zz.lproj");
    fs::create_directories(folder);
    for (const auto& e : fs::directory_iterator(fs::path(TIDRA_RESOURCES_DIR) / "en.lproj")) {
        std::ofstream out(folder / e.path().filename());
        for (const auto& [key, value] : testing::readStringsTable(e.path())) {
            auto quoted = [](std::string s) {
                return std::regex_replace(s, std::regex(R"(["\\])"), R"(\$&)");
            };
            out << "\"" << quoted(key) << "\" = \"⟪" << quoted(value) << "⟫\";\n";
        }
    }
}

// Texts shown on screen, by the fields that hold them.
void shownTexts(const nlohmann::json& j, std::vector<std::string>& out) {
    static const std::set<std::string> kShown{"title",       "stringValue", "text",  "message",
                                              "informative", "prompt",      "detail"};
    if (j.is_object()) {
        if (j.value("hidden", false)) return;
        for (const auto& [key, value] : j.items()) {
            if (value.is_string() && kShown.count(key)) out.push_back(value);
            shownTexts(value, out);
        }
    } else if (j.is_array()) {
        for (const auto& e : j) shownTexts(e, out);
    }
}

TEST(Localization, EveryTextOnScreenComesFromTheTables) {
    SimWorld w(inLanguage("zz"), false);
    addMarkedLanguage(w);
    std::vector<std::string> texts;
    auto collect = [&] {
        const nlohmann::json status = w.status();
        for (const char* part : {"menu", "windows", "popover", "panel", "notifications"})
            shownTexts(status[part], texts);
        for (const auto& alert : status["alerts"])
            if (alert["kind"] == "alert") shownTexts(alert, texts);
    };
    w.launch("");
    collect();
    w.run("popover close\nclick\nwait 5\nabout\n");
    collect();
    w.run("menu ⟪Preferences…⟫\nshortcut record opt+A\n");
    collect();
    w.run("shortcut record ctrl+cmd+H\nhotkey taken ctrl+cmd+J\nshortcut record ctrl+cmd+J\n");
    collect();
    w.run("window click +\n");
    collect();
    w.run("panel choose /Applications/Notes.app\nwindow click −\n");
    collect();
    w.run("window click ⟪Choose…⟫\n");
    collect();
    w.run(
        "panel cancel\nsupport-folder full on\nmenu ⟪Wallpaper⟫ > ⟪Custom Image…⟫\n"
        "panel choose ~/Pictures/Mountains.jpg\nnotifications allow\n");
    ASSERT_EQ(w.lastStatus(), 0);
    collect();
    // What is not Tidra's to translate: names, numbers, key combinations, bundle identifiers.
    const std::regex kData(
        R"(^(Tidra|[+−]|[⌃⌥⇧⌘]+[A-Z0-9]|[A-Za-z0-9 ._-]+\.(jpg|app)|)"
        R"([A-Za-z0-9-]+(\.[A-Za-z0-9-]+)+|Safari|Mail|Notes|Keynote|zoom\.us|)$)");
    size_t marked = 0;
    for (const std::string& text : texts) {
        // Marked pieces may hold data and other marked pieces: the innermost go first.
        std::string rest = text;
        for (size_t open; (open = rest.rfind("⟪")) != std::string::npos;) {
            const size_t close = rest.find("⟫", open);
            if (close == std::string::npos) break;
            rest.erase(open, close + std::string("⟫").size() - open);
        }
        if (rest != text) ++marked;
        EXPECT_TRUE(std::regex_match(rest, kData) ||
                    std::regex_match(rest, std::regex(R"([^A-Za-z]*)")))
            << "\"" << text << "\" is not from the tables";
    }
    EXPECT_GT(marked, 40u);
}

TEST(Localization, DamagedTablesAndPreferencesLeaveEnglishAndOneLine) {
    SimWorld w(sim::MacOptions{}, false);
    const std::string german = std::string(kResources) + "/de.lproj";
    const std::string deToggle = shipped("de", "Localizable", "Tidra That Mess!");
    const std::string deWallpaper = shipped("de", "MainMenu", "Wallpaper");
    // Each launch's status and the lines it logged that hold `part`.
    size_t logged = 0;
    nlohmann::json status;
    auto launchWith = [&](const std::string& lines) {
        logged = w.status()["log"].size();
        const std::string out = w.run(lines + "launch\n");
        EXPECT_EQ(w.lastStatus(), 0) << out;
        status = w.status();
    };
    auto linesWith = [&](const std::string& part) {
        size_t n = 0;
        for (size_t i = logged; i < status["log"].size(); ++i)
            n += status["log"][i].get<std::string>().find(part) != std::string::npos;
        return n;
    };
    w.run("defaults write xq.morv.Tidra hotKeyNote -string kept\n");

    // A damaged table: its texts in English, the other tables still German (the toggle's title
    // comes from the code's table).
    const fs::path menuTable = w.mac().disk().real(german + "/MainMenu.strings");
    std::string original;
    {
        std::ifstream in(menuTable, std::ios::binary);
        original.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::ofstream(menuTable, std::ios::binary | std::ios::trunc)
        << original.substr(0, original.size() / 2);
    launchWith("defaults write -g AppleLanguages -array de en\n");
    EXPECT_EQ(status["menu"][2]["title"], "Wallpaper");
    EXPECT_EQ(status["menu"][0]["title"], deToggle);
    EXPECT_EQ(linesWith("de.lproj/MainMenu.strings is damaged (line "), 1u) << status["log"];
    w.run("quit\n");

    // An empty table.
    std::ofstream(menuTable, std::ios::binary | std::ios::trunc) << "/* nothing */\n";
    launchWith("");
    EXPECT_EQ(status["menu"][2]["title"], "Wallpaper");
    EXPECT_EQ(linesWith("de.lproj/MainMenu.strings holds no texts"), 1u) << status["log"];
    w.run("quit\n");
    std::ofstream(menuTable, std::ios::binary | std::ios::trunc) << original;
    launchWith("");
    EXPECT_EQ(status["menu"][2]["title"], deWallpaper);
    EXPECT_EQ(linesWith("de.lproj"), 0u);
    w.run("quit\n");

    // A language the bundle lists but whose folder is gone.
    fs::rename(w.mac().disk().real(german), w.mac().disk().real(german + ".away"));
    launchWith("");
    EXPECT_EQ(status["menu"][0]["title"], "Tidra That Mess!");
    EXPECT_EQ(status["menu"][2]["title"], "Wallpaper");
    EXPECT_EQ(linesWith("lists the language de but has no de.lproj folder"), 1u) << status["log"];
    w.run("quit\n");
    fs::rename(w.mac().disk().real(german + ".away"), w.mac().disk().real(german));

    // Preferred languages that are no list.
    launchWith("defaults write -g AppleLanguages -string de\n");
    EXPECT_EQ(status["menu"][0]["title"], "Tidra That Mess!");
    EXPECT_EQ(linesWith("(AppleLanguages in the global domain) are no list"), 1u) << status["log"];
    // Nothing else was lost on the way.
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["hotKeyNote"], "kept");
    EXPECT_EQ(w.defaults("NSGlobalDomain")["AppleLanguages"], "de");
    w.run("quit\ndefaults write -g AppleLanguages -array de\n");
    launchWith("");
    EXPECT_EQ(status["menu"][0]["title"], deToggle);

    // A development language that is no language name is not made into a path.
    w.run(
        "quit\ndefaults write /Applications/Tidra.app/Contents/Info CFBundleDevelopmentRegion "
        "-string ../../../../Users/me\ndefaults write -g AppleLanguages -array fi\n");
    launchWith("");
    EXPECT_EQ(status["menu"][0]["title"], "Tidra That Mess!");
    EXPECT_EQ(status["menu"][2]["title"], "Wallpaper");
}

}  // namespace
}  // namespace tidra
