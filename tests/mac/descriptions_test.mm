// The interface descriptions both backends share, read as the Mac reads them
// (NSJSONSerialization), under GNUstep's runtime.
#include <gtest/gtest.h>

#include <cstring>

#include "mac/descriptions.h"
#include "mac/value_bridge.h"

namespace tidra::mac {
namespace {

NSDictionary* resource(NSString* name) {
    NSString* path = [[NSString stringWithUTF8String:TIDRA_RESOURCES_DIR]
        stringByAppendingPathComponent:[name stringByAppendingPathExtension:@"json"]];
    return descriptionFromData([NSData dataWithContentsOfFile:path]);
}

NSDictionary* find(NSArray* nodes, NSString* key, NSString* value) {
    for (id node in nodes)
        if ([node isKindOfClass:[NSDictionary class]] &&
            [stringIn(node, key, @"") isEqualToString:value])
            return node;
    return nil;
}

TEST(MacDescriptions, TheSharedDescriptionsReadNatively) {
    @autoreleasepool {
        NSDictionary* main = resource(@"MainMenu");
        ASSERT_NE(main, nil);
        EXPECT_NE(find(arrayIn(main, @"objects"), @"class", @"AppDelegate"), nil);
        EXPECT_NE(find(arrayIn(main, @"objects"), @"class", @"StatusMenuController"), nil);
        NSDictionary* menu = find(arrayIn(main, @"menus"), @"id", @"statusMenu");
        ASSERT_NE(menu, nil);
        NSDictionary* toggle = find(arrayIn(menu, @"items"), @"id", @"toggleItem");
        EXPECT_EQ(numberIn(toggle, @"tag", -1), 1);
        EXPECT_EQ(fromNSString(stringIn(toggle, @"action", @"")), "hideMessClicked:");
        NSDictionary* wallpaper = find(arrayIn(menu, @"items"), @"title", @"Wallpaper");
        NSArray* choices = arrayIn(dictionaryIn(wallpaper, @"submenu"), @"items");
        ASSERT_EQ([choices count], 3u);
        for (NSUInteger i = 0; i < 3; ++i)
            EXPECT_EQ(numberIn([choices objectAtIndex:i], @"tag", -1), double(i));
        EXPECT_NE(find(arrayIn(menu, @"items"), @"bind", @"launchAtLogin"), nil);
        // The status menu, the three wallpaper items, Hide Widgets, and the delegate's controller.
        EXPECT_EQ([arrayIn(main, @"outlets") count], 6u);
        NSDictionary* widgets = find(arrayIn(menu, @"items"), @"id", @"hideWidgets");
        EXPECT_EQ(fromNSString(stringIn(widgets, @"action", @"")), "hideWidgetsClicked:");
        // The delegate hands the finished launch to the status controller.
        NSDictionary* delegateOutlet =
            find(arrayIn(main, @"outlets"), @"name", @"statusMenuController");
        EXPECT_EQ(fromNSString(stringIn(delegateOutlet, @"object", @"")), "delegate");
        EXPECT_EQ(fromNSString(stringIn(delegateOutlet, @"destination", @"")), "controller");

        NSDictionary* popover = dictionaryIn(resource(@"PopoverViewController"), @"view");
        EXPECT_TRUE(NSEqualRects(frameIn(popover), NSMakeRect(0, 0, 300, 150)));
        NSDictionary* close = find(arrayIn(popover, @"subviews"), @"id", @"closeButton");
        EXPECT_EQ(fromNSString(stringIn(close, @"action", @"")), "closePopover:");

        NSDictionary* about = resource(@"TransluscentWindow");
        EXPECT_EQ(fromNSString(stringIn(dictionaryIn(about, @"window"), @"title", @"")),
                  "About Tidra");
        EXPECT_NE(find(arrayIn(about, @"outlets"), @"name", @"versionLabel"), nil);
    }
}

TEST(MacDescriptions, MisshapenInputReadsAsAbsentOrTheFallback) {
    @autoreleasepool {
        auto parse = [](const char* text) {
            return descriptionFromData([NSData dataWithBytes:text length:strlen(text)]);
        };
        EXPECT_EQ(parse("[1, 2]"), nil);
        EXPECT_EQ(parse("{\"a\": "), nil);
        EXPECT_EQ(descriptionFromData(nil), nil);
        NSDictionary* node =
            parse("{\"frame\": [1, 2, \"3\", 4], \"tag\": \"7\", \"title\": 5, \"items\": {}}");
        ASSERT_NE(node, nil);
        EXPECT_TRUE(NSEqualRects(frameIn(node), NSZeroRect));
        EXPECT_EQ(numberIn(node, @"tag", 9), 9);
        EXPECT_EQ(stringIn(node, @"title", nil), nil);
        EXPECT_EQ([arrayIn(node, @"items") count], 0u);
        EXPECT_EQ(dictionaryIn(node, @"frame"), nil);
        EXPECT_TRUE(NSEqualRects(frameIn(parse("{\"frame\": [0, 0, 10]}")), NSZeroRect));
    }
}

}  // namespace
}  // namespace tidra::mac
