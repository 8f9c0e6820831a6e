#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "sim/screens.h"
#include "test_folder.h"

namespace tidra::sim {
namespace {

namespace fs = std::filesystem;

struct Events {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> seen;
    static void callback(std::uint32_t display, std::uint32_t flags, void* info) {
        static_cast<Events*>(info)->seen.push_back({display, flags});
    }
};

std::string freshRoot(const std::string& name) {
    std::string root = testing::freshTestFolder("screens-" + name).string();
    Disk(root).populate();
    return root;
}

TEST(SimScreens, ANewMacHasOneScreenAndChangesPersistAndAreAnnounced) {
    Disk disk(freshRoot("persist"));
    RunLoop loop(false);
    Events events;
    {
        SimScreens screens(loop, disk);
        auto list = screens.screens();
        ASSERT_TRUE(list && list->size() == 1);
        EXPECT_EQ((*list)[0]->deviceDescription()[Value("NSScreenNumber")], Value(1));
        EXPECT_EQ(screens.desktopImageURL(*(*list)[0])->path(),
                  "/Library/Desktop Pictures/Catalina.heic");
        EXPECT_TRUE(screens.desktopImageOptions(*(*list)[0]).isStringKeyedDictionary());

        screens.registerReconfigurationCallback(&Events::callback, &events);
        auto added = screens.addScreen("Studio");
        auto bare = screens.addScreen("", false);
        EXPECT_EQ(added->number(), 2u);
        EXPECT_TRUE(bare->deviceDescription().count(Value("NSScreenNumber")) == 0);
        EXPECT_TRUE(events.seen.empty());  // delivered on the main thread, not inside the call
        loop.runDue();
        EXPECT_EQ(events.seen, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{
                                   {2, 1}, {2, 16}, {0, 1}, {0, 16}}));
        ASSERT_TRUE(screens.removeScreen(2));
        EXPECT_FALSE(screens.removeScreen(2));
        loop.runDue();
        EXPECT_EQ(events.seen.back(), (std::pair<std::uint32_t, std::uint32_t>{2, 32}));
        // A screen that has gone can no longer be given a picture.
        std::optional<Error> error;
        EXPECT_FALSE(screens.setDesktopImage(
            Url::fileURLWithPath("/Library/Desktop Pictures/Catalina.heic"), *added, {}, &error));

        std::ofstream(disk.real("/Users/me/Pictures/a b.png")) << "png";
        EXPECT_FALSE(screens.setPictureByHand(1, "~/Pictures/a b.png"));
        Dictionary opts{{Value("NSWorkspaceDesktopImageScalingKey"), Value(2)}};
        auto main = screens.find(1);
        EXPECT_TRUE(screens.setDesktopImage(Url::fileURLWithPath("/Users/me/Pictures/a b.png"),
                                            *main, opts, &error));
        // A missing file and the fail switch both refuse with an error.
        EXPECT_FALSE(
            screens.setDesktopImage(Url::fileURLWithPath("/Users/me/none.png"), *main, {}, &error));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code, 260);
        screens.setFailing(1, true);
        error.reset();
        EXPECT_FALSE(screens.setDesktopImage(Url::fileURLWithPath("/Users/me/Pictures/a b.png"),
                                             *main, {}, &error));
        EXPECT_TRUE(error);
        EXPECT_EQ(screens.desktopImageOptions(*main), Value(opts));
        screens.dropOwner(0);
        screens.addScreen("Later");
        loop.runDue();
        EXPECT_EQ(events.seen.size(), 6u);  // the callback's process has ended
    }
    // What the window server and the Dock keep survives a restart of the Mac.
    SimScreens again(loop, disk);
    auto shots = again.snapshot();
    ASSERT_EQ(shots.size(), 3u);
    EXPECT_EQ(shots[0].wallpaper, "/Users/me/Pictures/a b.png");
    EXPECT_EQ(shots[0].options,
              Value(Dictionary{{Value("NSWorkspaceDesktopImageScalingKey"), Value(2)}}));
    EXPECT_TRUE(shots[0].failing);
    EXPECT_FALSE(shots[1].number);
    EXPECT_EQ(shots[2].name, "Later");
}

TEST(SimScreens, DisplaysKeepTheirNumbersAndPicturesAcrossUnplugging) {
    Disk disk(freshRoot("identity"));
    RunLoop loop(false);
    auto number = [](const std::shared_ptr<SimScreen>& s) { return s ? s->number() : 0u; };
    {
        SimScreens screens(loop, disk);
        EXPECT_EQ(number(screens.addScreen("Studio")), 2u);
        auto anonymous = screens.addScreen("");
        EXPECT_EQ(number(anonymous), 3u);
        EXPECT_EQ(anonymous->name(), "Display 3");
        std::ofstream(disk.real("/Users/me/Pictures/s.png")) << "png";
        ASSERT_FALSE(screens.setPictureByHand(2, "~/Pictures/s.png"));
        ASSERT_TRUE(screens.removeScreen(2) && screens.removeScreen(3));

        // Another display never takes a number that was given before.
        EXPECT_EQ(number(screens.addScreen("LG")), 4u);
        // Plugged back, a display has its number and the picture it last showed.
        EXPECT_EQ(number(screens.addScreen("Studio")), 2u);
        EXPECT_EQ(screens.desktopImageURL(*screens.find(2))->path(), "/Users/me/Pictures/s.png");
        EXPECT_EQ(number(screens.addScreen("")), 3u);
        EXPECT_EQ(number(screens.addScreen("")), 5u);

        // A serial tells displays of one name apart.
        EXPECT_EQ(number(screens.addScreen("Dell", true, "A")), 6u);
        EXPECT_FALSE(screens.addScreen("Dell", true, "A"));  // connected already
        EXPECT_EQ(number(screens.addScreen("Dell", true, "B")), 7u);
        ASSERT_TRUE(screens.removeScreen(6) && screens.removeScreen(7));
        EXPECT_EQ(number(screens.addScreen("Dell", true, "B")), 7u);
        EXPECT_EQ(number(screens.addScreen("Dell")), 8u);
        EXPECT_EQ(screens.snapshot().back().serial, "");
        ASSERT_TRUE(screens.removeScreen(7));
    }
    // The window server remembers them across a restart of the Mac.
    SimScreens again(loop, disk);
    EXPECT_EQ(again.snapshot().size(), 6u);
    auto dell = again.addScreen("Dell", true, "B");
    EXPECT_EQ(number(dell), 7u);
    EXPECT_EQ(dell->serial(), "B");
    EXPECT_EQ(number(again.addScreen("Nobody")), 9u);
}

}  // namespace
}  // namespace tidra::sim
