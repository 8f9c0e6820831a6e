// The simulated Mac runs on the user's own machine: whatever a script says, it stays inside its
// folder, keeps every file whole, and shares the folder with no second process.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <tuple>

#include "app/class_registry.h"
#include "frontend/command_line.h"
#include "platform/notifications.h"
#include "sim/formats/plist_value.h"
#include "sim_world.h"
#include "test_files.h"
#include "test_folder.h"

namespace tidra::testing {
namespace {

namespace fs = std::filesystem;

// Every file below `root`, with its contents: what a run must leave as it was.
std::map<std::string, std::string> snapshot(const fs::path& root) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(root))
        out[e.path().string()] = e.is_regular_file() ? readBytes(e.path()) : "<not a file>";
    return out;
}

std::vector<std::string> temporaryFiles(const fs::path& root) {
    std::vector<std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.path().filename().string().find(".sim-tmp-") != std::string::npos)
            out.push_back(e.path().string());
    return out;
}

TEST(DiskSafety, NoPathAndNoLinkLeadsOutOfTheDisk) {
    const fs::path host = freshTestFolder("host");
    writeBytes(host / "victim.plist", "the host's own text");
    writeBytes(host / "pictures/mine.jpg", "a host picture");
    const auto hostBefore = snapshot(host);

    sim::MacOptions options;
    options.root = freshTestFolder("mac").string();
    // The user's Preferences folder is a link to a folder of the host.
    fs::create_directories(fs::path(options.root) / "Users/me/Library");
    fs::create_directory_symlink(host, fs::path(options.root) / "Users/me/Library/Preferences");
    SimWorld world(options);
    const fs::path root = world.mac().disk().root();
    const std::string hostPath = host.string();
    std::string climb;
    for (int i = 0; i < 40; ++i) climb += "../";

    std::string out =
        world.run("defaults write " + hostPath + "/abs key -string v\n" + "defaults write " +
                  climb + hostPath.substr(1) + "/rel key -string v\n" + "defaults read " +
                  hostPath + "/victim\n" + "defaults write com.example k -bool true\n");
    EXPECT_EQ(world.lastStatus(), 0) << out;
    // A domain given as a path is a file of the simulated disk, as "/tmp/x" is on a Mac.
    EXPECT_TRUE(fs::exists(root / hostPath.substr(1) / "abs.plist"));
    EXPECT_TRUE(fs::exists(root / hostPath.substr(1) / "rel.plist"));
    // Through the link, the Preferences folder resolves inside the disk too.
    EXPECT_TRUE(fs::exists(root / hostPath.substr(1) / "com.example.plist"));

    // Links of every kind, through the file manager and the disk's own writes.
    sim::Disk& disk = world.mac().disk();
    const std::string support = disk.home() + "/Library/Application Support/Tidra";
    fs::create_directories(disk.real(disk.home() + "/Library/Application Support"));
    fs::create_directory_symlink(host / "pictures", disk.realOfLink(support));
    fs::create_directory_symlink(climb + hostPath.substr(1), disk.real(disk.home() + "/Up"));
    fs::create_symlink("loop", disk.real(disk.home() + "/loop"));
    FileManager& files = world.mac().simFileManager();
    EXPECT_FALSE(files.removeItemAtPath(support + "/mine.jpg", nullptr));
    EXPECT_FALSE(files.copyItemAtPath(disk.home() + "/Documents/notes.txt", support + "/copied.jpg",
                                      nullptr));
    EXPECT_FALSE(disk.writeFile(disk.home() + "/Up/pictures/up.jpg", "x"));
    EXPECT_TRUE(disk.writeFile(disk.home() + "/loop/x", "x"));
    EXPECT_EQ(disk.resolve(disk.home() + "/Up/../../.."), "/");
    // The link itself can go; what it points to stays.
    EXPECT_TRUE(files.removeItemAtPath(support, nullptr));
    EXPECT_TRUE(fs::exists(root / hostPath.substr(1) / "pictures/up.jpg"));

    world.run("quit\n");
    EXPECT_EQ(snapshot(host), hostBefore);
}

TEST(DiskSafety, TheMacNeedsAFolderOfItsOwnAndOneProcessAtATime) {
    for (const std::string& bad : {std::string(), std::string("/"), std::string("//")}) {
        sim::MacOptions options;
        options.root = bad;
        EXPECT_THROW(sim::Mac{options}, sim::MacFolderError) << bad;
    }
    const fs::path file = freshTestFolder("file") / "plain";
    writeBytes(file, "not a folder");
    sim::MacOptions onFile;
    onFile.root = file.string();
    try {
        sim::Mac mac(onFile);
        ADD_FAILURE() << "a Mac on a file";
    } catch (const sim::MacFolderError& e) {
        EXPECT_EQ(std::string(e.what()), "--mac " + file.string() + " is not a folder");
    }
    EXPECT_EQ(readBytes(file), "not a folder");

    SimWorld first;
    const fs::path root = first.mac().disk().root();
    first.run("defaults write xq.morv.Tidra k -int 1\n");
    const auto before = snapshot(root);
    sim::MacOptions same;
    same.root = root.string();
    try {
        sim::Mac second(same);
        ADD_FAILURE() << "two Macs on one folder";
    } catch (const sim::MacFolderError& e) {
        EXPECT_EQ(std::string(e.what()), "the simulated Mac in " + root.string() +
                                             " is in use by process " + std::to_string(::getpid()));
    }
    // Another process is refused alike, with one line and status 2, and changes nothing.
    const fs::path err = freshTestFolder("stderr") / "err";
    const std::string command = std::string(TIDRA_BINARY) + " --mac '" + root.string() +
                                "' --script /dev/null 2>'" + err.string() + "'";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_EQ(readBytes(err), "tidra: the simulated Mac in " + root.string() +
                                  " is in use by process " + std::to_string(::getpid()) + "\n");
    EXPECT_EQ(snapshot(root), before);

    // A lock left by a process that has ended blocks nothing.
    first.restartMac();
    EXPECT_EQ(first.run("defaults read xq.morv.Tidra k\n"), "> defaults read xq.morv.Tidra k\n1\n");
}

TEST(DiskSafety, AFullDiskLeavesEveryFileWholeAndSaysSo) {
    SimWorld world;
    sim::Disk& disk = world.mac().disk();
    const fs::path root = disk.root();
    world.run(
        "defaults write xq.morv.Tidra k -string old\n"
        "login-items add Mail /Applications/Mail.app\n"
        "display add Studio\n"
        "wait 2\n");
    ASSERT_EQ(world.lastStatus(), 0);
    const fs::path prefs = root / "Users/me/Library/Preferences";
    const std::string tidraBefore = readBytes(prefs / "xq.morv.Tidra.plist");
    const std::string itemsBefore = readBytes(prefs / "com.apple.loginitems.plist");
    const std::string displaysBefore =
        readBytes(root / "Library/Preferences/com.apple.windowserver.displays.plist");

    disk.setWriteFailure(std::make_error_code(std::errc::no_space_on_device));
    std::string out = world.run("defaults write xq.morv.Tidra k -string new\n");
    EXPECT_EQ(world.lastStatus(), 2);
    EXPECT_NE(out.find("defaults: could not store the change"), std::string::npos) << out;
    EXPECT_FALSE(world.mac().prefs().standardUserDefaults().synchronize());
    // A login item that cannot be stored is not made, neither on disk nor in System Events.
    out = world.run("login-items add Notes /Applications/Notes.app\n");
    EXPECT_EQ(world.lastStatus(), 2);
    EXPECT_NE(out.find("could not store the login items"), std::string::npos) << out;
    sim::SimSystemEvents& events = world.mac().systemEvents();
    EXPECT_EQ(events.loginItems().size(), 1u);
    EXPECT_EQ(events.deleteLoginItem("Mail"), sim::SimSystemEvents::Deletion::NotStored);
    ASSERT_EQ(events.loginItems().size(), 1u);
    EXPECT_EQ(events.loginItems()[0].name, "Mail");
    world.run("display add Side\nwait 2\n");
    const auto log = world.mac().console().lines();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(),
              "Could not write preferences file "
              "/Users/me/Library/Preferences/xq.morv.Tidra.plist: No space left on "
              "device");
    EXPECT_EQ(readBytes(prefs / "xq.morv.Tidra.plist"), tidraBefore);
    EXPECT_EQ(readBytes(prefs / "com.apple.loginitems.plist"), itemsBefore);
    EXPECT_EQ(readBytes(root / "Library/Preferences/com.apple.windowserver.displays.plist"),
              displaysBefore);
    EXPECT_TRUE(temporaryFiles(root).empty());

    // Room again: what the store still holds reaches the disk.
    disk.setWriteFailure({});
    EXPECT_TRUE(world.mac().prefs().standardUserDefaults().synchronize());
    EXPECT_EQ(sim::parsePlist(Data(tidraBefore.begin(), tidraBefore.end()))[Value("k")],
              Value("old"));
    const std::string after = readBytes(prefs / "xq.morv.Tidra.plist");
    EXPECT_EQ(sim::parsePlist(Data(after.begin(), after.end()))[Value("k")], Value("new"));

    // Writes a killed process left unfinished are cleared at the next start, nothing else.
    writeBytes(prefs / ".xq.morv.Tidra.plist.sim-tmp-Ab12Cd", "half");
    writeBytes(prefs / "com.apple.finder.plist.tmp-x1y2z3", "half");
    writeBytes(root / ".sim-tmp-notes", "the user's");
    world.restartMac();
    EXPECT_FALSE(fs::exists(prefs / ".xq.morv.Tidra.plist.sim-tmp-Ab12Cd"));
    EXPECT_FALSE(fs::exists(prefs / "com.apple.finder.plist.tmp-x1y2z3"));
    EXPECT_TRUE(fs::exists(root / ".sim-tmp-notes"));
}

// Runs `tidra --mac ROOT` on an empty script: its exit status and what it wrote to stderr.
std::pair<int, std::string> runTidraOn(const fs::path& root) {
    const fs::path err = freshTestFolder("stderr") / "err";
    const std::string command = std::string(TIDRA_BINARY) + " --mac '" + root.string() +
                                "' --script /dev/null >/dev/null 2>'" + err.string() + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readBytes(err)};
}

TEST(DiskSafety, TheLockAndTheMacsRecordAreNeverOpenedThroughALink) {
    const fs::path elsewhere = freshTestFolder("elsewhere");
    const fs::path precious = elsewhere / "precious.txt";
    writeBytes(precious, "the user's own words\n");
    for (const char* name : {".simulated-mac.lock", ".simulated-mac.plist"}) {
        SCOPED_TRACE(name);
        // A link to a file of the user's, and a dangling one.
        const fs::path root = freshTestFolder("mac");
        fs::create_symlink(precious, root / name);
        auto [status, err] = runTidraOn(root);
        EXPECT_EQ(status, 2);
        EXPECT_EQ(err, "tidra: --mac " + root.string() + ": " + name +
                           " is a symbolic link; the simulated Mac does not open its files "
                           "through links\n");
        EXPECT_EQ(readBytes(precious), "the user's own words\n");

        const fs::path dangling = freshTestFolder("mac");
        fs::create_symlink(elsewhere / "made.txt", dangling / name);
        std::tie(status, err) = runTidraOn(dangling);
        EXPECT_EQ(status, 2);
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_FALSE(fs::exists(elsewhere / "made.txt"));

        sim::MacOptions options;
        options.root = root.string();
        EXPECT_THROW(sim::Mac{options}, sim::MacFolderError);
    }
    // A second name of the user's file is no lock either: it would be emptied.
    const fs::path hard = freshTestFolder("mac");
    fs::create_hard_link(precious, hard / ".simulated-mac.lock");
    EXPECT_EQ(runTidraOn(hard).first, 2);
    EXPECT_EQ(readBytes(precious), "the user's own words\n");
}

TEST(DiskSafety, ANewMacAmongOtherFilesIsSaidOnce) {
    const fs::path root = freshTestFolder("mac");
    writeBytes(root / "thesis.tex", "\\chapter{One}\n");
    sim::MacOptions options;
    options.root = root.string();
    options.bundleIn = "applications";
    options.tidraProgram = makeTidraClasses;
    auto launchOnce = [&] {
        sim::Mac mac(options);
        std::ostringstream out;
        sim::Frontend frontend(mac, out);
        std::istringstream none;
        frontend.attach(none, false);
        frontend.launch();
        return out.str();
    };
    EXPECT_EQ(launchOnce(), "A new simulated Mac is laid out in " + root.string() +
                                ", among the files the folder already held.\n");
    EXPECT_EQ(launchOnce(), "");
    EXPECT_EQ(readBytes(root / "thesis.tex"), "\\chapter{One}\n");
    // An empty folder is simply a new Mac.
    options.root = freshTestFolder("empty").string();
    EXPECT_EQ(launchOnce(), "");
}

TEST(DiskSafety, ANewMacIsLaidOutOnceAndTheUsersFilesStay) {
    SimWorld world;
    const fs::path root = world.mac().disk().root();
    const fs::path home = root / "Users/me";
    ASSERT_EQ(readBytes(home / "Documents/notes.txt"), "Meeting notes\n");
    writeBytes(home / "Documents/notes.txt", "my own notes");
    fs::remove(home / "Desktop/todo.txt");
    world.run("quit\n");
    fs::remove_all(home / "Library/Preferences");
    fs::remove_all(home / "Pictures");
    world.restartMac();
    EXPECT_EQ(readBytes(home / "Documents/notes.txt"), "my own notes");
    EXPECT_FALSE(fs::exists(home / "Desktop/todo.txt"));
    EXPECT_TRUE(fs::is_directory(home / "Library/Preferences"));
    EXPECT_TRUE(fs::is_directory(home / "Pictures"));
    EXPECT_FALSE(fs::exists(home / "Pictures/Mountains.jpg"));
}

TEST(DiskSafety, BadBytesAndSizesGetAMessageNeverACrash) {
    SimWorld world;
    std::string out = world.run("display add \xff\xfeTV\nstatus --json\n");
    ASSERT_EQ(world.lastStatus(), 0) << out;
    const std::string json = out.substr(out.find("\n{") + 1);
    auto status = nlohmann::json::parse(json);
    bool shown = false;
    for (const auto& screen : status["screens"])
        shown |= screen.dump().find("\xEF\xBF\xBD\xEF\xBF\xBDTV") != std::string::npos;
    EXPECT_TRUE(shown) << json;

    out = world.run("defaults write xq.morv.Tidra k -string caf\xe9\n");
    EXPECT_EQ(world.lastStatus(), 2);
    EXPECT_NE(out.find("-string takes UTF-8 text"), std::string::npos) << out;
    EXPECT_TRUE(world.mac().prefs().domainSnapshot("xq.morv.Tidra")[Value("k")].isNil());

    // One line of 80,000 words is split in time linear in its length; one over 1 MiB is refused.
    std::string words = "login-items add";
    for (int i = 0; i < 80000; ++i) words += " a";
    out = world.run(words + "\n");
    EXPECT_EQ(world.lastStatus(), 2);
    EXPECT_NE(out.find("expected: login-items add NAME PATH"), std::string::npos);
    out = world.run("# " + std::string(sim::kMaxCommandLineBytes, 'x') + "\nstatus\n");
    EXPECT_EQ(world.lastStatus(), 2);
    EXPECT_NE(out.find("line 1: ?: line longer than 1048576 bytes"), std::string::npos);

    // The Preferences folder replaced by a file: writes fail with a message, nothing ends.
    const fs::path prefs = fs::path(world.mac().disk().root()) / "Users/me/Library/Preferences";
    fs::remove_all(prefs);
    writeBytes(prefs, "a file");
    out = world.run("defaults write com.example k -bool true\n");
    EXPECT_EQ(world.lastStatus(), 2);
    EXPECT_NE(out.find("could not store the change"), std::string::npos) << out;
    world.restartMac();
    EXPECT_EQ(readBytes(prefs), "a file");
}

TEST(DiskSafety, EveryDomainReachesTheDiskWithinASecondSynchronisedOrNot) {
    SimWorld world;
    const fs::path finder =
        fs::path(world.mac().disk().root()) / "Users/me/Library/Preferences/com.apple.finder.plist";
    world.run("click\nwait 1\n");
    ASSERT_EQ(world.lastStatus(), 0);
    // Finder's domain is never synchronised by Tidra; the daemon writes it all the same.
    const std::string bytes = readBytes(finder);
    EXPECT_EQ(sim::parsePlist(Data(bytes.begin(), bytes.end()))[Value("CreateDesktop")],
              Value(false));
}

struct Listener : Object {
    std::vector<std::string> heard;
    bool performNotification(const std::string& selector, const Notification& note) override {
        heard.push_back(selector + note.name);
        return true;
    }
};

TEST(NoKinderThanAMac, DistributedNotificationsWaitForAnInactiveApplication) {
    SimWorld world;
    ASSERT_FALSE(world.mac().application()->isActive());
    sim::SimNotificationCenter& center = world.mac().distributed();
    Listener coalesced, held, dropped, immediate;
    center.addObserver(&coalesced, "c:", std::string("N"), nullptr,
                       NotificationSuspensionBehavior::Coalesce);
    center.addObserver(&held, "h:", std::string("N"), nullptr,
                       NotificationSuspensionBehavior::Hold);
    center.addObserver(&dropped, "d:", std::string("N"), nullptr,
                       NotificationSuspensionBehavior::Drop);
    center.addObserver(&immediate, "i:", std::nullopt, nullptr,
                       NotificationSuspensionBehavior::DeliverImmediately);
    center.post("N");
    center.post("N");
    world.mac().settle();
    EXPECT_TRUE(coalesced.heard.empty());
    EXPECT_TRUE(held.heard.empty());
    EXPECT_EQ(immediate.heard, (std::vector<std::string>{"i:N", "i:N"}));
    world.mac().application()->activateIgnoringOtherApps(true);
    world.mac().settle();
    EXPECT_EQ(coalesced.heard, std::vector<std::string>{"c:N"});
    EXPECT_EQ(held.heard, (std::vector<std::string>{"h:N", "h:N"}));
    EXPECT_TRUE(dropped.heard.empty());
    for (Listener* l : {&coalesced, &held, &dropped, &immediate})
        center.removeObserver(l, std::nullopt, nullptr);

    // Tidra, never active, still follows the theme at once: it asked for immediate delivery.
    SimWorld agent;
    ASSERT_FALSE(agent.mac().application()->isActive());
    agent.run("theme dark\n");
    EXPECT_EQ(agent.status()["statusItem"]["image"], "statusIconDirtyDark");
}

TEST(NoKinderThanAMac, AClickOnAnItemWithAMenuOpensItAndSendsNoAction) {
    SimWorld world;
    auto item = world.mac().statusItem();
    ASSERT_TRUE(item);
    // As if the step that detaches the menu after a right click had failed.
    item->setMenu(world.mac().statusMenu().get());
    // `dismiss` is refused unless the click opened the menu.
    std::string out = world.run("click\ndismiss\nwait 5\n");
    EXPECT_EQ(world.lastStatus(), 0) << out;
    EXPECT_EQ(world.defaults("com.apple.finder").count("CreateDesktop"), 0u) << out;
}

}  // namespace
}  // namespace tidra::testing
