// Tidra's windows in every language it ships, drawn with real fonts: no title or label is cut off
// by its frame, and none runs into what lies below it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "shipped_strings.h"
#include "sim_world.h"
#include "test_folder.h"
#include "text/format.h"

namespace tidra {
namespace {

namespace fs = std::filesystem;
using testing::shipped;
using testing::SimWorld;

void collect(const nlohmann::json& j, std::vector<std::string>& out) {
    if (j.is_string()) out.push_back(j);
    if (j.is_structured())
        for (const auto& e : j) collect(e, out);
}

// The "cut off:" lines a screenshot reported.
std::vector<std::string> cutOff(const std::string& out) {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        if (line.find("cut off: ") != std::string::npos) lines.push_back(line);
    return lines;
}

TEST(ScreenshotLanguages, EveryTextFitsItsFrameInEveryLanguage) {
    const fs::path folder = testing::freshTestFolder("languages");
    std::vector<std::string> languages;
    for (const auto& e : fs::directory_iterator(TIDRA_RESOURCES_DIR))
        if (e.path().extension() == ".lproj") languages.push_back(e.path().stem().string());
    ASSERT_GE(languages.size(), 13u);
    for (const std::string& language : languages) {
        SCOPED_TRACE(language);
        sim::MacOptions options;
        options.languages = {language};
        options.systemVersion = OperatingSystemVersion{26, 0, 0};
        SimWorld w(options);
        // The welcome first.
        std::string out =
            w.run("screenshot " + (folder / (language + "-welcome.png")).string() + "\n");
        ASSERT_EQ(w.lastStatus(), 0) << out;
        EXPECT_EQ(cutOff(out), std::vector<std::string>{});

        // The Settings window with every line it can show: the approval still missing, a refused
        // shortcut, a refused application, the icon kept out of the menu bar; About beside it.
        out = w.run(
            "popover close\nmenu " + shipped(language, "MainMenu", "Launch at Login") +
            "\napp-service disable\nmenu " + shipped(language, "Localizable", "Settings…") +
            "\nshortcut record opt+A\nwindow click +\npanel choose Notes.app\nwindow click +\n"
            "panel choose Notes.app\n"
            "menu " +
            shipped(language, "MainMenu", "About Tidra") + "\nmenu-bar deny Tidra\nscreenshot " +
            (folder / (language + "-settings.png")).string() + "\n");
        ASSERT_EQ(w.lastStatus(), 0) << out;
        const nlohmann::json status = w.status();
        std::vector<std::string> texts;
        collect(status["windows"], texts);
        for (const std::string& wanted :
             {formatText(
                  shipped(language, "Localizable", "Tidra opens at login once you allow it in %@."),
                  {shipped(language, "Localizable",
                           "System Settings › General › Login Items & Extensions")}),
              formatText(shipped(language, "Localizable", "“%@” is already in the list."),
                         {"Notes"})})
            EXPECT_NE(std::find(texts.begin(), texts.end(), wanted), texts.end()) << wanted;
        EXPECT_EQ(cutOff(out), std::vector<std::string>{});
    }
    fs::remove_all(folder);
}

}  // namespace
}  // namespace tidra
