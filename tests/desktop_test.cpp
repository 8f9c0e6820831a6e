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

TEST(DisplayTrigger, FollowsTheEnabledDirectionOnly) {
    using Calls = std::vector<std::string>;
    constexpr std::uint32_t kAdd = kDisplayAddFlag, kRemove = kDisplayRemoveFlag,
                            kBegin = kDisplayBeginConfigurationFlag;
    // Every other kind of change a display reports.
    constexpr std::uint32_t kOther = 2 | 4 | 8 | 64 | 128 | 256 | 512 | 1024 | 2048 | 4096;
    struct Case {
        const char* name;
        bool trigger, disconnect;
        bool clean;
        std::optional<bool> headed;  // where a restart under way leads, if any
        std::uint32_t flags;
        Calls calls;
        bool finderReachable = true;
    };
    // Name, the two preferences, hidden now, hidden once a restart ends, flags, what is done.
    const Case cases[] = {
        // An added display while shown gets its own picture back, whatever the preferences.
        {"neither preference, added", false, false, false, {}, kAdd, {"restore"}},
        {"neither preference, removed", false, false, false, {}, kRemove, {}},
        {"the announcement before a change", true, true, false, {}, kBegin, {}},
        {"other changes", true, true, false, {}, kOther | kBegin, {}},
        // The icon is not touched: it changes once Finder draws the new desktop.
        {"trigger, added while shown", true, false, false, {}, kAdd, {"restore", "hide"}},
        {"added, other bits", true, false, false, {}, kAdd | kOther, {"restore", "hide"}},
        {"both bits: added alone", true, false, false, {}, kAdd | kRemove, {"restore", "hide"}},
        {"Finder's domain out of reach", true, false, false, {}, kAdd, {"restore", "hide"}, false},
        {"trigger only, removed while hidden", true, false, true, {}, kRemove, {}},
        {"trigger, added while hidden", true, false, true, {}, kAdd, {}},
        {"disconnect, removed while hidden", true, true, true, {}, kRemove | kBegin, {"show"}},
        {"disconnect, removed with other bits", false, true, true, {}, kRemove | kOther, {"show"}},
        {"disconnect, removed while shown", true, true, false, {}, kRemove, {}},
        // Both bits while hidden: the removal is never looked at, even with the addition off.
        {"both bits while hidden", true, true, true, {}, kAdd | kRemove, {}},
        {"both bits while hidden, trigger off", false, true, true, {}, kAdd | kRemove | kOther, {}},
        // A restart under way counts for what it will leave, not what is drawn now.
        {"removed while headed hidden", true, true, false, true, kRemove, {"show"}},
        {"added while headed hidden", true, true, false, true, kAdd, {"restore"}},
        {"added while headed shown", true, true, true, false, kAdd, {"hide"}},
        {"removed while headed shown", true, true, true, false, kRemove, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingTarget t;
        t.trigger = c.trigger;
        t.disconnect = c.disconnect;
        t.clean = c.clean;
        t.headed = c.headed;
        t.finderReachable = c.finderReachable;
        displayReconfigurationCallback(1, c.flags, &t);
        EXPECT_EQ(t.calls, c.calls);
    }
    displayReconfigurationCallback(1, kDisplayAddFlag, nullptr);  // no target: ignored
}

}  // namespace
}  // namespace tidra
