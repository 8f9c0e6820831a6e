// The interface descriptions both backends share, read as the Mac reads them
// (NSJSONSerialization) and taken apart by the reading both backends build from, under GNUstep's
// runtime.
#include <gtest/gtest.h>

#include <cstring>
#include <variant>

#include "mac/descriptions.h"
#include "platform/interface_description.h"

namespace tidra::mac {
namespace {

std::optional<Value> resource(NSString* name) {
    NSString* path = [[NSString stringWithUTF8String:TIDRA_RESOURCES_DIR]
        stringByAppendingPathComponent:[name stringByAppendingPathExtension:@"json"]];
    return descriptionFromData([NSData dataWithContentsOfFile:path]);
}

std::optional<Value> parse(const char* text) {
    return descriptionFromData([NSData dataWithBytes:text length:strlen(text)]);
}

const MenuItemDescription* item(const MenuDescription& menu, const std::string& title) {
    for (const MenuItemDescription& i : menu.items)
        if (i.title == title) return &i;
    return nullptr;
}

TEST(MacDescriptions, TheSharedDescriptionsReadNatively) {
    @autoreleasepool {
        auto main = resource(@"MainMenu");
        ASSERT_TRUE(main);
        auto read = readMainDescription(*main);
        ASSERT_TRUE(std::holds_alternative<MainDescription>(read))
            << std::get<DescriptionFault>(read).text();
        const MainDescription& d = std::get<MainDescription>(read);
        ASSERT_EQ(d.objects.size(), 2u);
        EXPECT_EQ(d.objects[0].className, "AppDelegate");
        EXPECT_EQ(d.objects[1].className, "StatusMenuController");
        EXPECT_EQ(d.applicationDelegate, d.objects[0].identifier);
        ASSERT_EQ(d.menus.size(), 1u);
        const MenuDescription& menu = d.menus[0];
        EXPECT_EQ(menu.identifier, "statusMenu");
        // JSON's true reaches the reading as a Boolean number.
        EXPECT_TRUE(menu.items[1].separator);
        const MenuItemDescription* toggle = item(menu, "Tidra That Mess!");
        ASSERT_NE(toggle, nullptr);
        EXPECT_EQ(toggle->tag, 1);
        EXPECT_EQ(toggle->action, "hideMessClicked:");
        EXPECT_EQ(toggle->target, "controller");
        const MenuItemDescription* wallpaper = item(menu, "Wallpaper");
        ASSERT_TRUE(wallpaper && wallpaper->submenu);
        ASSERT_EQ(wallpaper->submenu->items.size(), 3u);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(wallpaper->submenu->items[size_t(i)].tag, i);
        EXPECT_EQ(item(menu, "Launch at Login")->bindKey, "launchAtLogin");
        EXPECT_EQ(item(menu, "Hide Widgets")->action, "hideWidgetsClicked:");
        EXPECT_EQ(item(menu, "Settings…")->keyEquivalent, ",");
        // The status menu, the three wallpaper items, Hide Widgets, Settings and the delegate's
        // controller.
        ASSERT_EQ(d.outlets.size(), 7u);
        // The delegate hands the finished launch to the status controller.
        EXPECT_EQ(d.outlets[0].object, "delegate");
        EXPECT_EQ(d.outlets[0].name, "statusMenuController");
        EXPECT_EQ(d.outlets[0].destination, "controller");

        auto popover = readViewDescription(*resource(@"PopoverViewController"));
        ASSERT_TRUE(std::holds_alternative<ViewFileDescription>(popover));
        const ViewDescription& view = std::get<ViewFileDescription>(popover).view;
        EXPECT_EQ(view.frame, (Rect{{0, 0}, {300, 210}}));
        ASSERT_EQ(view.subviews.size(), 3u);
        EXPECT_EQ(view.subviews[2].action, "closePopover:");
        EXPECT_TRUE(view.subviews[2].targetsOwner);

        auto about = readWindowDescription(*resource(@"TransluscentWindow"));
        ASSERT_TRUE(std::holds_alternative<WindowFileDescription>(about));
        EXPECT_EQ(std::get<WindowFileDescription>(about).window.title, "About Tidra");
        EXPECT_EQ(std::get<WindowFileDescription>(about).outlets[0].name, "versionLabel");
        const auto& aboutViews =
            std::get<WindowFileDescription>(about).window.contentView.subviews.at(0).subviews;
        ASSERT_EQ(aboutViews.size(), 4u);
        EXPECT_FALSE(aboutViews[3].bordered);

        // The Settings window's controls read natively as the simulated Mac reads them.
        auto settings = readWindowDescription(*resource(@"SettingsWindow"));
        ASSERT_TRUE(std::holds_alternative<WindowFileDescription>(settings));
        const auto& controls =
            std::get<WindowFileDescription>(settings).window.contentView.subviews;
        auto control = [&](const std::string& id) -> const ViewDescription* {
            for (const ViewDescription& v : controls)
                if (v.identifier == id) return &v;
            return nullptr;
        };
        ASSERT_TRUE(control("launchAtLogin") && control("greyWallpaper") &&
                    control("openLoginItems") && control("presentingList"));
        EXPECT_EQ(control("launchAtLogin")->buttonKind, ButtonKind::Switch);
        EXPECT_EQ(control("launchAtLogin")->bindKey, "launchAtLogin");
        EXPECT_EQ(control("greyWallpaper")->buttonKind, ButtonKind::Radio);
        EXPECT_EQ(control("greyWallpaper")->tag, 2);
        EXPECT_TRUE(control("openLoginItems")->hidden);
        EXPECT_EQ(control("presentingList")->className, "NSTableView");
    }
}

TEST(MacDescriptions, MisshapenInputIsNoDescriptionOrRefusedAtItsEntry) {
    @autoreleasepool {
        EXPECT_FALSE(parse("[1, 2]"));
        EXPECT_FALSE(parse("{\"a\": "));
        EXPECT_FALSE(descriptionFromData(nil));

        auto fault = [](const auto& read) {
            return std::holds_alternative<DescriptionFault>(read)
                       ? std::get<DescriptionFault>(read).text()
                       : std::string("(read)");
        };
        EXPECT_EQ(
            fault(readWindowDescription(*parse("{\"window\": {\"frame\": [1, 2, \"3\", 4]}}"))),
            "window.frame is not an array of four numbers");
        EXPECT_EQ(fault(readMainDescription(
                      *parse("{\"menus\": [{\"items\": [{\"title\": \"A\", \"tag\": \"7\"}]}]}"))),
                  "menus[0].items[0].tag is not a whole number");
        EXPECT_EQ(fault(readMainDescription(*parse("{\"menus\": [{\"items\": [\"A\"]}]}"))),
                  "menus[0].items[0] is not an object");
        EXPECT_EQ(
            fault(readViewDescription(*parse("{\"view\": {\"subviews\": {}}, \"outlets\": []}"))),
            "view.subviews is not an array");
        EXPECT_EQ(fault(readMainDescription(*parse("{\"outlets\": [{\"name\": null}]}"))),
                  "outlets[0].name is not a string");
        EXPECT_EQ(fault(readViewDescription(
                      *parse("{\"view\": {\"class\": \"NSButton\", \"buttonType\": \"toggle\"}}"))),
                  "view.buttonType is not one of push, switch, radio");
    }
}

}  // namespace
}  // namespace tidra::mac
