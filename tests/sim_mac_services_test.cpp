#include <gtest/gtest.h>

#include <memory>

#include "sim_world.h"

namespace tidra::testing {
namespace {

// The Mac's own screens, with a count of what Tidra asked of them.
class CountingScreens : public Screens {
  public:
    explicit CountingScreens(Screens& real) : real_(real) {}
    ~CountingScreens() override { *alive = false; }
    std::optional<std::vector<std::shared_ptr<Screen>>> screens() override {
        ++calls;
        return real_.screens();
    }
    void registerReconfigurationCallback(DisplayReconfigurationCallback callback,
                                         void* userInfo) override {
        ++calls;
        real_.registerReconfigurationCallback(callback, userInfo);
    }
    int calls = 0;
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);

  private:
    Screens& real_;
};

TEST(SimMacServices, AReplacementReachesTidraAndTheMacKeepsWorkingWithItsOwn) {
    auto world = std::make_unique<SimWorld>();
    world->run("quit\n");
    auto counting = std::make_unique<CountingScreens>(world->mac().simScreens());
    CountingScreens& seen = *counting;
    world->mac().replaceScreens(std::move(counting));
    // Launching and quitting hand the Mac's own screens to Tidra's process and take them back.
    world->run("launch\nclick\nwait 5\nquit\n");
    ASSERT_EQ(world->lastStatus(), 0);
    EXPECT_GT(seen.calls, 0);
    world->run("wallpaper set 1 ~/Pictures/Mountains.jpg\n");
    EXPECT_EQ(world->lastStatus(), 0);

    // Back to the Mac's own; the replacement goes unasked from the next launch on.
    world->mac().replaceScreens(nullptr);
    const int before = seen.calls;
    world->run("launch\nquit\n");
    EXPECT_EQ(seen.calls, before);
    EXPECT_EQ(&world->mac().screens(), &world->mac().simScreens());
    // The Mac shutting down writes its screens down, and lets the replacement go with it.
    const auto alive = seen.alive;
    world.reset();
    EXPECT_FALSE(*alive);
}

TEST(SimMacServices, ARunningTidraKeepsTheServiceItWasGivenUntilItQuits) {
    SimWorld world;
    auto counting = std::make_unique<CountingScreens>(world.mac().simScreens());
    CountingScreens& first = *counting;
    world.mac().replaceScreens(std::move(counting));
    world.run("quit\nlaunch\n");
    const int atLaunch = first.calls;
    const auto firstAlive = first.alive;
    ASSERT_GT(atLaunch, 0);

    // Replaced again while Tidra runs: what Tidra holds stays alive and answers it.
    world.mac().replaceScreens(std::make_unique<CountingScreens>(world.mac().simScreens()));
    ASSERT_TRUE(*firstAlive);
    world.run("click\nwait 5\nclick\nwait 5\n");
    ASSERT_EQ(world.lastStatus(), 0);
    EXPECT_GT(first.calls, atLaunch);
    world.run("quit\n");
}

}  // namespace
}  // namespace tidra::testing
