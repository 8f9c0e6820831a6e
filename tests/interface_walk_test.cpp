// The walk over interface descriptions that both backends build through: a misshapen description
// is refused whole, with one line naming the entry, before any object of it is made.
#include "platform/interface_walk.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "sim/interface/description_file.h"
#include "sim/interface/interface_loader.h"
#include "sim/interface/status_bar.h"
#include "sim_world.h"

namespace tidra {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

struct Lines : Console {
    void log(const std::string& line) override { lines.push_back(line); }
    std::vector<std::string> lines;
};

// An object of the description: counts its making and keeps the outlets it is given.
struct Made : Object {
    explicit Made(int& count) { ++count; }
    bool setOutlet(const std::string& name, Object* value) override {
        outlets.emplace_back(name, value);
        return true;
    }
    std::vector<std::pair<std::string, Object*>> outlets;
};

// Any call at all for a refused description would be an interface half-built.
struct CountingMenus final : MenuFactory {
    std::shared_ptr<MenuItem> makeItem(const std::string& title, int tag) override {
        ++calls;
        return std::make_shared<sim::SimMenuItem>(title, tag);
    }
    std::shared_ptr<MenuItem> makeSeparator() override {
        ++calls;
        return sim::SimMenuItem::separatorItem();
    }
    void setAction(MenuItem&, Object*, const std::string&) override { ++calls; }
    void bind(MenuItem&, const std::string&) override { ++calls; }
    void setKeyEquivalent(MenuItem&, const std::string&) override { ++calls; }
    void setSubmenu(MenuItem&, std::shared_ptr<Menu>) override { ++calls; }
    std::shared_ptr<Menu> makeMenu(const std::vector<std::shared_ptr<MenuItem>>&) override {
        ++calls;
        return std::make_shared<sim::SimMenu>();
    }
    int calls = 0;
};

std::string shipped(const std::string& name) {
    std::ifstream in(std::string(TIDRA_RESOURCES_DIR) + "/" + name + ".json");
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The shipped text with its first `from` replaced by `to`.
std::string changed(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

struct MainMenuWalk : ::testing::Test {
    MainMenuWalk() {
        classes.add("AppDelegate", [this] { return std::make_shared<Made>(objectsMade); });
        classes.add("StatusMenuController", [this] { return std::make_shared<Made>(objectsMade); });
    }
    std::variant<MainInterface, MainInterfaceRefusal> build(const std::string& text) {
        auto description = sim::parseDescription(text);
        EXPECT_TRUE(description) << text;
        return buildMainInterface(description.value_or(Value(Dictionary{})), "MainMenu", classes,
                                  menus, console, {});
    }
    ClassRegistry classes;
    CountingMenus menus;
    Lines console;
    int objectsMade = 0;
};

TEST_F(MainMenuWalk, EachMisshapenEntryRefusesTheWholeDescriptionWithOneLineNamingIt) {
    // The shipped description builds whole, outlets to items and menus included.
    auto whole = build(shipped("MainMenu"));
    ASSERT_TRUE(std::holds_alternative<MainInterface>(whole));
    EXPECT_EQ(objectsMade, 2);
    EXPECT_GT(menus.calls, 0);
    auto* delegate = static_cast<Made*>(std::get<MainInterface>(whole).applicationDelegate());
    ASSERT_NE(delegate, nullptr);
    EXPECT_THAT(delegate->outlets,
                ElementsAre(::testing::Pair("statusMenuController",
                                            std::get<MainInterface>(whole).object("controller"))));
    auto* controller = static_cast<Made*>(std::get<MainInterface>(whole).object("controller"));
    EXPECT_EQ(controller->outlets.size(), 6u);
    EXPECT_TRUE(console.lines.empty());

    const std::string text = shipped("MainMenu");
    const std::vector<std::pair<std::string, std::string>> cases{
        {changed(text, "{\"separator\": true},", "\"separator\","),
         "menus[0].items[1] is not an object"},
        {changed(text, "\"tag\": 1,", "\"tag\": \"1\","),
         "menus[0].items[0].tag is not a whole number"},
        {changed(text, "\"tag\": 2,", "\"tag\": 2.5,"),
         "menus[0].items[2].submenu.items[2].tag is not a whole number"},
        {changed(text, "{\"separator\": true}", "{\"separator\": \"yes\"}"),
         "menus[0].items[1].separator is not a Boolean"},
        {changed(text, "\"bind\": \"launchAtLogin\"",
                 "\"bind\": \"launchAtLogin\", \"submenu\": \"no\""),
         "menus[0].items[4].submenu is not an object"},
        {changed(text, "{\"id\": \"delegate\", \"class\": \"AppDelegate\"}", "\"AppDelegate\""),
         "objects[0] is not an object"},
        {changed(text, "\"class\": \"StatusMenuController\"", "\"kind\": \"StatusMenuController\""),
         "objects[1].class is missing"},
        {changed(text, "\"class\": \"AppDelegate\"", "\"class\": 7"),
         "objects[0].class is not a string"},
        {changed(text, "\"bind\": \"restoreFinder\"", "\"bind\": null"),
         "menus[0].items[5].bind is not a string"},
        {changed(text, "\"outlets\": [", "\"outlets\": \"none\", \"x\": ["),
         "outlets is not an array"},
        {changed(text, "\"name\": \"hideWidgetsMenuItem\"", "\"name\": [\"hideWidgetsMenuItem\"]"),
         "outlets[5].name is not a string"},
        {changed(text, "\"applicationDelegate\": \"delegate\"", "\"applicationDelegate\": {}"),
         "applicationDelegate is not a string"},
    };
    for (const auto& [broken, where] : cases) {
        objectsMade = 0;
        menus.calls = 0;
        console.lines.clear();
        auto refused = build(broken);
        ASSERT_TRUE(std::holds_alternative<MainInterfaceRefusal>(refused)) << where;
        EXPECT_EQ(std::get<MainInterfaceRefusal>(refused).reason,
                  MainInterfaceRefusal::Reason::Misshapen);
        ASSERT_EQ(console.lines.size(), 1u) << where;
        EXPECT_EQ(console.lines[0],
                  "Tidra: the interface description MainMenu is refused: " + where);
        EXPECT_EQ(objectsMade, 0) << where;
        EXPECT_EQ(menus.calls, 0) << where;
    }
}

TEST_F(MainMenuWalk, AnUnknownClassIsToldBeforeAnyObjectIsMade) {
    auto refused = build(changed(shipped("MainMenu"), "\"applicationDelegate\"",
                                 "\"extra\": 1, \"applicationDelegate\""));
    ASSERT_TRUE(std::holds_alternative<MainInterface>(refused));  // unknown keys are no fault
    objectsMade = 0;
    menus.calls = 0;
    refused = build(changed(shipped("MainMenu"), "{\"id\": \"controller\"",
                            "{\"id\": \"x\", \"class\": \"Nowhere\"}, {\"id\": \"controller\""));
    ASSERT_TRUE(std::holds_alternative<MainInterfaceRefusal>(refused));
    EXPECT_EQ(std::get<MainInterfaceRefusal>(refused).reason,
              MainInterfaceRefusal::Reason::UnknownClass);
    EXPECT_EQ(std::get<MainInterfaceRefusal>(refused).detail, "Nowhere");
    // The delegate listed before it was not made either.
    EXPECT_EQ(objectsMade, 0);
    EXPECT_EQ(menus.calls, 0);
    EXPECT_TRUE(console.lines.empty());
}

TEST_F(MainMenuWalk, NestingBeyondAnyInterfaceIsRefusedWithoutExhaustingTheStack) {
    std::string deep = "{\"items\": [{\"title\": \"x\"}]}";
    for (int i = 0; i < 40; ++i) deep = "{\"items\": [{\"submenu\": " + deep + "}]}";
    auto refused = build("{\"menus\": [" + deep + "]}");
    ASSERT_TRUE(std::holds_alternative<MainInterfaceRefusal>(refused));
    ASSERT_EQ(console.lines.size(), 1u);
    EXPECT_THAT(console.lines[0], ::testing::EndsWith(".submenu nests too deeply"));
    EXPECT_EQ(menus.calls, 0);
    // A file nested a hundred thousand times is no description at all.
    EXPECT_FALSE(sim::parseDescription("{\"a\": " + std::string(100000, '[') +
                                       std::string(100000, ']') + "}"));
}

// The owner of a window's or view's description: keeps the outlets it is given.
struct Owner : Object {
    bool setOutlet(const std::string& name, Object* value) override {
        outlets.emplace_back(name, value);
        return true;
    }
    std::vector<std::pair<std::string, Object*>> outlets;
};

TEST(InterfaceLoaderWalk, AMisshapenWindowOrViewIsRefusedWithItsEntryAndNothingReachesTheScreen) {
    const auto dir = testing::freshTestFolder("descriptions");
    auto write = [&](const std::string& name, const std::string& text) {
        std::ofstream(dir / (name + ".json")) << text;
    };
    const std::string about = shipped("TransluscentWindow");
    write("Frame", changed(about, "[20, 104, 280, 18]", "[20, 104, 280]"));
    write("Subview", changed(about, "{\"id\": \"tagline\"", "\"tagline\", {\"id\": \"tagline\""));
    write("Outlet", changed(about,
                            "{\"object\": \"owner\", \"name\": \"mainView\", \"destination\": "
                            "\"mainView\"}",
                            "[\"owner\", \"mainView\"]"));
    write("Window", "{\"window\": [\"About Tidra\"]}");
    const std::string popover = shipped("PopoverViewController");
    write("Title", changed(popover, "\"title\": \"Got It\"", "\"title\": 12"));
    write("Material", changed(popover, "\"class\": \"NSView\"",
                              "\"class\": \"NSVisualEffectView\", \"material\": \"dark\""));

    sim::SimWindowList windows;
    Lines console;
    sim::SimInterfaceLoader loader(sim::SimInterfaceLoader::inFolder(dir.string()), windows,
                                   console);
    Owner owner;
    // The shipped descriptions through the same folder: they load, with their outlets.
    write("About", about);
    auto shown = loader.loadWindow("About", owner);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(owner.outlets.size(), 2u);
    EXPECT_TRUE(console.lines.empty());
    owner.outlets.clear();

    const std::string refused = "Tidra: the interface description ";
    const std::string window = "-[NSWindowController loadWindow]: failed to load window nib file ";
    const std::string view = "-[NSViewController loadView] could not load the ";
    const std::vector<std::tuple<std::string, bool, std::string>> cases{
        {"Frame", true,
         "window.contentView.subviews[0].subviews[1].frame is not an array of four numbers"},
        {"Subview", true, "window.contentView.subviews[0].subviews[2] is not an object"},
        {"Outlet", true, "outlets[1] is not an object"},
        {"Window", true, "window is not an object"},
        {"Title", false, "view.subviews[2].title is not a string"},
        {"Material", false, "view.material is not a whole number"},
    };
    for (const auto& [name, isWindow, where] : cases) {
        console.lines.clear();
        if (isWindow) {
            EXPECT_EQ(loader.loadWindow(name, owner), nullptr) << name;
            EXPECT_THAT(console.lines, ElementsAre(refused + name + " is refused: " + where,
                                                   window + "'" + name + "'."));
        } else {
            EXPECT_EQ(loader.loadView(name, owner), nullptr) << name;
            EXPECT_THAT(console.lines, ElementsAre(refused + name + " is refused: " + where,
                                                   view + "\"" + name + "\" nib."));
        }
        EXPECT_TRUE(owner.outlets.empty()) << name;
    }
    // Only the shipped window was ever made.
    EXPECT_EQ(windows.windows().size(), 1u);
    // A missing description says only what the platform says.
    console.lines.clear();
    EXPECT_EQ(loader.loadView("Absent", owner), nullptr);
    EXPECT_THAT(console.lines, ElementsAre(view + "\"Absent\" nib."));
}

TEST(MainMenuInTheBundle, ABrokenDescriptionStopsTheLaunchWithItsReasonAndBuildsNothing) {
    testing::SimWorld w;
    const std::string path = "/Applications/Tidra.app/Contents/Resources/MainMenu.json";
    const std::string text = contents(w, path);
    auto relaunchWith = [&](const std::string& description) {
        if (w.controller()) w.run("quit\n");
        std::ofstream(w.mac().disk().real(path), std::ios::trunc) << description;
        return w.run("launch\n");
    };
    // An entry of the status menu that is no object at all.
    std::string out = relaunchWith(changed(text, "{\"separator\": true},", "true,"));
    EXPECT_EQ(w.lastStatus(), 2);
    EXPECT_THAT(out,
                HasSubstr("Tidra did not start: MainMenu is not a valid interface description"));
    EXPECT_THAT(w.mac().console().lines(),
                Contains("Tidra: the interface description MainMenu is refused: menus[0].items[1] "
                         "is not an object"));
    EXPECT_EQ(w.controller(), nullptr);
    EXPECT_TRUE(w.mac().statusBar().items().empty());

    out = relaunchWith(changed(text, "\"StatusMenuController\"", "\"StatusMenuControler\""));
    EXPECT_THAT(out, HasSubstr("Tidra did not start: no class named StatusMenuControler"));
    EXPECT_EQ(w.controller(), nullptr);

    std::ofstream(w.mac().disk().real(path), std::ios::trunc) << text;
    RUN_OK(w, "launch\n");
    EXPECT_NE(w.controller(), nullptr);
}

TEST(InterfaceLoaderWalk, ButtonsGrowToShowTheirWholeTitleAwayFromTheMarginTheyKeep) {
    const auto dir = testing::freshTestFolder("growing");
    std::ofstream(dir / "Grow.json") << R"({"window": {"title": "t", "frame": [0, 0, 400, 200],
      "contentView": {"subviews": [
        {"id": "right", "class": "NSButton", "frame": [300, 20, 80, 24],
         "title": "Die Standardeinstellungen wiederherstellen"},
        {"id": "left", "class": "NSButton", "frame": [20, 20, 60, 24], "title": "Auswählen …"},
        {"id": "short", "class": "NSButton", "frame": [20, 60, 80, 24], "title": "OK"},
        {"id": "box", "class": "NSButton", "buttonType": "switch", "frame": [20, 100, 50, 20],
         "title": "ディスプレイ接続時に非表示"}]}}})";
    sim::SimWindowList windows;
    Lines console;
    sim::SimInterfaceLoader loader(sim::SimInterfaceLoader::inFolder(dir.string()), windows,
                                   console);
    Owner owner;
    auto window = loader.loadWindow("Grow", owner);
    ASSERT_NE(window, nullptr);
    std::map<std::string, Rect> frames;
    for (const auto& v : window->contentView()->subviews()) frames[v->identifier()] = v->frame();
    // Lined up with the right margin: the right edge stays, the button grows to the left.
    EXPECT_GT(frames["right"].size.width, 300);
    EXPECT_EQ(frames["right"].origin.x + frames["right"].size.width, 380);
    // Elsewhere the left edge stays.
    EXPECT_EQ(frames["left"].origin.x, 20);
    EXPECT_GT(frames["left"].size.width, 90);
    EXPECT_EQ(frames["short"].size.width, 80);
    EXPECT_EQ(frames["box"].origin.x, 20);
    EXPECT_GE(frames["box"].size.width, 22 + 13 * 12);  // thirteen characters, each an em wide
    EXPECT_TRUE(console.lines.empty());
}

}  // namespace
}  // namespace tidra
