#include <gtest/gtest.h>

#include <optional>
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
    std::optional<bool> headed;  // where a restart under way leads, if any
    bool isClean() const override { return clean; }
    bool headedClean() const override { return headed.value_or(clean); }
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
    // The icon is not touched: it changes once Finder draws the new desktop.
    EXPECT_EQ(run(t, kDisplayAddFlag), (V{"restore", "hide"}));
    // Both bits: the added branch alone.
    EXPECT_EQ(run(t, kDisplayAddFlag | kDisplayRemoveFlag), (V{"restore", "hide"}));
    EXPECT_EQ(run(t, kDisplayRemoveFlag), V{});  // disconnect not enabled
    t.finderReachable = false;
    EXPECT_EQ(run(t, kDisplayAddFlag), (V{"restore", "hide"}));
    t.finderReachable = true;

    t.clean = true;
    EXPECT_EQ(run(t, kDisplayAddFlag), V{});  // already hidden
    t.disconnect = true;
    EXPECT_EQ(run(t, kDisplayRemoveFlag | kDisplayBeginConfigurationFlag), V{"show"});
    t.clean = false;
    EXPECT_EQ(run(t, kDisplayRemoveFlag), V{});  // already shown

    // A restart under way counts for what it will leave, not what is drawn now.
    t.headed = true;
    EXPECT_EQ(run(t, kDisplayRemoveFlag), V{"show"});
    EXPECT_EQ(run(t, kDisplayAddFlag), V{"restore"});
    t.clean = true;
    t.headed = false;
    EXPECT_EQ(run(t, kDisplayAddFlag), V{"hide"});
    EXPECT_EQ(run(t, kDisplayRemoveFlag), V{});

    displayReconfigurationCallback(1, kDisplayAddFlag, nullptr);  // no target: ignored
}

}  // namespace
}  // namespace tidra
