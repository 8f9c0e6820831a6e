#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "desktop/display_trigger.h"
#include "desktop/finder_control.h"
#include "prefs/keys.h"
#include "sim/mac.h"
#include "test_folder.h"

namespace tidra {
namespace {

Notification terminated(Value userInfo) {
    return Notification{"terminated", nullptr, userInfo};
}

TEST(FinderTermination, OnlyFindersExactIdentifierCounts) {
    Dictionary finder{{Value(kApplicationBundleIdentifierKey), Value("com.apple.finder")}};
    auto note = terminated(finder);
    EXPECT_TRUE(FinderControl::isAboutFinder(&note));

    EXPECT_FALSE(FinderControl::isAboutFinder(nullptr));
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
        EXPECT_FALSE(FinderControl::isAboutFinder(&other)) << info.description();
    }
}

struct RecordingTarget : DesktopHiding {
    bool clean = false;
    bool finderReachable = true;
    std::vector<std::string> calls;
    std::optional<bool> headed;  // where a restart under way leads, if any
    bool isClean() const override { return clean; }
    bool headedClean() const override { return headed.value_or(clean); }
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
    // The two options as the user set them, in a simulated Mac's store.
    sim::MacOptions options;
    options.root = testing::freshTestFolder("mac").string();
    sim::Mac mac(options);
    UserDefaults& store = mac.prefs().standardUserDefaults();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingTarget t;
        store.setBool(c.trigger, prefs::kExternalScreenTrigger);
        store.setBool(c.disconnect, prefs::kExternalScreenDisconnect);
        t.clean = c.clean;
        t.headed = c.headed;
        t.finderReachable = c.finderReachable;
        DisplayTrigger trigger{t, store};
        displayReconfigurationCallback(1, c.flags, &trigger);
        EXPECT_EQ(t.calls, c.calls);
    }
    displayReconfigurationCallback(1, kDisplayAddFlag, nullptr);  // no target: ignored
}

}  // namespace
}  // namespace tidra
