// The keyboard shortcut end to end: recorded in its window, stored, registered system-wide,
// pressed anywhere, and what the recorder refuses.
#include <gtest/gtest.h>

#include "sim_world.h"

namespace tidra {
namespace {

using testing::SimWorld;

// A label of the open Settings window, or "(closed)".
std::string shortcutWindowText(SimWorld& w, const std::string& id) {
    return testing::windowText(w, "SettingsWindow", id);
}

// What the recorder's message says while there is nothing else to say.
constexpr const char* kExplanation =
    "Click the field and type a combination with ⌘ or ⌃ to hide or show the desktop from "
    "anywhere.";

nlohmann::json storedHotKey(SimWorld& w) {
    return w.defaults("xq.morv.Tidra")["hotKey"];
}

TEST(KeyboardShortcut, RecordedComboTogglesLikeAClickAndSurvivesARelaunch) {
    SimWorld w;
    EXPECT_EQ(w.status()["shortcut"], nullptr);
    // Nothing is registered by default: the press reaches nobody.
    EXPECT_NE(w.run("key ctrl+option+cmd+D\n").find("no application holds ⌃⌥⌘D"),
              std::string::npos);

    std::string out = w.run("menu Preferences...\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_EQ(shortcutWindowText(w, "shortcutLabel"), "None");
    w.run("shortcut record ctrl+option+cmd+D\n");
    EXPECT_EQ(shortcutWindowText(w, "shortcutLabel"), "⌃⌥⌘D");
    EXPECT_EQ(shortcutWindowText(w, "shortcutMessage"), kExplanation);
    EXPECT_EQ(storedHotKey(w), (nlohmann::json{{"keyCode", 2}, {"modifiers", 256 + 2048 + 4096}}));
    EXPECT_EQ(w.status()["shortcut"], "⌃⌥⌘D");
    EXPECT_NE(w.run("status\n").find("Keyboard shortcut: ⌃⌥⌘D"), std::string::npos);

    // A press anywhere is the click's toggle: Finder is asked to quit and comes back clean.
    w.run("window close\nkey ctrl+option+cmd+D\n");
    EXPECT_EQ(w.defaults("com.apple.finder")["CreateDesktop"], false);
    w.run("wait 3\n");
    EXPECT_EQ(w.status()["clean"], true);

    // Quit unregisters it; the next launch registers the stored one again.
    w.run("quit\n");
    EXPECT_EQ(w.mac().hotKeys().registeredBy(w.mac().tidraPid()), 0);
    EXPECT_NE(w.run("key ctrl+option+cmd+D\n").find("no application holds"), std::string::npos);
    w.run("launch\nkey ctrl+option+cmd+D\nwait 3\n");
    EXPECT_EQ(w.status()["clean"], false);
    EXPECT_EQ(w.status()["shortcut"], "⌃⌥⌘D");
    EXPECT_NE(w.type("wait 0\n").find("|  shortcut: ⌃⌥⌘D"), std::string::npos);

    // Clear: nothing stored, nothing registered.
    w.run("menu Preferences...\nshortcut clear\n");
    EXPECT_EQ(shortcutWindowText(w, "shortcutLabel"), "None");
    EXPECT_EQ(storedHotKey(w), nullptr);
    EXPECT_EQ(w.status()["shortcut"], nullptr);
    EXPECT_NE(w.run("key ctrl+option+cmd+D\n").find("no application holds"), std::string::npos);
}

TEST(KeyboardShortcut, RecorderRefusesOptionOnlyTakenAndModifierlessCombosAndKeepsTheOldOne) {
    SimWorld w;
    w.run("menu Preferences...\nshortcut record cmd+shift+F5\n");
    const nlohmann::json kept = storedHotKey(w);
    ASSERT_EQ(w.status()["shortcut"], "⇧⌘F5");

    w.run("shortcut record option+D\n");
    EXPECT_NE(shortcutWindowText(w, "shortcutMessage").find("only ⌥ or ⌥⇧"), std::string::npos);
    w.run("shortcut record option+shift+D\n");
    EXPECT_NE(shortcutWindowText(w, "shortcutMessage").find("⌥⇧D types a character"),
              std::string::npos);
    w.run("shortcut record shift+D\n");
    EXPECT_EQ(shortcutWindowText(w, "shortcutMessage"), "A shortcut needs ⌘ or ⌃ with a key.");
    w.run("shortcut record D\n");
    EXPECT_EQ(shortcutWindowText(w, "shortcutMessage"), "A shortcut needs ⌘ or ⌃ with a key.");
    EXPECT_EQ(storedHotKey(w), kept);
    // Nothing refused reached the system's hot keys: Tidra holds the one it had.
    EXPECT_EQ(w.mac().hotKeys().registeredBy(w.mac().tidraPid()), 1);
    for (const char* refused : {"option+D", "option+shift+D", "shift+D", "D"})
        EXPECT_NE(w.run(std::string("key ") + refused + "\n").find("no application holds"),
                  std::string::npos)
            << refused;
    EXPECT_EQ(w.status()["clean"], false);

    // Another application holds ⌃⌘T: the recorder says so and the old shortcut still works.
    w.run("hotkey taken ctrl+cmd+T\nshortcut record ctrl+cmd+T\n");
    EXPECT_EQ(shortcutWindowText(w, "shortcutMessage"),
              "⌃⌘T is used by another application; the shortcut stays ⇧⌘F5.");
    EXPECT_EQ(shortcutWindowText(w, "shortcutLabel"), "⇧⌘F5");
    EXPECT_EQ(storedHotKey(w), kept);
    EXPECT_EQ(w.status()["log"].back(),
              "Could not register the keyboard shortcut ⌃⌘T: another application holds it");
    w.run("key ctrl+cmd+T\nwait 3\n");
    EXPECT_EQ(w.status()["clean"], false);  // the other application's, not Tidra's
    w.run("key cmd+shift+F5\nwait 3\n");
    EXPECT_EQ(w.status()["clean"], true);

    // A new combination replaces the old one, which no longer answers.
    w.run("shortcut record ctrl+cmd+7\n");
    EXPECT_EQ(w.status()["shortcut"], "⌃⌘7");
    EXPECT_NE(w.run("key cmd+shift+F5\n").find("no application holds"), std::string::npos);
    EXPECT_EQ(w.mac().hotKeys().registeredBy(w.mac().tidraPid()), 1);

    // Escape closes the window and the shortcut stays.
    w.run("shortcut record escape\n");
    EXPECT_EQ(shortcutWindowText(w, "shortcutLabel"), "(closed)");
    EXPECT_EQ(w.status()["shortcut"], "⌃⌘7");
    // The window opens again with the shortcut and no old message.
    w.run("shortcut record option+D\nmenu Preferences...\n");
    EXPECT_NE(w.lastStatus(), 0);  // the recorder was closed
    w.run("menu Preferences...\n");
    EXPECT_EQ(shortcutWindowText(w, "shortcutMessage"), kExplanation);
    EXPECT_EQ(shortcutWindowText(w, "shortcutLabel"), "⌃⌘7");
}

TEST(KeyboardShortcut, AStoredShortcutThatCannotBeUsedIsLoggedAndLeftStored) {
    SimWorld w;
    // Held by another application at launch: logged and still stored, but shown as what it is:
    // no shortcut in force, with the reason in the recorder.
    w.run(
        "menu Preferences...\nshortcut record ctrl+cmd+H\nquit\nhotkey taken ctrl+cmd+H\n"
        "launch\n");
    EXPECT_EQ(w.status()["log"].back(),
              "Could not register the keyboard shortcut ⌃⌘H: another application holds it");
    EXPECT_EQ(w.status()["shortcut"], nullptr);
    EXPECT_EQ(w.status()["storedShortcut"], "⌃⌘H");
    EXPECT_EQ(w.mac().hotKeys().registeredBy(w.mac().tidraPid()), 0);
    EXPECT_NE(w.run("status\n").find("Keyboard shortcut: none in use (⌃⌘H is stored"),
              std::string::npos);
    w.run("menu Preferences...\n");
    EXPECT_EQ(shortcutWindowText(w, "shortcutLabel"), "None");
    EXPECT_EQ(shortcutWindowText(w, "shortcutMessage"),
              "The stored shortcut ⌃⌘H is not in use: another application holds it.");
    // Another one takes over, and the window no longer speaks of the old one.
    w.run("shortcut record ctrl+cmd+J\n");
    EXPECT_EQ(w.status()["shortcut"], "⌃⌘J");
    EXPECT_EQ(shortcutWindowText(w, "shortcutMessage"), kExplanation);
    w.run("window close\n");

    // A value written by hand that is no shortcut: logged, left in place, never registered.
    for (const char* bad : {"-string ctrl+cmd+H", "-int 4", "-bool true"}) {
        w.run(std::string("quit\ndefaults write xq.morv.Tidra hotKey ") + bad + "\nlaunch\n");
        EXPECT_NE(w.status()["log"].back().get<std::string>().find(
                      "The stored keyboard shortcut (hotKey) is no key combination"),
                  std::string::npos)
            << bad;
        EXPECT_FALSE(storedHotKey(w).is_null()) << bad;
        EXPECT_EQ(w.status()["shortcut"], nullptr);
        EXPECT_EQ(w.mac().hotKeys().registeredBy(w.mac().tidraPid()), 0);
    }
    // A bad combination in the front end is refused with the expected form.
    std::string out = w.run("key ctrl+cmd+\n");
    EXPECT_NE(out.find("COMBO is modifiers and a key"), std::string::npos) << out;
}

}  // namespace
}  // namespace tidra
