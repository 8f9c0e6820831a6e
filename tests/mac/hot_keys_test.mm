// The native hot keys against a stand-in for Carbon's event manager: the one event handler comes
// and goes with the hot keys it serves, its routine is disposed of, and nothing is unregistered or
// removed twice, whichever of the service and its registrations ends first.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "mac/services.h"

namespace {

// What the stand-in event manager holds. A call with a reference it does not hold (removed or
// unregistered already, or never made) is counted as stray: on a Mac it is a fault.
struct CarbonState {
    struct Handler {
        EventHandlerUPP upp = NULL;
        void* userData = NULL;
    };
    std::map<EventHandlerRef, Handler> handlers;
    std::map<EventHotKeyRef, EventHotKeyID> hotKeys;
    std::map<EventHotKeyRef, std::pair<UInt32, UInt32>> combinations;
    std::set<std::pair<UInt32, UInt32>> heldElsewhere;
    int liveUpps = 0;
    int stray = 0;
    OSStatus refuseInstall = noErr;
    std::uintptr_t nextRef = 1;
};
CarbonState carbon;

template <typename Ref>
Ref newRef() {
    return reinterpret_cast<Ref>(carbon.nextRef++);
}

// Delivers a press of the combination to the installed handlers, as the application event
// target does: the first that handles it ends the delivery. A handler removed meanwhile is not
// called.
OSStatus press(UInt32 keyCode, UInt32 modifiers) {
    EventHotKeyID identifier = {0, 0};
    bool found = false;
    for (const auto& [ref, combination] : carbon.combinations) {
        if (combination != std::make_pair(keyCode, modifiers)) continue;
        identifier = carbon.hotKeys[ref];
        found = true;
    }
    if (!found) return eventNotHandledErr;
    std::vector<EventHandlerRef> handlers;
    for (const auto& [ref, handler] : carbon.handlers) handlers.push_back(ref);
    for (EventHandlerRef ref : handlers) {
        auto handler = carbon.handlers.find(ref);
        if (handler == carbon.handlers.end()) continue;
        const OSStatus status =
            handler->second.upp(reinterpret_cast<EventHandlerCallRef>(&carbon),
                                reinterpret_cast<EventRef>(&identifier), handler->second.userData);
        if (status != eventNotHandledErr) return status;
    }
    return eventNotHandledErr;
}

}  // namespace

extern "C" {
EventHandlerUPP NewEventHandlerUPP(EventHandlerProcPtr userRoutine) {
    ++carbon.liveUpps;
    return userRoutine;
}
void DisposeEventHandlerUPP(EventHandlerUPP) {
    --carbon.liveUpps;
}
EventTargetRef GetApplicationEventTarget(void) {
    return reinterpret_cast<EventTargetRef>(&carbon);
}
OSStatus InstallEventHandler(EventTargetRef, EventHandlerUPP inHandler, ItemCount inNumTypes,
                             const EventTypeSpec* inList, void* inUserData,
                             EventHandlerRef* outRef) {
    if (carbon.refuseInstall != noErr) return carbon.refuseInstall;
    if (inNumTypes != 1 || inList[0].eventClass != kEventClassKeyboard ||
        inList[0].eventKind != kEventHotKeyPressed)
        ++carbon.stray;
    const EventHandlerRef ref = newRef<EventHandlerRef>();
    carbon.handlers[ref] = {inHandler, inUserData};
    if (outRef != NULL) *outRef = ref;
    return noErr;
}
OSStatus RemoveEventHandler(EventHandlerRef inHandlerRef) {
    if (carbon.handlers.erase(inHandlerRef) == 0) ++carbon.stray;
    return noErr;
}
OSStatus GetEventParameter(EventRef inEvent, EventParamName inName, EventParamType inDesiredType,
                           EventParamType*, ByteCount inBufferSize, ByteCount*, void* outData) {
    if (inName != kEventParamDirectObject || inDesiredType != typeEventHotKeyID ||
        inBufferSize != sizeof(EventHotKeyID))
        return eventNotHandledErr;
    *static_cast<EventHotKeyID*>(outData) = *reinterpret_cast<const EventHotKeyID*>(inEvent);
    return noErr;
}
OSStatus RegisterEventHotKey(UInt32 inHotKeyCode, UInt32 inHotKeyModifiers,
                             EventHotKeyID inHotKeyID, EventTargetRef, OptionBits,
                             EventHotKeyRef* outRef) {
    const auto combination = std::make_pair(inHotKeyCode, inHotKeyModifiers);
    if (carbon.heldElsewhere.count(combination) != 0) return eventHotKeyExistsErr;
    for (const auto& [ref, held] : carbon.combinations)
        if (held == combination) return eventHotKeyExistsErr;
    const EventHotKeyRef ref = newRef<EventHotKeyRef>();
    carbon.hotKeys[ref] = inHotKeyID;
    carbon.combinations[ref] = combination;
    *outRef = ref;
    return noErr;
}
OSStatus UnregisterEventHotKey(EventHotKeyRef inHotKey) {
    if (carbon.hotKeys.erase(inHotKey) == 0) ++carbon.stray;
    carbon.combinations.erase(inHotKey);
    return noErr;
}
}

namespace tidra::mac {
namespace {

constexpr UInt32 kKeyT = 17;
constexpr UInt32 kKeyW = 13;

class MacHotKeysTest : public ::testing::Test {
  protected:
    void SetUp() override { carbon = CarbonState{}; }
    // Whatever a test did, the stand-in saw no call with a reference it did not hold.
    void TearDown() override { EXPECT_EQ(carbon.stray, 0); }
};

TEST_F(MacHotKeysTest, TheEventHandlerLivesAsLongAsAHotKeyIsRegistered) {
    auto hotKeys = makeHotKeys();
    EXPECT_TRUE(carbon.handlers.empty());

    int toggles = 0;
    int wallpapers = 0;
    int status = -1;
    auto toggle = hotKeys->registerHotKey(
        kKeyT, kCmdKey | kOptionKey, [&] { ++toggles; }, status);
    ASSERT_NE(toggle, nullptr);
    EXPECT_EQ(status, kNoErr);
    auto wallpaper = hotKeys->registerHotKey(
        kKeyW, kCmdKey | kOptionKey, [&] { ++wallpapers; }, status);
    ASSERT_NE(wallpaper, nullptr);
    // One handler serves every hot key.
    EXPECT_EQ(carbon.handlers.size(), 1u);
    EXPECT_EQ(carbon.liveUpps, 1);

    EXPECT_EQ(press(kKeyW, kCmdKey | kOptionKey), noErr);
    EXPECT_EQ(toggles, 0);
    EXPECT_EQ(wallpapers, 1);

    wallpaper.reset();
    EXPECT_EQ(carbon.handlers.size(), 1u);
    EXPECT_EQ(press(kKeyT, kCmdKey | kOptionKey), noErr);
    EXPECT_EQ(toggles, 1);

    toggle.reset();
    EXPECT_TRUE(carbon.hotKeys.empty());
    EXPECT_TRUE(carbon.handlers.empty());
    EXPECT_EQ(carbon.liveUpps, 0);

    // A hot key registered afterwards has a handler again.
    toggle = hotKeys->registerHotKey(
        kKeyT, kCmdKey, [&] { ++toggles; }, status);
    ASSERT_NE(toggle, nullptr);
    EXPECT_EQ(press(kKeyT, kCmdKey), noErr);
    EXPECT_EQ(toggles, 2);
    EXPECT_EQ(carbon.handlers.size(), 1u);
}

TEST_F(MacHotKeysTest, RegistrationsThatOutliveTheServiceFindNothingLeftToUndo) {
    auto hotKeys = makeHotKeys();
    int status = -1;
    auto toggle = hotKeys->registerHotKey(
        kKeyT, kCmdKey, [] {}, status);
    auto wallpaper = hotKeys->registerHotKey(
        kKeyW, kCmdKey, [] {}, status);
    ASSERT_NE(toggle, nullptr);
    ASSERT_NE(wallpaper, nullptr);

    // The service ends first: its combinations are free for other applications again, and
    // Carbon is left with no handler pointing into it.
    hotKeys.reset();
    EXPECT_TRUE(carbon.hotKeys.empty());
    EXPECT_TRUE(carbon.handlers.empty());
    EXPECT_EQ(carbon.liveUpps, 0);

    toggle.reset();
    wallpaper.reset();
    EXPECT_EQ(carbon.stray, 0);
}

TEST_F(MacHotKeysTest, APressThatEndsTheLastHotKeyRemovesTheHandlerFromWithin) {
    auto hotKeys = makeHotKeys();
    int status = -1;
    int presses = 0;
    std::unique_ptr<HotKey> once;
    once = hotKeys->registerHotKey(
        kKeyT, kCmdKey,
        [&] {
            ++presses;
            once.reset();
        },
        status);
    ASSERT_NE(once, nullptr);

    EXPECT_EQ(press(kKeyT, kCmdKey), noErr);
    EXPECT_EQ(presses, 1);
    EXPECT_TRUE(carbon.handlers.empty());
    EXPECT_EQ(carbon.liveUpps, 0);
    EXPECT_EQ(press(kKeyT, kCmdKey), eventNotHandledErr);
    EXPECT_EQ(presses, 1);
}

TEST_F(MacHotKeysTest, RefusalsAreReportedAndLeaveNoHandlerBehind) {
    auto hotKeys = makeHotKeys();
    int status = kNoErr;

    // A combination another application holds.
    carbon.heldElsewhere.insert({kKeyT, kCmdKey});
    EXPECT_EQ(hotKeys->registerHotKey(
                  kKeyT, kCmdKey, [] {}, status),
              nullptr);
    EXPECT_EQ(status, kEventHotKeyExistsErr);
    EXPECT_TRUE(carbon.handlers.empty());
    EXPECT_EQ(carbon.liveUpps, 0);

    // The handler itself refused: no hot key is registered that nothing would answer.
    carbon.refuseInstall = -50;
    EXPECT_EQ(hotKeys->registerHotKey(
                  kKeyW, kCmdKey, [] {}, status),
              nullptr);
    EXPECT_EQ(status, -50);
    EXPECT_TRUE(carbon.hotKeys.empty());
    EXPECT_EQ(carbon.liveUpps, 0);
    carbon.refuseInstall = noErr;

    // A refusal beside a registered hot key leaves that one working.
    int presses = 0;
    auto wallpaper = hotKeys->registerHotKey(
        kKeyW, kCmdKey, [&] { ++presses; }, status);
    ASSERT_NE(wallpaper, nullptr);
    EXPECT_EQ(hotKeys->registerHotKey(
                  kKeyW, kCmdKey, [] {}, status),
              nullptr);
    EXPECT_EQ(status, kEventHotKeyExistsErr);
    EXPECT_EQ(press(kKeyW, kCmdKey), noErr);
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(carbon.handlers.size(), 1u);
}

}  // namespace
}  // namespace tidra::mac
