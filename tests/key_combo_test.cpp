// Key combinations as Tidra stores and shows them, and the URLs it takes.
#include "shortcut/key_combo.h"

#include <gtest/gtest.h>

#include "desktop/url_commands.h"

namespace tidra {
namespace {

TEST(KeyCombo, ShowsModifiersInTheMenusOrderAndMapsAppKitFlagsToCarbonBits) {
    EXPECT_EQ(describe({0x02, kCmdKey | kOptionKey | kControlKey | kShiftKey}), "⌃⌥⇧⌘D");
    EXPECT_EQ(describe({0x7A, kCmdKey}), "⌘F1");
    EXPECT_EQ(describe({0x6F, kControlKey}), "⌃F12");
    EXPECT_EQ(describe({0x1D, kCmdKey}), "⌘0");
    EXPECT_EQ(carbonModifiers(kEventModifierFlagCommand | kEventModifierFlagShift |
                              kEventModifierFlagOption | kEventModifierFlagControl),
              kCmdKey | kShiftKey | kOptionKey | kControlKey);
    // Caps Lock, the function key and device bits are no part of a shortcut.
    EXPECT_EQ(carbonModifiers((1ull << 16) | (1ull << 23) | 0xFF | kEventModifierFlagCommand),
              kCmdKey);
    EXPECT_EQ(keyCodeNamed("d"), 0x02u);
    EXPECT_EQ(keyCodeNamed("f10"), 0x6Du);
    EXPECT_EQ(keyCodeNamed("Escape"), kEscapeKeyCode);
    EXPECT_EQ(keyCodeNamed("F13"), std::nullopt);
}

TEST(KeyCombo, OnlyAWellFormedStoredDictionaryIsAShortcut) {
    const KeyCombo combo{0x02, kCmdKey | kControlKey};
    EXPECT_EQ(comboFromStored(storedForm(combo)), combo);
    auto stored = [](Value code, Value modifiers) {
        return Value(Dictionary{{Value("keyCode"), code}, {Value("modifiers"), modifiers}});
    };
    EXPECT_EQ(comboFromStored(Value()), std::nullopt);
    EXPECT_EQ(comboFromStored(Value("⌃⌘D")), std::nullopt);
    EXPECT_EQ(comboFromStored(stored(Value(true), Value(256))), std::nullopt);
    EXPECT_EQ(comboFromStored(stored(Value(2), Value(2.5))), std::nullopt);
    EXPECT_EQ(comboFromStored(stored(Value(-1), Value(256))), std::nullopt);
    EXPECT_EQ(comboFromStored(stored(Value(0x35), Value(256))), std::nullopt);  // Escape
    EXPECT_EQ(comboFromStored(stored(Value(std::int64_t(1) << 40), Value(256))), std::nullopt);
    EXPECT_EQ(comboFromStored(stored(Value(2), Value(256 | 1))), std::nullopt);
    EXPECT_EQ(comboFromStored(stored(Value(2), Value(std::int64_t(256) << 32))), std::nullopt);
}

TEST(UrlCommands, OnlyTheThreeCommandsOfTidrasSchemeAreTaken) {
    EXPECT_EQ(urlCommand("tidra://hide"), UrlCommand::Hide);
    EXPECT_EQ(urlCommand("Tidra://SHOW/"), UrlCommand::Show);
    EXPECT_EQ(urlCommand("tidra://toggle"), UrlCommand::Toggle);
    for (const char* other : {"tidra://", "tidra:hide", "tidra://hide//", "tidra://hide?x=1",
                              "tidra://hidex", "other://hide", "tidra://hide/now", ""})
        EXPECT_EQ(urlCommand(other), std::nullopt) << other;
    EXPECT_EQ(loggableUrl(std::string("a\nb\x7f", 4)), "a\\x0Ab\\x7F");
    EXPECT_EQ(loggableUrl(std::string(300, 'x')), std::string(200, 'x') + "…");
    // A cut falls between characters, never through one.
    EXPECT_EQ(loggableUrl(std::string(199, 'x') + "€€"), std::string(199, 'x') + "…");
    EXPECT_EQ(loggableUrl(std::string(197, 'x') + "€€"), std::string(197, 'x') + "€…");
}

}  // namespace
}  // namespace tidra
