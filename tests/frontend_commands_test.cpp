// The front end as a person meets it: comments, menu titles as typed, windows by number, the
// disk seen from the open panel, what `status` and the picture tell, and the interactive prompt.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "frontend/command_line.h"
#include "frontend/menu_titles.h"
#include "sim_world.h"

namespace tidra {
namespace {

using ::testing::HasSubstr;
using testing::kGrey;
using ::testing::Not;
using testing::SimWorld;

size_t count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

// Lines split as a shell splits them; a title that ends a command may stay unquoted.
TEST(FrontendCommands, LinesSplitLikeAShell) {
    using Words = std::vector<std::string>;
    struct Case {
        const char* name;
        const char* line;
        Words words;
        size_t titleAt;     // the title from this word on, the comment left out...
        const char* title;  // ...is this one
    };
    const Case cases[] = {
        {"quoted title, then a comment",
         R"(alert "Do Not Move" --suppress # answer)",
         {"alert", "Do Not Move", "--suppress"},
         1,
         R"("Do Not Move" --suppress)"},
        {"unquoted title keeps its inner blanks",
         "menu Show That  Mess",
         {"menu", "Show", "That", "Mess"},
         1,
         "Show That  Mess"},
        {"single quotes, double quotes and backslashes",
         R"(x 'it'\''s' "a \"b\" \\ c" d\ e)",
         {"x", "it's", "a \"b\" \\ c", "d e"},
         3,
         "d e"},
        {"a hash beginning a word starts a comment",
         "menu Show That Mess # hide again",
         {"menu", "Show", "That", "Mess"},
         1,
         "Show That Mess"},
        {"a hash in quotes is an ordinary character",
         "finder open 'Work #2' #3 and more",
         {"finder", "open", "Work #2"},
         2,
         "Work #2"},
        {"a hash inside a word, trailing blanks",
         "finder open Issue#4  ",
         {"finder", "open", "Issue#4"},
         2,
         "Issue#4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        const auto cl = sim::splitCommandLine(c.line, error);
        ASSERT_TRUE(cl) << error;
        EXPECT_EQ(cl->words, c.words);
        EXPECT_EQ(sim::titleFrom(*cl, c.titleAt), c.title);
    }
    for (const auto& [line, message] :
         {std::pair{"say \"unterminated", "unterminated double quote"},
          std::pair{"trailing \\", ""}}) {
        SCOPED_TRACE(line);
        std::string error;
        EXPECT_FALSE(sim::splitCommandLine(line, error));
        EXPECT_FALSE(error.empty());
        if (*message) {
            EXPECT_EQ(error, message);
        }
    }
}

// A bad line is refused with one line naming it, before anything after it runs.
TEST(FrontendCommands, RefusesBadCommandsWithoutTouchingTheStores) {
    SimWorld w;
    auto before = w.status()["defaults"];
    for (const char* bad : {"defaults write xq.morv.Tidra restoreFinder -bool maybe",
                            "defaults write xq.morv.Tidra restoreFinder -float 1", "wait soon",
                            "wait -1", "theme purple", "frobnicate", "choose Quit",
                            "finder refuse sometimes", "say \"unterminated"}) {
        SCOPED_TRACE(bad);
        std::string out = w.run(std::string(bad) + "\nclick\n");
        EXPECT_EQ(w.lastStatus(), 2);
        EXPECT_EQ(out.find("line 1: "), out.find('\n') + 1) << out;  // one line naming the line
        EXPECT_EQ(w.status()["defaults"], before);                   // and the click never ran
    }
    // A missing pair is no error and says so as the defaults tool does.
    std::string out = w.run("defaults read com.apple.finder Nothing\ndefaults read -g\n");
    EXPECT_EQ(w.lastStatus(), 0);
    EXPECT_NE(out.find("The domain/default pair of (com.apple.finder, Nothing) does not exist"),
              std::string::npos);
    EXPECT_NE(out.find("Domain -g does not exist"), std::string::npos);
    out = w.run("defaults read xq.morv.Tidra restoreFinder\n");
    EXPECT_NE(out.find("\n1\n"), std::string::npos) << out;
}

// In a script, comments go wherever a word may begin.
TEST(FrontendCommands, ScriptsTakeComments) {
    SimWorld w;
    std::string out = w.run(
        "# the whole line is a comment\n"
        "click # hide\n"
        "wait 3\n"
        "menu Show That Mess # and back again\n"
        "wait 3\n"
        "finder open Work #2\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    auto s = w.status();
    EXPECT_EQ(s["clean"], false);
    auto windows = s["finder"]["instances"][0]["windows"];
    EXPECT_EQ(windows.back(), "Work") << windows;
}

TEST(FrontendCommands, MenuTitlesAsAPersonTypesThem) {
    SimWorld w;
    // The item alone, anywhere in the menu.
    std::string out = w.run("menu Grey\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["replaceWallpaper"], kGrey);
    // Three dots for the ellipsis, with and without the submenu, and through `choose`.
    out = w.run("menu Wallpaper > Custom Image...\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_FALSE(w.status()["panel"].is_null());
    out = w.run("panel cancel\nright-click\nchoose Custom Image...\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_FALSE(w.status()["panel"].is_null());
    out = w.run("panel cancel\nmenu Wallpaper   >   Keep Wallpaper\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_TRUE(w.defaults("xq.morv.Tidra")["replaceWallpaper"].is_null());

    // A title matching nothing is answered with the ones there are, and the menu stays shut.
    out = w.run("menu Gray\n");
    EXPECT_EQ(w.lastStatus(), 2);
    EXPECT_THAT(out, HasSubstr("the menu has no item \"Gray\""));
    EXPECT_THAT(out, HasSubstr("\n  Wallpaper > Grey\n"));
    EXPECT_THAT(out, HasSubstr("\n  Wallpaper > Custom Image…\n"));
    EXPECT_THAT(out, HasSubstr("\n  Quit Tidra\n"));
    EXPECT_THAT(out, Not(HasSubstr("\n  Wallpaper\n")));
    EXPECT_EQ(w.status()["statusItem"]["menuOpen"], false);
    // A submenu's own title names its items; a wrong path is not guessed at.
    out = w.run("menu Wallpaper\n");
    EXPECT_EQ(w.lastStatus(), 2);
    EXPECT_THAT(out, HasSubstr("\"Wallpaper\" opens a submenu; choose one of:\n"
                               "  Wallpaper > Keep Wallpaper\n"
                               "  Wallpaper > Custom Image…\n"
                               "  Wallpaper > Grey\n"));
    out = w.run("menu Grey > Wallpaper\n");
    EXPECT_EQ(w.lastStatus(), 2);
    EXPECT_THAT(out, HasSubstr("no item \"Grey > Wallpaper\""));
    out = w.run("right-click\nchoose Nothing\n");
    EXPECT_EQ(w.lastStatus(), 2);
    EXPECT_THAT(out, HasSubstr("line 2: choose: the menu has no item \"Nothing\"; it has:\n"));
    EXPECT_THAT(out, HasSubstr("  About Tidra\n"));
}

TEST(FrontendCommands, ATitleInTwoSubmenusNeedsItsPath) {
    auto item = [](const std::string& title) { return std::make_shared<sim::SimMenuItem>(title); };
    auto parent = [&](const std::string& title, std::vector<std::string> children) {
        auto p = item(title);
        p->setSubmenu(std::make_shared<sim::SimMenu>());
        for (const auto& c : children) p->submenu()->entries.push_back(item(c));
        return p;
    };
    sim::SimMenu menu;
    menu.entries = {parent("Wallpaper", {"Grey", "Other…"}), parent("Sound", {"Grey", "Loud"})};
    auto match = sim::findMenuTitle(menu, "Grey");
    EXPECT_EQ(match.item, nullptr);
    EXPECT_EQ(match.error,
              "\"Grey\" names several items; give one of:\n  Wallpaper > Grey\n  "
              "Sound > Grey");
    match = sim::findMenuTitle(menu, "Sound > Grey");
    EXPECT_EQ(match.item, menu.entries[1]->submenu()->entries[0].get());
    EXPECT_EQ(sim::findMenuTitle(menu, " Other... ").item,
              menu.entries[0]->submenu()->entries[1].get());
}

TEST(FrontendCommands, WindowsAreShownWithTheNumberThatClosesThem) {
    SimWorld w;
    std::string out = w.run("popover close\nmenu About Tidra\nstatus\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    // The About window has no title: its number is what `window close` takes.
    EXPECT_THAT(out, HasSubstr("Window 0 (untitled)"));
    EXPECT_THAT(w.frontend().picture(), HasSubstr("`window close 0`"));
    out = w.run("window close\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_EQ(w.status()["windows"][0]["visible"], false);
    EXPECT_THAT(w.frontend().picture(), Not(HasSubstr("window close")));
    out = w.run("window close\n");
    EXPECT_EQ(w.lastStatus(), 2);
    EXPECT_THAT(out, HasSubstr("window: no window is open"));
    // By number as before, once it is open again.
    out = w.run("menu About Tidra\nwindow close 0\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_EQ(w.status()["windows"][0]["visible"], false);
}

TEST(FrontendCommands, TheDiskSeenFromTheOpenPanel) {
    SimWorld w;
    // Without a panel: the home folder. Hidden files stay hidden; ".." stays on the disk.
    std::string out = w.run("ls\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_THAT(out, HasSubstr("/Users/me:\n"));
    EXPECT_THAT(out, HasSubstr("\n  Desktop/\n"));
    EXPECT_THAT(out, HasSubstr("\n  Pictures/\n"));
    EXPECT_THAT(out, Not(HasSubstr(".Trash")));
    out = w.run("ls ../../../..\nls Desktop/Holiday Photos\nls ~/Desktop/todo.txt\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_THAT(out, HasSubstr("\n/:\n  Applications/\n  Library/\n  Users/\n  Volumes/\n"));
    EXPECT_THAT(out, HasSubstr("/Users/me/Desktop/Holiday Photos:\n  beach.jpg\n"));
    EXPECT_THAT(out, HasSubstr("\n/Users/me/Desktop/todo.txt\n"));
    // A link names a Mac path, never one of the host.
    std::filesystem::create_directory_symlink("/Library",
                                              w.mac().disk().real("/Users/me/Documents/Library"));
    out = w.run("ls Documents\nls Documents/Library\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_THAT(out, HasSubstr("/Users/me/Documents:\n  Library/\n  notes.txt\n"));
    EXPECT_THAT(out, HasSubstr("/Users/me/Documents/Library:\n  Desktop Pictures/\n"));
    out = w.run("ls Nowhere\n");
    EXPECT_EQ(w.lastStatus(), 2);
    EXPECT_THAT(out, HasSubstr("ls: no such file or folder: /Users/me/Nowhere"));

    // With the panel open: its folder, for `ls` and for `panel choose`.
    out = w.run("menu Custom Image...\nls\nls Nowhere\n");
    EXPECT_THAT(out, HasSubstr("/Users/me/Pictures:\n  Mountains.jpg\n  Sunset.heic\n"));
    EXPECT_THAT(out, HasSubstr("no such file or folder: /Users/me/Pictures/Nowhere"));
    EXPECT_EQ(w.status()["panel"]["directory"], "/Users/me/Pictures");
    EXPECT_THAT(w.frontend().picture(), HasSubstr("in /Users/me/Pictures  <Cancel> <Choose>"));
    out = w.run("panel choose Missing.jpg\n");
    EXPECT_THAT(out, HasSubstr("no such file: /Users/me/Pictures/Missing.jpg"));
    out = w.run("panel choose Mountains.jpg\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_TRUE(w.status()["panel"].is_null());
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["replaceWallpaper"],
              "~/Library/Application Support/Tidra/Mountains.jpg");
    // An absolute path still works.
    out = w.run("menu Custom Image...\npanel choose ~/Desktop/Holiday Photos/beach.jpg\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["replaceWallpaper"],
              "~/Library/Application Support/Tidra/beach.jpg");
}

TEST(FrontendCommands, StatusAndPictureTellWhatAPersonWouldSee) {
    SimWorld w;
    std::string out = w.run("status\n");
    // The first launch shows the welcome popover; no login item yet.
    EXPECT_THAT(out, HasSubstr("Screen 1 ("));
    EXPECT_THAT(out, HasSubstr("): /Library/Desktop Pictures/Catalina.heic"));
    EXPECT_THAT(out, HasSubstr("Wallpaper when clean: Keep Wallpaper\n"));
    EXPECT_THAT(out, HasSubstr("Login items: none\n"));
    EXPECT_THAT(out, HasSubstr("Notifications: none\n"));
    EXPECT_THAT(out, HasSubstr("Popover (`popover close`):\n"));
    std::string picture = w.frontend().picture();
    EXPECT_THAT(picture, HasSubstr("Catalina.heic\n"));
    EXPECT_THAT(picture, HasSubstr("|  login items: none\n"));
    EXPECT_THAT(picture, HasSubstr("+- popover"));

    out = w.run(
        "popover close\n"
        "menu Launch at Login\n"
        "menu Custom Image...\n"
        "panel choose Mountains.jpg\n"
        "notifications allow\n"
        "click\n"
        "wait 3\n"
        "status\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_THAT(out, HasSubstr("Wallpaper when clean: Custom Image… "
                               "(~/Library/Application Support/Tidra/Mountains.jpg)\n"));
    EXPECT_THAT(out, HasSubstr("Login items:\n  Tidra (/Applications/Tidra.app)"));
    EXPECT_THAT(out, HasSubstr("Notifications:\n  Operation successful: A custom image has been "
                               "set as replacement wallpaper."));
    EXPECT_THAT(out, HasSubstr("): /Users/me/Library/Application Support/Tidra/Mountains.jpg"));
    EXPECT_THAT(out, Not(HasSubstr("Popover")));
    picture = w.frontend().picture();
    EXPECT_THAT(picture, HasSubstr("|  wallpaper when clean: Custom Image… (Mountains.jpg)\n"));
    EXPECT_THAT(picture, HasSubstr("|  login items: Tidra\n"));
    EXPECT_THAT(picture, HasSubstr("|  notification: Operation successful: "));
    EXPECT_THAT(picture, HasSubstr("): Mountains.jpg\n"));
}

TEST(FrontendCommands, WhatTidraOpenedAndWhatRunsShowInStatusAndThePicture) {
    sim::MacOptions options;
    options.systemVersion = OperatingSystemVersion{14, 0, 0};
    SimWorld w(options);
    std::string out = w.run("popover close\napp launch com.apple.iWork.Keynote Keynote\nstatus\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_THAT(out, Not(HasSubstr("Opened by Tidra")));
    EXPECT_THAT(w.frontend().picture(), Not(HasSubstr("opened by Tidra")));
    // Each application that runs, by name, bundle identifier and process number.
    const nlohmann::json apps = w.status()["runningApplications"];
    ASSERT_GE(apps.size(), 3u);
    for (const auto& app : apps)
        EXPECT_THAT(out, HasSubstr("\n  " + app["name"].get<std::string>() + " (" +
                                   app["bundleIdentifier"].get<std::string>() + "), pid " +
                                   std::to_string(app["pid"].get<int>()) + "\n"));
    EXPECT_THAT(out, HasSubstr("Running applications:\n"));
    EXPECT_THAT(out, HasSubstr("  Keynote (com.apple.iWork.Keynote), pid "));
    out = w.run("app quit com.apple.iWork.Keynote\nstatus\n");
    EXPECT_THAT(out, Not(HasSubstr("Keynote (")));

    // The feedback address twice, the store page, and System Settings at Login Items once the
    // user switched Tidra off there.
    out = w.run(
        "menu Send Feedback…\nmenu Send Feedback…\nmenu About Tidra\nabout link\nwindow close\n"
        "menu Launch at Login\napp-service disable\nquit\nlaunch\nmenu Launch at Login\n"
        "status\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    const std::string opened = std::string(kFeedbackAddressPlaceholder) + " (2 times)\n  " +
                               kBrimleStoreAddressPlaceholder +
                               "\n  System Settings › General › Login Items\n";
    EXPECT_THAT(out, HasSubstr("Opened by Tidra:\n  " + opened));
    const std::string picture = w.frontend().picture();
    EXPECT_THAT(picture, HasSubstr(std::string("|  opened by Tidra: ") +
                                   kFeedbackAddressPlaceholder + " (2 times)\n"));
    EXPECT_THAT(picture, HasSubstr(std::string("|  opened by Tidra: ") +
                                   kBrimleStoreAddressPlaceholder + "\n"));
    EXPECT_THAT(picture,
                HasSubstr("|  opened by Tidra: System Settings › General › Login Items\n"));
    // At the prompt too, after each command.
    EXPECT_THAT(w.type("wait 0\n"), HasSubstr("|  opened by Tidra: System Settings"));
}

TEST(FrontendCommands, HelpListsEveryCommandAndTheMarks) {
    SimWorld w;
    std::string out = w.run("help\n");
    // Every command the front end took, each on a line of its own.
    const std::vector<std::string> usages = w.frontend().usages();
    ASSERT_FALSE(usages.empty());
    for (const std::string& usage : usages) EXPECT_THAT(out, HasSubstr("\n  " + usage + "\n"));
    EXPECT_THAT(out, HasSubstr("Marks in the picture:\n  [*] [#] [ ]"));
    EXPECT_EQ(count(out, "Marks in the picture"), 1u);

    // `exit` ends a script there, successfully.
    out = w.run("exit\nclick\n");
    EXPECT_EQ(w.lastStatus(), 0);
    EXPECT_EQ(w.status()["clean"], false);
}

TEST(FrontendCommands, AtThePromptErrorsHaveNoLineNumberAndWaitingRedraws) {
    SimWorld w;
    std::string out = w.type("popover close\nnonsense\nmenu Gray\n");
    EXPECT_THAT(out, HasSubstr("tidra> nonsense: unknown command; try `help`\n"));
    EXPECT_THAT(out, HasSubstr("tidra> menu: the menu has no item \"Gray\""));
    EXPECT_THAT(out, Not(HasSubstr("line ")));

    // Finder quits and comes back during the wait: each change is drawn as it happens, the
    // last one only once.
    out = w.type("click\nwait 5\nexit\nstatus\n");
    EXPECT_THAT(out, HasSubstr("|  Finder is not running\n"));
    EXPECT_THAT(out, HasSubstr("|  desktop: clean\n"));
    EXPECT_LT(out.find("Finder is not running"), out.find("desktop: clean"));
    EXPECT_EQ(count(out, "desktop: clean"), 1u) << out;
    // Nothing after `exit` runs.
    EXPECT_THAT(out, Not(HasSubstr("Clock:")));
    EXPECT_EQ(w.status()["clean"], true);
}

TEST(FrontendCommands, ControlCharactersAreShownEscapedAndJsonStaysExact) {
    SimWorld w;
    const std::string clear = "\x1b[2J", csi =
                                             "\xc2\x9b"
                                             "31m";
    std::ofstream(w.mac().disk().real("/Users/me/Desktop/a" + clear + "b\nc.txt")) << "x";
    std::string out = w.run("popover close\ndisplay add TV" + clear + csi +
                            "\nls Desktop\nstatus\nls Nowhere" + clear + "\n");
    EXPECT_EQ(w.lastStatus(), 2) << out;
    EXPECT_EQ(out.find('\x1b'), std::string::npos) << out;
    EXPECT_EQ(out.find("\xc2\x9b"), std::string::npos) << out;
    EXPECT_THAT(out, HasSubstr("display 2 connected: TV\\e[2J\\u{009B}31m\n"));
    EXPECT_THAT(out, HasSubstr("\n  a\\e[2Jb\\nc.txt\n"));
    EXPECT_THAT(out, HasSubstr("Screen 2 (TV\\e[2J\\u{009B}31m): "));
    EXPECT_THAT(out, HasSubstr("no such file or folder: /Users/me/Nowhere\\e[2J\n"));
    // The picture a person sees at the prompt, too.
    out = w.type("status\n");
    EXPECT_EQ(out.find('\x1b'), std::string::npos) << out;
    EXPECT_THAT(out, HasSubstr("|  screen 2 (TV\\e[2J\\u{009B}31m): "));

    // JSON escapes what it must itself and keeps every name exact.
    out = w.run("status --json\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_EQ(out.find('\x1b'), std::string::npos);
    EXPECT_EQ(out.find("\xc2\x9b"), std::string::npos);
    auto status = nlohmann::json::parse(out.substr(out.find('\n') + 1));
    EXPECT_EQ(status["screens"][1]["name"], "TV" + clear + csi);
}

TEST(FrontendCommands, ABannerLeavesAfterAFewSecondsAndTheNotificationStays) {
    SimWorld w;
    std::string out = w.run(
        "popover close\nmenu Custom Image...\npanel choose Mountains.jpg\n"
        "notifications allow\nwait 1\nstatus\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_THAT(out, HasSubstr("Operation successful: A custom image has been set as replacement "
                               "wallpaper. (banner shown)\n"));
    EXPECT_EQ(w.status()["notifications"][0]["bannerShown"], true);
    out = w.run("wait 5\nstatus\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_THAT(out, HasSubstr("Notifications:\n  Operation successful: A custom image has been "
                               "set as replacement wallpaper.\n"));
    EXPECT_THAT(out, Not(HasSubstr("(banner shown)")));
    EXPECT_THAT(w.frontend().picture(), Not(HasSubstr("(banner shown)")));
    auto notification = w.status()["notifications"][0];
    EXPECT_EQ(notification["presented"], true);
    EXPECT_EQ(notification["bannerShown"], false);
}

TEST(FrontendCommands, ARefusalSaysWhatWouldBeTaken) {
    SimWorld w;
    std::string out =
        w.run("popover close\nmenu Custom Image...\npanel choose ~/Desktop/todo.txt\n");
    EXPECT_EQ(w.lastStatus(), 2);
    EXPECT_THAT(out, HasSubstr("the panel does not accept this type of file: "
                               "/Users/me/Desktop/todo.txt (it takes "));
    EXPECT_THAT(out, HasSubstr("jpg"));
    EXPECT_THAT(out, HasSubstr("png"));

    ASSERT_EQ(w.run("panel cancel\n"), "> panel cancel\n");
    for (const char* command : {"menu Grey", "click", "right-click"}) {
        out = w.run(std::string("quit\n") + command + "\n");
        EXPECT_EQ(w.lastStatus(), 2) << out;
        EXPECT_THAT(out, HasSubstr("line 2: " + std::string(command).substr(0, 4)));
        EXPECT_THAT(out, HasSubstr("Tidra is not running; `launch` starts it again\n"));
        w.run("launch\n");
    }

    // Each says what is wrong and what is taken.
    out = w.run("wait 99999999999\n");
    EXPECT_THAT(out, HasSubstr("from 0 up to 10000000"));
    out = w.run("screenshot ''\n");
    EXPECT_THAT(out, HasSubstr("the file name is empty: give one (FILE.png)"));
    w.run("wait 9999999\n");
    EXPECT_THAT(w.run("status\n"), HasSubstr("Clock: 9999999 s\n"));
    // An application that runs already comes forward; no second copy starts.
    EXPECT_THAT(w.run("app launch com.apple.Safari Safari\n"),
                HasSubstr("com.apple.Safari is running already: it comes forward"));
    int safaris = 0;
    const nlohmann::json running = w.status()["runningApplications"];
    for (const auto& app : running) safaris += app["bundleIdentifier"] == "com.apple.Safari";
    EXPECT_EQ(safaris, 1);
    // A by-hand picture on a screen that refuses Tidra is the user's, and said to be so.
    out = w.run("screen fail 1 on\nwallpaper set 1 /Users/me/Pictures/Mountains.jpg\n");
    EXPECT_EQ(w.lastStatus(), 0) << out;
    EXPECT_THAT(out, HasSubstr("screen 1 now shows /Users/me/Pictures/Mountains.jpg; its "
                               "`screen fail` switch refuses only Tidra's changes"));
}

TEST(FrontendCommands, AFolderThatTakesNoFilesIsNamedForWhatItIs) {
    const std::string command =
        std::string(TIDRA_BINARY) + " --mac /proc/self --script /dev/null 2>&1 >/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string said;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) said += buffer;
    EXPECT_NE(::pclose(pipe), 0);
    EXPECT_EQ(said,
              "tidra: --mac /proc/self: no file can be made in that folder (No such file or "
              "directory); give a folder you can write to\n");
}

}  // namespace
}  // namespace tidra
