#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/display_trigger.h"
#include "desktop/finder_toggle.h"
#include "prefs/keys.h"

namespace tidra {
namespace {

Notification terminated(Value userInfo) {
    return Notification{"terminated", nullptr, userInfo};
}

TEST(FinderTermination, OnlyFindersExactIdentifierCounts) {
    Dictionary finder{{Value(kApplicationBundleIdentifierKey), Value("com.apple.finder")}};
    auto note = terminated(finder);
    EXPECT_TRUE(FinderToggle::isFinderTermination(&note));

    EXPECT_FALSE(FinderToggle::isFinderTermination(nullptr));
    std::vector<Value> others = {
        Value(),
        Value::null(),
        Value("com.apple.finder"),
        Value(Dictionary{}),
        Value(Dictionary{{Value(kApplicationBundleIdentifierKey), Value("com.apple.Finder")}}),
        Value(Dictionary{{Value(kApplicationBundleIdentifierKey), Value("com.apple.finder ")}}),
        Value(Dictionary{{Value(kApplicationBundleIdentifierKey), Value("com.apple.mail")}}),
        Value(Dictionary{{Value(kApplicationBundleIdentifierKey), Value(7)}}),
        // A key that is not a string makes the whole notice malformed.
        Value(Dictionary{{Value(kApplicationBundleIdentifierKey), Value("com.apple.finder")},
                         {Value(1), Value("x")}}),
    };
    for (const auto& info : others) {
        auto other = terminated(info);
        EXPECT_FALSE(FinderToggle::isFinderTermination(&other)) << info.description();
    }
}

struct RecordingTarget : DisplayTriggerTarget {
    bool clean = false;
    bool trigger = false, disconnect = false;
    bool finderReachable = true;
    std::vector<std::string> calls;
    bool isClean() const override { return clean; }
    void setIcon(bool c) override { calls.push_back(c ? "icon:clean" : "icon:dirty"); }
    bool preference(const char* key) override {
        if (std::string(key) == prefs::kExternalScreenTrigger) return trigger;
        if (std::string(key) == prefs::kExternalScreenDisconnect) return disconnect;
        return false;
    }
    bool cleanDesktop(bool show) override {
        calls.push_back(show ? "show" : "hide");
        return finderReachable;
    }
    void restoreWallpapers() override { calls.push_back("restore"); }
};

std::vector<std::string> run(RecordingTarget& t, std::uint32_t flags) {
    t.calls.clear();
    displayReconfigurationCallback(1, flags, &t);
    return t.calls;
}

TEST(DisplayTrigger, FollowsTheEnabledDirectionOnly) {
    RecordingTarget t;
    using V = std::vector<std::string>;
    // Both preferences off: an added display while shown still gets its own picture back.
    EXPECT_EQ(run(t, kDisplayAddFlag), V{"restore"});
    EXPECT_EQ(run(t, kDisplayRemoveFlag), V{});

    t.trigger = true;
    EXPECT_EQ(run(t, kDisplayBeginConfigurationFlag), V{});
    EXPECT_EQ(run(t, kDisplayAddFlag), (V{"restore", "icon:clean", "hide"}));
    // Both bits: the added branch alone.
    EXPECT_EQ(run(t, kDisplayAddFlag | kDisplayRemoveFlag), (V{"restore", "icon:clean", "hide"}));
    EXPECT_EQ(run(t, kDisplayRemoveFlag), V{});  // disconnect not enabled

    // Finder's preferences out of reach: nothing was written, the icon goes back.
    t.finderReachable = false;
    EXPECT_EQ(run(t, kDisplayAddFlag), (V{"restore", "icon:clean", "hide", "icon:dirty"}));
    t.finderReachable = true;

    t.clean = true;
    EXPECT_EQ(run(t, kDisplayAddFlag), V{});  // already hidden: not even the icon
    t.disconnect = true;
    EXPECT_EQ(run(t, kDisplayRemoveFlag | kDisplayBeginConfigurationFlag),
              (V{"icon:dirty", "show"}));
    t.finderReachable = false;
    EXPECT_EQ(run(t, kDisplayRemoveFlag), (V{"icon:dirty", "show", "icon:clean"}));
    t.clean = false;
    EXPECT_EQ(run(t, kDisplayRemoveFlag), V{});  // already shown

    displayReconfigurationCallback(1, kDisplayAddFlag, nullptr);  // no target: ignored
}

}  // namespace
}  // namespace tidra
